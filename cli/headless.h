#pragma once

#include "cli/command_line.h"
#include "cli/exit_status.h"

namespace vardelmo::cli {

// Everything the command line may ask for except the window: a refusal, the help, the
// version, the ports, one request, a watch, or the settings search.
// Needs a QCoreApplication and never creates a window, so it runs without a display.
int runHeadless(const CommandLine& command);

// Whether a window can open: on Linux a display (DISPLAY or WAYLAND_DISPLAY) or a platform of
// Qt's chosen (QT_QPA_PLATFORM, -platform). Asked before any application object exists.
bool windowCanOpen(const QStringList& arguments);

// Reports `command.usageError` and returns kBadUsage.
int refuseUsage(const CommandLine& command);

}  // namespace vardelmo::cli
