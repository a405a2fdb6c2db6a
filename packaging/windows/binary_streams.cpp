// Linked into vardelmo.exe and vardelmo.com only. The C run-time on Windows opens the standard
// streams in text mode, which writes every "\n" as "\r\n": "--query --raw" would no longer
// write the reply's bytes unchanged, nor "--hex" the same line as elsewhere. Binary mode is set
// before main() runs, so the program's own code stays the same on every system.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

const bool binaryStreams = [] {
    return _setmode(_fileno(stdout), _O_BINARY) != -1 && _setmode(_fileno(stderr), _O_BINARY) != -1;
}();

}  // namespace
