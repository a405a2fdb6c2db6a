#include "virtual_scale/commands.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

namespace vardelmo::vscale {
namespace {

template <typename Value, std::size_t N>
using NameTable = std::array<std::pair<std::string_view, Value>, N>;

// A format's first name is the one it is logged and listed under.
constexpr NameTable<Format, 37> kFormats{{
    {"toledo-b", Format::ToledoB},
    {"stx5", Format::ToledoB},
    {"toledo-c", Format::ToledoC},
    {"toledo-a", Format::ToledoA},
    {"p03", Format::P03},
    {"st-gs", Format::StGs},
    {"micheletti", Format::Micheletti},
    {"status", Format::Status},
    {"line", Format::Line},
    {"ack", Format::Ack},
    {"toledo-b-self", Format::ToledoBSelf},
    {"st-gs-19", Format::StGs19},
    {"st-gs-tr", Format::StGsTr},
    {"toledo-eth", Format::ToledoEth},
    {"bcs21", Format::Bcs21},
    {"lider", Format::Lider},
    {"urano", Format::Urano},
    {"urano-pop", Format::UranoPop},
    {"urano-pop-bare", Format::UranoPopBare},
    {"magna", Format::Magna},
    {"digitron-ul", Format::DigitronUl},
    {"alfa", Format::Alfa},
    {"afts", Format::Afts},
    {"muller", Format::Muller},
    {"saturno", Format::Saturno},
    {"lucastec", Format::Lucastec},
    {"precision", Format::Precision},
    {"lenke", Format::Lenke},
    {"wt1000", Format::Wt1000},
    {"wt27r", Format::Wt27r},
    {"marel", Format::Marel},
    {"capital", Format::Capital},
    {"siciliano", Format::Siciliano},
    {"siciliano-ip10", Format::SicilianoIp10},
    {"condec", Format::Condec},
    {"el05", Format::El05},
    {"tru-test", Format::TruTest},
}};

constexpr NameTable<State, 5> kStates{{
    {"stable", State::Stable},
    {"motion", State::Motion},
    {"negative", State::Negative},
    {"overload", State::Overload},
    {"silent", State::Silent},
}};

template <typename Value, std::size_t N>
std::optional<Value> valueNamed(const NameTable<Value, N>& table, std::string_view word) {
    for (const auto& [name, value] : table) {
        if (name == word) {
            return value;
        }
    }
    return std::nullopt;
}

template <typename Value, std::size_t N>
std::string_view nameOf(const NameTable<Value, N>& table, Value value) {
    for (const auto& [name, known] : table) {
        if (known == value) {
            return name;
        }
    }
    return "?";
}

template <typename Value, std::size_t N>
std::string namesOf(const NameTable<Value, N>& table) {
    std::string names;
    for (const auto& [name, value] : table) {
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> found;
    const std::string_view blanks = " \t\r";
    for (auto start = line.find_first_not_of(blanks); start != std::string_view::npos;
         start = line.find_first_not_of(blanks, start)) {
        const auto end = line.find_first_of(blanks, start);
        found.push_back(line.substr(start, end - start));
        start = end == std::string_view::npos ? line.size() : end;
    }
    return found;
}

}  // namespace

std::optional<Format> parseFormat(std::string_view word) {
    return valueNamed(kFormats, word);
}

std::optional<State> parseState(std::string_view word) {
    return valueNamed(kStates, word);
}

std::string_view formatName(Format format) {
    return nameOf(kFormats, format);
}

std::string_view stateName(State state) {
    return nameOf(kStates, state);
}

std::string formatList() {
    return namesOf(kFormats);
}

std::string stateList() {
    return namesOf(kStates);
}

std::string kilograms(double kg) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, kg).ptr;
    return std::string(text, end) + " kg";
}

std::optional<double> parseWeight(std::string_view text) {
    if (!text.empty() && text.front() == '+') {  // from_chars takes only '-'
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<Command> parseCommand(std::string_view line, std::string& error) {
    const auto parts = words(line);
    if (parts.empty()) {
        return Command{};
    }
    if (parts.size() != 2) {
        error = "expected a command and one value: weight KG, state NAME or format NAME";
        return std::nullopt;
    }
    Command command;
    if (parts[0] == "weight") {
        const auto kg = parseWeight(parts[1]);
        if (!kg) {
            error = "weight \"" + std::string(parts[1]) + "\" is not a number of kilograms";
            return std::nullopt;
        }
        command.kind = Command::Kind::Weight;
        command.weightKg = *kg;
    } else if (parts[0] == "state") {
        const auto state = parseState(parts[1]);
        if (!state) {
            error = "state \"" + std::string(parts[1]) + "\" is not one of " + stateList();
            return std::nullopt;
        }
        command.kind = Command::Kind::State;
        command.state = *state;
    } else if (parts[0] == "format") {
        const auto format = parseFormat(parts[1]);
        if (!format) {
            error = "format \"" + std::string(parts[1]) + "\" is not one of " + formatList();
            return std::nullopt;
        }
        command.kind = Command::Kind::Format;
        command.format = *format;
    } else {
        error = "unknown command \"" + std::string(parts[0]) + "\": use weight, state or format";
        return std::nullopt;
    }
    return command;
}

std::string apply(const Command& command, VirtualScale& scale) {
    switch (command.kind) {
        case Command::Kind::None:
            return {};
        case Command::Kind::Weight:
            scale.setWeight(command.weightKg);
            return "weight " + kilograms(command.weightKg);
        case Command::Kind::State:
            scale.setState(command.state);
            return "state " + std::string(stateName(command.state));
        case Command::Kind::Format:
            scale.setFormat(command.format);
            return "format " + std::string(formatName(command.format));
    }
    return {};
}

}  // namespace vardelmo::vscale
