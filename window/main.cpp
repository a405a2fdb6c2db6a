#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "window/form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.vardelmo.Vardelmo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.vardelmo.Vardelmo")));
    // Qt has taken its own options (-platform, -style, ...) by now. Everything
    // else the operator types into the window; a port given here would be
    // silently ignored, so say so instead.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        std::fprintf(stderr,
                     "vardelmo: takes no arguments (got '%s'); type the port, settings and wait "
                     "into the window\n",
                     qUtf8Printable(args.at(1)));
        return 2;
    }
    vardelmo::window::Form1 form;
    form.show();
    return QApplication::exec();
}
