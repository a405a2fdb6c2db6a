#include "cli/csv.h"

namespace vardelmo::cli {

namespace {

void appendField(std::string& record, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        record += field;
        return;
    }
    record += '"';
    for (const char c : field) {
        if (c == '"') {
            record += '"';
        }
        record += c;
    }
    record += '"';
}

}  // namespace

std::string csvRecord(const std::vector<std::string_view>& fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            record += ',';
        }
        appendField(record, fields[i]);
    }
    return record + "\r\n";
}

}  // namespace vardelmo::cli
