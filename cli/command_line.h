#pragma once

#include <QString>
#include <QStringList>

#include "query/field_texts.h"

namespace vardelmo::cli {

// What the command line asks for. Parsing needs no application object, so the
// program can choose between a window and none before it creates one.
struct CommandLine {
    enum class Mode { Window, Query, Help, Version };
    enum class Output { Spelled, Raw, Hex };

    Mode mode = Mode::Window;
    Output output = Output::Spelled;
    // The fields given, the initial texts for the others.
    query::FieldTexts fields;
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
