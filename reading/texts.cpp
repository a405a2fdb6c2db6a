// The ids scripts see and the Portuguese the technician reads.
#include <string>
#include <vector>

#include "reading/families.h"
#include "reading/reading.h"

namespace vardelmo::reading {

namespace {

std::string_view stateText(State state) {
    switch (state) {
        case State::Stable:
            return "estável";
        case State::Motion:
            return "em movimento";
        case State::Negative:
            return "negativo";
        case State::Overload:
            return "sobrecarga";
    }
    return "";
}

}  // namespace

std::span<const std::string_view> protocolIds() {
    static const std::vector<std::string_view> ids = [] {
        std::vector<std::string_view> all;
        for (const auto& family : detail::familyInfos()) {
            all.push_back(family.id);
        }
        return all;
    }();
    return ids;
}

std::string_view stateId(State state) {
    switch (state) {
        case State::Stable:
            return "stable";
        case State::Motion:
            return "motion";
        case State::Negative:
            return "negative";
        case State::Overload:
            return "overload";
    }
    return "";
}

std::string_view hintId(Hint hint) {
    switch (hint) {
        case Hint::Empty:
            return "empty";
        case Hint::SevenBits:
            return "seven-bits";
        case Hint::Partial:
            return "partial";
        case Hint::Baud:
            return "baud";
        case Hint::Ack:
            return "ack";
        case Hint::Unknown:
            return "unknown";
    }
    return "";
}

std::string readingLine(const Reading& reading) {
    std::string line;
    if (reading.weight) {
        for (const char c : *reading.weight) {
            line += c == '.' ? ',' : c;
        }
        line += ' ';
        line += reading.unit;
    }
    if (reading.state) {
        if (!line.empty()) {
            line += ' ';
        }
        line += stateText(*reading.state);
    }
    return line;
}

std::string familyName(std::string_view protocol) {
    for (const auto& family : detail::familyInfos()) {
        if (family.id == protocol) {
            return std::string(family.name);
        }
    }
    return std::string(protocol);
}

std::string hintText(Hint hint) {
    switch (hint) {
        case Hint::Empty:
            return "sem resposta";
        case Hint::SevenBits:
            return "7 bits e paridade?";
        case Hint::Partial:
            return "quadro incompleto: espera curta?";
        case Hint::Baud:
            return "velocidade diferente?";
        case Hint::Ack:
            return "ACK sem peso";
        case Hint::Unknown:
            return "formato desconhecido";
    }
    return "";
}

}  // namespace vardelmo::reading
