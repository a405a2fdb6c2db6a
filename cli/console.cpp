#include "cli/console.h"

#include <cstdio>

namespace vardelmo::cli {

bool writeOutput(std::string_view bytes) {
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 && written == bytes.size();
}

void writeErrorLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace vardelmo::cli
