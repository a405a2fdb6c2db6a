#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "query/field_texts.h"

namespace vardelmo::cli {

// What the command line asks for. Parsing needs no application object, so the
// program can choose between a window and none before it creates one.
struct CommandLine {
    enum class Mode { Window, Query, Find, Watch, List, Help, Version };
    enum class Output { Spelled, Raw, Hex, Reading, Json };

    Mode mode = Mode::Window;
    Output output = Output::Spelled;
    // The fields given, the initial texts for the others. For --find the wait is the bound
    // of each try, 600 ms unless given.
    query::FieldTexts fields;
    // The bytes every request sends: the enquiry, until a command line gives others.
    std::string request{query::kEnquiry};
    bool all = false;                      // --find: every candidate, not only the first
    std::chrono::milliseconds every{500};  // --watch: start to start
    std::uint64_t count = 0;               // --watch: requests, 0 for no end
    // --until: read until the reply reads or this bound passes, instead of the fixed wait.
    std::optional<std::chrono::milliseconds> until;
    // Set when the line is refused: one line saying why.
    QString usageError;
    // The refusal is only for options typed as single-dash words, as Qt's own
    // window options are (-platform, -style, ...): those stay in the arguments
    // until a QApplication takes them out.
    bool mayBeQtOptions = false;
};

// `arguments` starts with the program's name, as QCoreApplication::arguments() does.
CommandLine readCommandLine(const QStringList& arguments);

// Needs a QCoreApplication: the usage line names the program as it was started.
QString helpText();

}  // namespace vardelmo::cli
