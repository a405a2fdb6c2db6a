#include "query/settings_search.h"

#include <algorithm>
#include <array>

#include "query/conversions.h"
#include "query/field_texts.h"
#include "query/read_until.h"
#include "serial/port_name.h"

namespace vardelmo::query {

namespace {

constexpr std::array<std::string_view, 14> kCandidates{
    "2400,n,8,1", "9600,n,8,1", "4800,n,8,1", "19200,n,8,1", "1200,n,8,1",
    "9600,e,7,1", "4800,e,7,1", "2400,e,7,1", "9600,o,7,1",  "4800,o,7,1",
    "2400,o,7,1", "9600,n,8,2", "4800,n,8,2", "2400,n,8,2"};

}  // namespace

std::span<const std::string_view> searchCandidates() {
    return kCandidates;
}

bool SearchResult::found() const {
    return std::any_of(tries.begin(), tries.end(), [](const SearchTry& t) { return t.recognized; });
}

SearchResult searchSettings(const SearchPlan& plan, serial::SerialLine& line,
                            Interruption& interruption, const Recognizes& recognizes,
                            const SearchEvents& events, const SteadyNow& now) {
    SearchResult result;
    const auto bound = convertWait(plan.wait);
    if (!bound) {
        result.failure = FailureReport{bound.description()};
        return result;
    }
    // Through a raw socket every candidate would read the same: the server's own line.
    if (const auto port = convertPort(plan.port); port) {
        const auto* address = std::get_if<serial::NetworkAddress>(&port.value());
        if (address != nullptr && address->scheme == serial::NetworkScheme::Socket) {
            result.failure = FailureReport{
                "Não é possível descobrir a configuração pela " + serial::portLabel(port.value()) +
                ": por um socket vale a configuração do próprio servidor; use rfc2217:// se ele "
                "falar RFC 2217."};
            return result;
        }
    }
    for (const std::string_view config : searchCandidates()) {
        events.onStart(config);
        // The bound stands for the wait: a try reads until it, or until a reply is recognized.
        FieldTexts fields;
        fields.portText = plan.port;
        fields.configText = config;
        const Outcome outcome = runRequestUntil(fields, line, interruption, recognizes,
                                                bound.value(), now, plan.request);
        if (interruption.interrupted()) {
            result.interrupted = true;
            return result;
        }
        if (outcome.failure) {
            result.failure = outcome.failure;
            return result;
        }
        SearchTry done{std::string(config), outcome.display.value_or(std::string{}), false};
        done.recognized = recognizes(done.reply);
        result.tries.push_back(done);
        events.onTry(done);
        if (done.recognized && !plan.all) {
            break;
        }
    }
    return result;
}

const SearchTry* unknownFamilyTry(const SearchResult& result, const Recognizes& looksLikeFrames) {
    if (result.found()) {
        return nullptr;
    }
    const auto shaped = std::find_if(result.tries.begin(), result.tries.end(),
                                     [&](const SearchTry& t) { return looksLikeFrames(t.reply); });
    return shaped == result.tries.end() ? nullptr : &*shaped;
}

FailureReport notFoundReport(const SearchPlan& plan, const SearchResult& result,
                             serial::Platform platform) {
    // The search has converted the port text already before it could find nothing; a text it
    // could not convert is named as typed.
    const auto port = convertPort(plan.port, platform);
    const std::string named =
        port ? serial::portLabel(port.value(), platform) : "porta " + plan.port;
    return FailureReport{"Nenhuma das " + std::to_string(result.tries.size()) +
                         " configurações tentadas deu leitura na " + named + '.'};
}

}  // namespace vardelmo::query
