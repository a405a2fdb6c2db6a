#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {

// The words of the command line and of the live commands: the formats (toledo-b, its other
// name stx5, toledo-c, ...) and the states (stable, motion, negative, overload, silent).
std::optional<Format> parseFormat(std::string_view word);
std::optional<State> parseState(std::string_view word);
std::string_view formatName(Format format);
std::string_view stateName(State state);
// Every name, in order, as "toledo-b, stx5, toledo-c, ...", for messages.
std::string formatList();
std::string stateList();

// "2.5 kg": the weight as parseWeight reads it back, with its unit.
std::string kilograms(double kg);

// A finite number of kilograms with a decimal point, whatever the locale.
std::optional<double> parseWeight(std::string_view text);

// One live change, from a line such as "weight 2.5", "state motion" or "format line".
struct Command {
    enum class Kind { None, Weight, State, Format };
    Kind kind = Kind::None;  // None: a blank line, nothing to do
    double weightKg = 0;
    vscale::State state = vscale::State::Stable;
    vscale::Format format = vscale::Format::ToledoB;
};

std::optional<Command> parseCommand(std::string_view line, std::string& error);

// Applies a command to a running scale; returns what changed, for the log.
std::string apply(const Command& command, VirtualScale& scale);

}  // namespace vardelmo::vscale
