#pragma once

#include <string>

#include "cli/console.h"
#include "cli/exchange.h"
#include "query/watch_summary.h"

namespace vardelmo::cli {

// The program's own lines on standard error, each after the one prefix "vardelmo: ".

// "vardelmo: Não foi possível abrir a porta ...": the box's text, without the window's title.
std::string failureLine(const query::FailureReport& failure);

// "vardelmo: sem resposta em 300 ms na porta 5 (/dev/ttyS4)".
std::string silenceLine(const Exchange& exchange);

// "vardelmo: formato desconhecido em 9600,n,8,1: <STX>W 1.234 kg<CR>": the settings search
// found settings at which the scale sends frames of a family the tool does not know.
std::string unknownFamilyLine(const std::string& config, const std::string& reply);

// Standard output could not take what was written.
std::string unwrittenLine();

// "3 pedidos, 1 leitura, 2 sem resposta, 0 falhas; peso de 1,234 a 1,250 kg." as a watch ends.
std::string watchSummary(const query::WatchFigures& figures, const std::string& unit);

// What a failure, a silence or neither in `exchange` writes on standard error, if anything.
void reportOnError(const Exchange& exchange, Streams& streams);

}  // namespace vardelmo::cli
