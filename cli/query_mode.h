#pragma once

#include <QJsonObject>
#include <string>

#include "cli/command_line.h"
#include "query/weight_request.h"

namespace vardelmo::cli {

// --query: one request, its reply on standard output in the asked form.
int runQuery(const CommandLine& command);

// What --query writes of a request that did not fail, and its exit status: the reply in the
// asked form, or for --reading a reply that does not decode, nothing (the reason goes to
// standard error).
struct Printed {
    std::string out;
    std::string err;
    int status;
};
Printed printReply(const std::string& reply, const CommandLine& command);

// The JSON object of one request: the texts used, then the reply or the failure.
QJsonObject requestObject(const query::FieldTexts& fields, const query::Outcome& outcome);

}  // namespace vardelmo::cli
