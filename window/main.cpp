#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

#include "cli/command_line.h"
#include "cli/headless.h"
#include "cli/translations.h"
#include "window/form1.h"

namespace {

// The arguments as QCoreApplication would give them, read before any application object exists.
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace

int main(int argc, char* argv[]) {
    using vardelmo::cli::CommandLine;
    // Only the window needs a display: everything else runs under a QCoreApplication, so that it
    // works over SSH and in scripts. Unknown single-dash words may be Qt's window options, which
    // only a QApplication takes out; then the window's start decides.
    // Without a display a QApplication would abort the program: refuse the window instead.
    const QStringList arguments = argumentsOf(argc, argv);
    const CommandLine first = vardelmo::cli::readCommandLine(arguments);
    if (first.mode != CommandLine::Mode::Window ||
        (!first.usageError.isEmpty() && !first.mayBeQtOptions) ||
        !vardelmo::cli::windowCanOpen(arguments)) {
        QCoreApplication app(argc, argv);
        if (vardelmo::cli::portugueseAsked()) {
            (void)vardelmo::cli::installPortuguese(true);
        }
        return vardelmo::cli::runHeadless(
            vardelmo::cli::readCommandLine(QCoreApplication::arguments()));
    }

    QApplication app(argc, argv);
    const bool portuguese = vardelmo::cli::portugueseAsked();
    if (portuguese) {
        (void)vardelmo::cli::installPortuguese(true);
    }
    const CommandLine command = vardelmo::cli::readCommandLine(QApplication::arguments());
    if (!command.usageError.isEmpty()) {
        return vardelmo::cli::refuseUsage(command);
    }
    // The window speaks Portuguese whatever the locale: so do the menus Qt draws in it.
    if (!portuguese) {
        (void)vardelmo::cli::installPortuguese(false);
    }
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("io.github.vardelmo.Vardelmo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.vardelmo.Vardelmo")));
    vardelmo::window::Form1 form;
    form.fillFields(command.fields);
    form.show();
    return QApplication::exec();
}
