#include "cli/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace vardelmo::cli {

namespace {

QStringList folders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program + "/translations", program + "/../share/vardelmo/translations",
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

// The translation named `name` for Brazilian Portuguese from the first folder holding it.
bool install(const QString& name) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder : folders()) {
        if (translator->load(name + "_pt_BR", folder) &&
            QCoreApplication::installTranslator(translator)) {
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace

bool portugueseAsked() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return value == "pt" || value.startsWith("pt_") || value.startsWith("pt.") ||
                   value.startsWith("pt@");
        }
    }
    return QLocale::system().language() == QLocale::Portuguese;
}

bool installPortuguese(bool commandLine) {
    const bool qt = install("qtbase");
    return (commandLine ? install("vardelmo") : true) && qt;
}

}  // namespace vardelmo::cli
