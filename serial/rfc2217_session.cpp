#include "serial/rfc2217_session.h"

#include <cstdint>

namespace vardelmo::serial {
namespace {

using namespace telnet;

// The client's commands; the server answers each with its code plus 100.
constexpr std::uint8_t kSetBaudRate = 1;
constexpr std::uint8_t kSetDataSize = 2;
constexpr std::uint8_t kSetParity = 3;
constexpr std::uint8_t kSetStopSize = 4;
constexpr std::uint8_t kSetControl = 5;
constexpr std::uint8_t kAnswer = 100;

// SET-CONTROL values.
constexpr std::uint8_t kNoFlowControl = 1;
constexpr std::uint8_t kDtrOn = 8;
constexpr std::uint8_t kRtsOn = 11;

constexpr char byte(std::uint8_t value) {
    return static_cast<char>(value);
}

std::string negotiation(std::uint8_t verb, std::uint8_t option) {
    return std::string{byte(kIac), byte(verb), byte(option)};
}

std::uint8_t parityCode(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return 2;
        case Parity::Even:
            return 3;
        case Parity::Mark:
            return 4;
        case Parity::Space:
            return 5;
        case Parity::None:
            break;
    }
    return 1;
}

std::uint8_t stopCode(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::Two:
            return 2;
        case StopBits::OneAndHalf:
            return 3;
        case StopBits::One:
            break;
    }
    return 1;
}

std::string command(std::uint8_t code, std::string value) {
    return subnegotiation(kComPortOption, std::string{byte(code)} + value);
}

std::string baudValue(std::int32_t baud) {
    const auto b = static_cast<std::uint32_t>(baud);
    return std::string{byte(static_cast<std::uint8_t>(b >> 24)),
                       byte(static_cast<std::uint8_t>(b >> 16)),
                       byte(static_cast<std::uint8_t>(b >> 8)), byte(static_cast<std::uint8_t>(b))};
}

constexpr int bitOf(std::uint8_t code) {
    return 1 << (code - kSetBaudRate);
}

constexpr int kAllSettings =
    bitOf(kSetBaudRate) | bitOf(kSetDataSize) | bitOf(kSetParity) | bitOf(kSetStopSize);

}  // namespace

std::string Rfc2217Session::start(const LineSettings& settings) {
    *this = Rfc2217Session{};
    settings_ = settings;
    return negotiation(kWill, kComPortOption);
}

std::string Rfc2217Session::change(const LineSettings& settings) {
    settings_ = settings;
    return agreed_ ? settingCommands() : std::string{};
}

std::string Rfc2217Session::settingCommands() {
    answersDue_ = kAllSettings;
    return command(kSetBaudRate, baudValue(settings_.baud)) +
           command(kSetDataSize, std::string{byte(static_cast<std::uint8_t>(settings_.dataBits))}) +
           command(kSetParity, std::string{byte(parityCode(settings_.parity))}) +
           command(kSetStopSize, std::string{byte(stopCode(settings_.stopBits))}) +
           command(kSetControl, std::string{byte(kNoFlowControl)}) +
           command(kSetControl, std::string{byte(kDtrOn)}) +
           command(kSetControl, std::string{byte(kRtsOn)});
}

void Rfc2217Session::check(std::uint8_t answer, const std::string& payload) {
    const auto code = static_cast<std::uint8_t>(answer - kAnswer);
    if ((answersDue_ & bitOf(code)) == 0) {
        return;  // an answer to nothing asked now: a late one, or the server's own notice
    }
    answersDue_ &= ~bitOf(code);
    std::string expected;
    Reason refused = Reason::BaudRefused;
    switch (code) {
        case kSetBaudRate:
            expected = baudValue(settings_.baud);
            break;
        case kSetDataSize:
            expected = std::string{byte(static_cast<std::uint8_t>(settings_.dataBits))};
            refused = Reason::DataBitsRefused;
            break;
        case kSetParity:
            expected = std::string{byte(parityCode(settings_.parity))};
            refused = Reason::ParityRefused;
            break;
        default:
            expected = std::string{byte(stopCode(settings_.stopBits))};
            refused = Reason::StopBitsRefused;
            break;
    }
    if (payload != expected && !failure_) {
        failure_ = refused;
    }
}

std::string Rfc2217Session::handle(const Command& received) {
    const std::uint8_t option = received.option;
    switch (received.verb) {
        case kDo:
            if (option == kComPortOption) {
                if (agreed_) {
                    return {};
                }
                agreed_ = true;
                return settingCommands();
            }
            if (option == kBinary || option == kSuppressGoAhead) {
                bool& on = option == kBinary ? binaryToServer_ : goAheadSuppressedToServer_;
                if (on) {
                    return {};
                }
                on = true;
                return negotiation(kWill, option);
            }
            return negotiation(kWont, option);
        case kDont:
            if (option == kComPortOption) {
                if (!failure_) {
                    failure_ = Reason::NotRfc2217;
                }
                return {};
            }
            if (option == kBinary || option == kSuppressGoAhead) {
                bool& on = option == kBinary ? binaryToServer_ : goAheadSuppressedToServer_;
                if (on) {
                    on = false;
                    return negotiation(kWont, option);
                }
            }
            return {};
        case kWill:
            if (option == kBinary || option == kSuppressGoAhead) {
                bool& on = option == kBinary ? binaryFromServer_ : goAheadSuppressedFromServer_;
                if (on) {
                    return {};
                }
                on = true;
                return negotiation(kDo, option);
            }
            // The server's offer of the option itself is not RFC 2217's: the client's WILL and
            // the server's DO are the agreement.
            return negotiation(kDont, option);
        case kWont:
            if (option == kBinary || option == kSuppressGoAhead) {
                bool& on = option == kBinary ? binaryFromServer_ : goAheadSuppressedFromServer_;
                if (on) {
                    on = false;
                    return negotiation(kDont, option);
                }
            }
            return {};
        case kSb:
            if (option == kComPortOption && !received.payload.empty()) {
                const auto code = static_cast<std::uint8_t>(received.payload.front());
                if (code > kAnswer + kSetBaudRate - 1 && code <= kAnswer + kSetStopSize) {
                    check(code, received.payload.substr(1));
                }
            }
            return {};
        default:
            return {};
    }
}

}  // namespace vardelmo::serial
