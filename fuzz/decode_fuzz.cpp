// decode on any bytes: never a crash, the same answer twice, decimal texts of the one shape,
// only the families listed, and a whole frame appended to any reply is the one read. The
// frame-shape test runs on the same bytes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/expect.h"
#include "reading/reading.h"

namespace {

using vardelmo::reading::decode;
using vardelmo::reading::Decoded;
using vardelmo::reading::Hint;
using vardelmo::reading::Reading;
using vardelmo::reading::State;

bool digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "-"? then "0" or a digit other than 0 and more digits, then "." and digits or nothing; no
// minus on a zero.
bool decimalShape(std::string_view text, bool signAllowed) {
    const bool minus = !text.empty() && text.front() == '-';
    if (minus && !signAllowed) {
        return false;
    }
    const auto number = text.substr(minus ? 1 : 0);
    const auto point = number.find('.');
    const auto whole = number.substr(0, point);
    if (!digits(whole) || (whole.size() > 1 && whole.front() == '0')) {
        return false;
    }
    if (point != std::string_view::npos && !digits(number.substr(point + 1))) {
        return false;
    }
    return !minus || number.find_first_not_of("0.") != std::string_view::npos;
}

void checkReading(const Reading& r) {
    const auto ids = vardelmo::reading::protocolIds();
    FUZZ_EXPECT(std::find(ids.begin(), ids.end(), r.protocol) != ids.end());
    FUZZ_EXPECT(r.unit == "kg" || r.unit == "g" || r.unit == "lb");
    FUZZ_EXPECT(!r.weight || decimalShape(*r.weight, true));
    FUZZ_EXPECT(!r.weight || r.weight->front() != '-' || r.state == State::Negative);
    FUZZ_EXPECT(!(r.state == State::Overload && r.weight));
    for (const auto& amount : {r.tare, r.price, r.total}) {
        FUZZ_EXPECT(!amount || decimalShape(*amount, false));
    }
    const auto line = vardelmo::reading::readingLine(r);
    FUZZ_EXPECT(!line.empty() && line.find('.') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Decoded decoded = decode(bytes);
    FUZZ_EXPECT(decode(bytes) == decoded);
    const bool shape = vardelmo::reading::hasFrameShape(bytes);
    FUZZ_EXPECT(!shape ||
                (bytes.find('\0') == bytes.npos &&
                 std::none_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; })));
    if (decoded.reading) {
        checkReading(*decoded.reading);
    } else {
        FUZZ_EXPECT((decoded.hint == Hint::Empty) == bytes.empty());
        FUZZ_EXPECT(decoded.hint != Hint::Ack || bytes.find_first_not_of('\x06') == bytes.npos);
    }
    // Whatever came before, a whole frame at the end is the reading.
    const Decoded last = decode(std::string(bytes) +
                                "\x02"
                                "05678\x03");
    FUZZ_EXPECT(last.reading && last.reading->protocol == "toledo-b" &&
                last.reading->weight == "5.678");
    return 0;
}
