#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vardelmo::cli {

// One record of comma-separated values as RFC 4180 writes it: a field that holds a comma, a
// double quote, a CR or an LF stands in double quotes, its quotes doubled; every other field
// stands as it is. The record ends with CRLF, the line break the RFC and spreadsheets expect.
std::string csvRecord(const std::vector<std::string_view>& fields);

}  // namespace vardelmo::cli
