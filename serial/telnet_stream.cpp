#include "serial/telnet_stream.h"

namespace vardelmo::serial::telnet {
namespace {

// The longest RFC 2217 subnegotiation carries a 4-byte value; a server's own (a signature
// text) may be longer. Past this the stream is taken as no Telnet at all.
constexpr std::size_t kLongestSubnegotiation = 256;

constexpr char byte(std::uint8_t value) {
    return static_cast<char>(value);
}

}  // namespace

std::string escapeData(std::string_view bytes) {
    std::string escaped;
    escaped.reserve(bytes.size());
    for (const char c : bytes) {
        escaped += c;
        if (static_cast<std::uint8_t>(c) == kIac) {
            escaped += c;
        }
    }
    return escaped;
}

std::string subnegotiation(std::uint8_t option, std::string_view payload) {
    return std::string{byte(kIac), byte(kSb), byte(option)} + escapeData(payload) +
           std::string{byte(kIac), byte(kSe)};
}

bool Decoder::feed(std::string_view bytes, std::string& data, std::vector<Command>& commands) {
    for (const char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (state_) {
            case State::Data:
                if (b == kIac) {
                    state_ = State::Iac;
                } else {
                    data += c;
                }
                break;
            case State::Iac:
                if (b == kIac) {
                    data += c;
                    state_ = State::Data;
                } else if (b >= kWill) {
                    pending_ = Command{b, 0, {}};
                    state_ = State::Option;
                } else if (b == kSb) {
                    pending_ = Command{b, 0, {}};
                    state_ = State::SubOption;
                } else if (b > kSe) {
                    // NOP, DM, BRK, IP, AO, AYT, EC, EL, GA: no option follows.
                    commands.push_back(Command{b, 0, {}});
                    state_ = State::Data;
                } else {
                    state_ = State::Broken;
                    return false;
                }
                break;
            case State::Option:
                pending_.option = b;
                commands.push_back(pending_);
                state_ = State::Data;
                break;
            case State::SubOption:
                if (b == kIac) {
                    state_ = State::Broken;
                    return false;
                }
                pending_.option = b;
                state_ = State::SubData;
                break;
            case State::SubData:
                if (b == kIac) {
                    state_ = State::SubIac;
                } else if (pending_.payload.size() < kLongestSubnegotiation) {
                    pending_.payload += c;
                } else {
                    state_ = State::Broken;
                    return false;
                }
                break;
            case State::SubIac:
                if (b == kIac && pending_.payload.size() < kLongestSubnegotiation) {
                    pending_.payload += c;
                    state_ = State::SubData;
                } else if (b == kSe) {
                    commands.push_back(pending_);
                    state_ = State::Data;
                } else {
                    state_ = State::Broken;
                    return false;
                }
                break;
            case State::Broken:
                return false;
        }
    }
    return true;
}

}  // namespace vardelmo::serial::telnet
