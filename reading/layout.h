#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "reading/frames.h"

// Families whose frames differ only in offsets, lengths and letters are rows of one table
// (layouts.cpp): a frame is a run of fields, and one matcher reads every row.
namespace vardelmo::reading::detail {

// How the text of a number field reads.
struct Number {
    std::string_view points = ".,";  // the decimal marks it may have
    int scale = -1;           // digits alone are divided by 10^scale; -1: digits alone do not read
    bool signInside = false;  // a '-' may stand before the digits, after the padding
    bool padRight = false;    // spaces after the number are padding too, not only before it
    bool spacesAsZeros = false;  // spaces between digits count as zeros
    bool reversed = false;       // the field holds the text backwards
    std::size_t longest = 16;    // characters, where the field has no fixed size
};

// What the bytes of a status, unit or gross/net field say. A one-byte field matches a code
// holding its byte; a longer one the code equal to its bytes; an empty code matches any bytes.
struct Code {
    std::string_view bytes;
    std::optional<State> state{};
    bool noReading = false;  // the frame is whole, but the scale has no weight to give
    std::string_view unit{};
    std::optional<bool> net{};
};

enum class Kind : unsigned char {
    Text,    // exactly these bytes
    Any,     // any value: nothing is read from it
    After,   // no byte: the one before the frame is one of these, or the reply starts there
    Weight,  // the reading's weight
    Tare,    // the tare in use
    Gross,   // a weight the frame carries beside the reading: its shape is checked, no more
    Sign,    // one byte: '-' below zero, else one of `text` (any byte when empty)
    Status,  // the scale's state, from `codes`
    Unit,
    Net,
    Rest,  // the last field: any bytes up to the reply's end, after fields of fixed sizes that
           // start with a text
};

struct Field {
    Kind kind;
    std::size_t size = 0;  // for a number, 0: as many bytes as the number runs (one such a row)
    std::string_view text{};
    Number number{};
    std::span<const Code> codes{};
};

enum class Place : unsigned char {
    Anywhere,    // a frame may end anywhere in the reply
    WholeReply,  // no start or end byte is described: the reply is the frame
};

struct Layout {
    std::string_view protocol;
    std::span<const Field> fields;
    Place place = Place::Anywhere;
    // No mark of its own: read only when no family with marks fits the reply.
    bool unmarked = false;
    // What a frame of this row tells by its shape alone, where no status field tells more.
    std::optional<State> state{};
};

std::span<const Layout> layouts();

Match matchLayout(const Layout& layout, std::string_view bytes, std::size_t end, Reading& reading);

constexpr Field text(std::string_view bytes) {
    return {.kind = Kind::Text, .size = bytes.size(), .text = bytes};
}
constexpr Field any(std::size_t size) {
    return {.kind = Kind::Any, .size = size};
}
constexpr Field after(std::string_view bytes) {
    return {.kind = Kind::After, .text = bytes};
}
constexpr Field weight(std::size_t size, Number number) {
    return {.kind = Kind::Weight, .size = size, .number = number};
}
constexpr Field tare(std::size_t size, Number number) {
    return {.kind = Kind::Tare, .size = size, .number = number};
}
constexpr Field gross(std::size_t size, Number number) {
    return {.kind = Kind::Gross, .size = size, .number = number};
}
constexpr Field sign(std::string_view others) {
    return {.kind = Kind::Sign, .size = 1, .text = others};
}
constexpr Field status(std::size_t size, std::span<const Code> codes) {
    return {.kind = Kind::Status, .size = size, .codes = codes};
}
constexpr Field unit(std::span<const Code> codes) {
    return {.kind = Kind::Unit, .size = 1, .codes = codes};
}
constexpr Field net(std::span<const Code> codes) {
    return {.kind = Kind::Net, .size = 1, .codes = codes};
}
constexpr Field rest() {
    return {.kind = Kind::Rest};
}

}  // namespace vardelmo::reading::detail
