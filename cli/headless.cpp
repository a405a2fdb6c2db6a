#include "cli/headless.h"

#include <string>

#include "cli/console.h"
#include "cli/query_mode.h"
#include "cli/settings_finder.h"
#include "cli/texts.h"
#include "cli/version.h"
#include "cli/watch_mode.h"
#include "serial/platform.h"

namespace vardelmo::cli {

namespace {

bool writeText(const QString& text) {
    return writeOutput(text.toStdString());
}

}  // namespace

bool windowCanOpen(const QStringList& arguments) {
    if (serial::hostPlatform() == serial::Platform::Windows) {
        return true;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || arguments.contains("-platform");
}

int refuseUsage(const CommandLine& command) {
    writeErrorLine("vardelmo: " + command.usageError.toStdString());
    writeErrorLine(Texts::tr("Try 'vardelmo --help'.").toStdString());
    return kBadUsage;
}

int runHeadless(const CommandLine& command) {
    if (!command.usageError.isEmpty()) {
        return refuseUsage(command);
    }
    switch (command.mode) {
        case CommandLine::Mode::Query:
            return runQuery(command);
        case CommandLine::Mode::Find:
            return runFind(command);
        case CommandLine::Mode::Watch:
            return runWatch(command);
        case CommandLine::Mode::List:
            return runList();
        case CommandLine::Mode::Help:
            return writeText(helpText()) ? kSucceeded : kFailed;
        case CommandLine::Mode::Version:
            return writeOutput(std::string("vardelmo ") + kVersion + '\n') ? kSucceeded : kFailed;
        case CommandLine::Mode::Window:
            break;
    }
    // Here only when no window can open: say so rather than let Qt abort.
    writeErrorLine("vardelmo: " + Texts::tr("no display (DISPLAY): use --query").toStdString());
    writeErrorLine(Texts::tr("Try 'vardelmo --help'.").toStdString());
    return kBadUsage;
}

}  // namespace vardelmo::cli
