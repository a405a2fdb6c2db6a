#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vardelmo::serial::telnet {

// The Telnet bytes (RFC 854, 855) an RFC 2217 client meets.
inline constexpr std::uint8_t kSe = 240;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPortOption = 44;

// One Telnet command taken out of the stream. `verb` is WILL, WONT, DO, DONT, SB, or a
// command of its own (NOP, GA, ...); `option` is the option negotiated or the subnegotiation's
// option; `payload` the subnegotiation's bytes after its option, IAC undoubled.
struct Command {
    std::uint8_t verb = 0;
    std::uint8_t option = 0;
    std::string payload;

    friend bool operator==(const Command&, const Command&) = default;
};

// The data with every IAC doubled, as Telnet carries it.
std::string escapeData(std::string_view bytes);

// The subnegotiation IAC SB option payload IAC SE, the payload's IACs doubled.
std::string subnegotiation(std::uint8_t option, std::string_view payload);

// Takes a server's stream apart into data and commands. The stream may be cut anywhere between
// reads: a command is given out once its last byte has come.
class Decoder {
public:
    // Appends the data in `bytes` to `data` and the commands completed to `commands`. False,
    // and from then on for good, when the stream breaks Telnet's rules: IAC before a byte that
    // is no command, SE outside a subnegotiation, IAC inside one before anything but IAC or SE,
    // a subnegotiation with no option or longer than any RFC 2217 one.
    bool feed(std::string_view bytes, std::string& data, std::vector<Command>& commands);

    bool broken() const { return state_ == State::Broken; }

private:
    enum class State { Data, Iac, Option, SubOption, SubData, SubIac, Broken };
    State state_ = State::Data;
    Command pending_;
};

}  // namespace vardelmo::serial::telnet
