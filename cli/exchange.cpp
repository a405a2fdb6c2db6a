#include "cli/exchange.h"

namespace vardelmo::cli {

Exchange exchangeOf(std::string port, std::optional<std::string> config, std::string wait,
                    std::string request, const query::Outcome& outcome) {
    Exchange exchange{std::move(port),
                      std::move(config),
                      std::move(wait),
                      std::move(request),
                      outcome.display,
                      outcome.failure,
                      {}};
    exchange.decoded = reading::decode(exchange.reply.value_or(std::string{}));
    return exchange;
}

}  // namespace vardelmo::cli
