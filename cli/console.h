#pragma once

#include <string_view>

namespace vardelmo::cli {

// The program's only writers to its standard streams. A platform where a
// windowed program must first attach to its console changes only these.

// Writes the bytes unchanged; false when they could not all be written.
bool writeOutput(std::string_view bytes);

// Writes one line to standard error, adding the newline.
void writeErrorLine(std::string_view line);

// The two streams as the output forms see them, so that a test reads what they write.
class Streams {
public:
    virtual ~Streams() = default;
    virtual bool out(std::string_view bytes) = 0;     // false when not all could be written
    virtual void errLine(std::string_view line) = 0;  // adds the newline
};

// The process's own standard output and error.
Streams& consoleStreams();

}  // namespace vardelmo::cli
