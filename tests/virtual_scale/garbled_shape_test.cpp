// What a settings search may take for the frames of a family the tool does not know: a reply
// with the shape of frames. At a wrong baud, every family's frames arrive as the client's UART
// samples them, and that must never have the shape; at the scale's own baud they have it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reading/reading.h"
#include "tests/support/escaped.h"
#include "virtual_scale/commands.h"
#include "virtual_scale/virtual_scale.h"
#include "virtual_scale/wire.h"

namespace vardelmo::vscale {
namespace {

using test_support::escaped;

// Every family the scale speaks, but the lone ACK, which is no frame.
std::vector<Format> everyFamily() {
    std::vector<Format> formats;
    const std::string names = formatList() + ", ";
    for (std::size_t start = 0, comma; (comma = names.find(", ", start)) != std::string::npos;
         start = comma + 2) {
        const auto format = parseFormat(names.substr(start, comma - start));
        if (format && *format != Format::Ack) {
            formats.push_back(*format);
        }
    }
    return formats;
}

// A continuous scale's reply as the client reads it after a wait: several frames, sent back
// to back on the scale's line.
std::string reply(Format format, State state, const LineSettings& scale,
                  const LineSettings& client) {
    std::string frames;
    for (int i = 0; i < 4; ++i) {
        frames += frame(format, 1.234, state);
    }
    std::string heard;
    for (const auto& byte : overTheWire(frames, scale, client)) {
        heard += byte.value;
    }
    return heard;
}

// The bauds the search tries besides the scale's 9600; its other settings differ in parity,
// data or stop bits only, which a pseudo-terminal cannot show.
TEST(GarbledShape, NoFamilyAtAWrongBaudHasTheShapeOfFrames) {
    const LineSettings scale{9600, 'n', 8, 1};
    for (const Format format : everyFamily()) {
        for (const State state : {State::Stable, State::Motion, State::Negative}) {
            for (const unsigned baud : {2400u, 4800u, 19200u, 1200u}) {
                const auto bytes = reply(format, state, scale, LineSettings{baud, 'n', 8, 1});
                EXPECT_FALSE(reading::hasFrameShape(bytes))
                    << formatName(format) << ' ' << stateName(state) << " at " << baud << ": \""
                    << escaped(bytes) << '"';
            }
        }
    }
}

// Frames of layouts no family has, as a scale at the right baud sends them over and over.
TEST(GarbledShape, FramesOfUnknownLayoutsHaveTheShapeAtTheirBaud) {
    const LineSettings scale{9600, 'n', 8, 1};
    for (const std::string unknown : {"\x02W 1.234 kg\r\n", "PESO BRUTO 0012,50\r\n",
                                      "N+001.234\x03", "=1234=", "\x01G:1.234\x04",
                                      "\x1b@\x1b"
                                      "E PESO 12,345 KG\r"}) {
        std::string frames;
        for (int i = 0; i < 4; ++i) {
            frames += unknown;
        }
        EXPECT_FALSE(reading::decode(frames).reading) << escaped(unknown);
        EXPECT_TRUE(reading::hasFrameShape(frames)) << escaped(unknown);
        for (const unsigned baud : {2400u, 4800u, 19200u, 1200u}) {
            std::string heard;
            for (const auto& byte : overTheWire(frames, scale, LineSettings{baud, 'n', 8, 1})) {
                heard += byte.value;
            }
            EXPECT_FALSE(reading::hasFrameShape(heard))
                << escaped(unknown) << " at " << baud << ": \"" << escaped(heard) << '"';
        }
    }
}

}  // namespace
}  // namespace vardelmo::vscale
