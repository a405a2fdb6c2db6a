// The shape of frames: a scale's own frames have it, of any family and of a layout no family
// has; what a UART makes of them at any other settings the search tries never has it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query/settings_search.h"
#include "reading/reading.h"
#include "tests/support/escaped.h"
#include "virtual_scale/line_settings.h"
#include "virtual_scale/wire.h"

namespace vardelmo::reading {
namespace {

using namespace std::literals;
using test_support::escaped;

// A frame of every family, and two of layouts no family has.
const std::vector<std::string> frames = {
    "\x02"
    "01234\x03"s,
    "\x02"
    "01234\r"s,
    "\x02\x00"
    "001234\x00"
    "000000000000\r\x87"s,
    "\x02\x2d\x30\x20"
    "001234000000\r"s,
    "ST,GS,+  1.234kg\r\n"s,
    "\x02"
    "  0800  99999  79999\x03"s,
    "\x02"
    "02\x2d\x30\x20"
    "00123400000000000000000000000000000000P00000000000100\x10\x03\x06"s,
    "\x02S+0001.234\r"s,
    "\x01"
    "001.234 E\x02"s,
    "\x1bT1\x1b\x42 * PESO: 5,10kg\x1b\x45"s,
    "PESO L: 1,234kg"s,
    "\t 1,234kg\r"s,
    "E1234.5"s,
    "\x30\x31\x32\x33"
    "001234"s,
    "=432.100"s,
    "\x02+01.234\x03"s,
    "01.234E\r\n"s,
    "\x02"
    "0000 000001 20/06/05 50.00 kg B  0.60 kg T  49.40 kg L\r\xb4"s,
    "A001234\r"s,
    "\x02"
    "0001234MP\r"s,
    "0,  1.500,  0.266,  1.234\r\n"s,
    "EB,kg,B: 001234,T:000000,L: 001234\r\n"s,
    "\x02"
    "0000000000000    1.234 00"s,
    "E01.234 \r"s,
    "\x02SIC 01.234kgB\x03x\n"s,
    "\x02"
    "BR 01.500kgTR 00.266kg\x03x\n"s,
    "\x02 001.234KG \r\n"s,
    "D000658\r"s,
    "[U102.5]"s,
    "\x02W 00123.4 lb\r"s,
    "NET 0001.234KG\r\n"s,
};

vscale::LineSettings settings(std::string_view text) {
    std::string error;
    return vscale::parseLineSettings(text, error).value();
}

std::string heard(const std::string& sent, const vscale::LineSettings& sender,
                  const vscale::LineSettings& receiver) {
    std::string bytes;
    for (const auto& byte : vscale::overTheWire(sent, sender, receiver)) {
        bytes += byte.value;
    }
    return bytes;
}

TEST(FrameShape, IsThatOfEveryFamilysFramesAndOfOthers) {
    for (const std::string& frame : frames) {
        // Frames with bytes of any value in them may have bit 7 set there.
        if (frame.find_first_of("\x80\x87\xb4"sv) != std::string::npos) {
            continue;
        }
        EXPECT_TRUE(hasFrameShape(frame)) << escaped(frame);
        EXPECT_TRUE(hasFrameShape(frame + frame + frame)) << escaped(frame);
    }
}

// Every frame sent three times at the settings scales use, read at each other candidate of
// the search: where the bytes that arrive differ from those sent, they never look like frames.
TEST(FrameShape, IsNeverThatOfAReplyReadAtOtherSettings) {
    for (const std::string_view scaleText :
         {"9600,n,8,1"sv, "2400,n,8,1"sv, "1200,n,8,1"sv, "19200,n,8,1"sv, "9600,e,7,1"sv}) {
        const auto scale = settings(scaleText);
        for (const std::string_view candidate : query::searchCandidates()) {
            const auto line = settings(candidate);
            if (line == scale) {
                continue;
            }
            for (const std::string& frame : frames) {
                const std::string sent = frame + frame + frame;
                const std::string bytes = heard(sent, scale, line);
                // The same bytes arrive, or bytes that still read: these settings read the
                // scale too, and no shape is asked of them.
                if (bytes == sent || decode(bytes).reading) {
                    continue;
                }
                EXPECT_FALSE(hasFrameShape(bytes))
                    << escaped(frame) << " sent at " << scaleText << " read at " << candidate
                    << ": " << escaped(bytes);
            }
        }
    }
}

TEST(FrameShape, IsNotThatOfNoiseSilenceOrAnAck) {
    for (const std::string& bytes :
         {""s, "\x06"s, std::string(12, '\0'), "\xF8\x80\xFE\xE0\x1C\x9E"s, "hello world"s,
          "\x02\x02\x02\x02\x02"s,
          "12\x00"
          "34\r"s,
          // Printable, but letters and signs: P03 at 9600 read at 4800,e,7,1.
          "8\nJJjJJJ\tIHZZKJJ:8\nJJjJJJy"s}) {
        EXPECT_FALSE(hasFrameShape(bytes)) << escaped(bytes);
    }
}

}  // namespace
}  // namespace vardelmo::reading
