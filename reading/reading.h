#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What a scale's reply means: the weight and state in the last complete frame of any family
// the tool knows, or, when nothing decodes, a hint at what went wrong. Plain C++, no Qt.
namespace vardelmo::reading {

enum class State { Stable, Motion, Negative, Overload };
enum class Hint { Empty, SevenBits, Partial, Baud, Ack, Unknown };

// Every member has an initializer, so that designated initializers may leave any out.
struct Reading {
    std::string protocol{};               // one of protocolIds()
    std::optional<std::string> weight{};  // exact decimal text; none when the frame gives none
    std::string unit = "kg";              // as the frame names it, else kg
    // None where the frame does not tell: such a reading is never shown as stable.
    std::optional<State> state{};
    std::optional<bool> net{};  // where the frame says net or gross
    // Exact decimal text, where the frame has them.
    std::optional<std::string> tare{}, price{}, total{};
    bool operator==(const Reading&) const = default;
};

// `hint` means something only when there is no reading.
struct Decoded {
    std::optional<Reading> reading{};
    Hint hint = Hint::Unknown;
    bool operator==(const Decoded&) const = default;
};

// Any bytes, of any length: never throws. Decimal texts have one digit before the point at
// least and no more leading zeros than that, a sign only below zero, as many decimals as the
// frame gives. A reading above capacity carries no weight: what a scale sends beyond its range
// is not one to show. The reply's last complete frame decides; damaged frames are skipped.
Decoded decode(std::string_view bytes);

// "toledo-b" "toledo-c" ... "tru-test": every protocol a reading names, one a frame family.
std::span<const std::string_view> protocolIds();
std::string_view stateId(State);  // "stable" "motion" "negative" "overload"
// "empty" "seven-bits" "partial" "baud" "ack" "unknown"
std::string_view hintId(Hint);

// Portuguese, UTF-8, for the window's caption and the command line; numbers with a decimal
// comma as the display writes them: "1,234 kg estável", the weight alone where the frame does
// not tell the state, or the state alone with no weight.
std::string readingLine(const Reading&);
std::string familyName(std::string_view protocol);  // "Toledo B" ...; an unknown id as it is
std::string hintText(Hint);                         // "sem resposta" ...

// Whether bytes that do not decode still look like a scale's frames rather than a line at the
// wrong baud: the same frame repeated, or text and digits with the line ends or STX and ETX
// frames have, no framing-error zeros, bit 7 clear. The settings search takes such a reply for
// settings that work with a family the tool does not know.
bool hasFrameShape(std::string_view bytes);

}  // namespace vardelmo::reading
