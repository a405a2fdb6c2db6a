// A frame on its way to a client: its pacing, and the client changing its settings meanwhile.
#include "virtual_scale/reception.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "virtual_scale/wire.h"

namespace vardelmo::vscale {
namespace {

using std::chrono::nanoseconds;
using test_support::CaseName;

const std::string kToledoB =
    "\x02"
    "01234\x03";

struct ByteTimeCase {
    const char* name;
    LineSettings line;
    double bits;        // start, data, parity and stop
    double byteTimeMs;  // written out: bits / baud
    friend void PrintTo(const ByteTimeCase& c, std::ostream* os) { *os << c.line.text(); }
};

class ByteTimes : public ::testing::TestWithParam<ByteTimeCase> {};

// A reply is paced at its line's byte time, every bit counted, whichever way the client is
// told apart: a pacing that forgot the parity or the stop bits would be early by them.
TEST_P(ByteTimes, PaceAReplyAtEveryBitOfTheLine) {
    const ByteTimeCase& c = GetParam();
    EXPECT_DOUBLE_EQ(c.line.bitsPerByte(), c.bits);
    EXPECT_NEAR(static_cast<double>(c.line.byteTime().count()) / 1e6, c.byteTimeMs, 0.0005);
    for (const Mismatch mismatch : {Mismatch::Wire, Mismatch::Silent}) {
        SCOPED_TRACE(mismatch == Mismatch::Wire ? "wire" : "silent");
        Reception reception(kToledoB, c.line, mismatch, c.line);
        std::vector<HeardByte> heard;
        for (; !reception.done(); reception.handedOver(1)) {
            heard.push_back(reception.next());
        }
        ASSERT_EQ(heard.size(), kToledoB.size());
        for (std::size_t i = 0; i < heard.size(); ++i) {
            // A line of fewer data bits carries only the byte's low bits.
            EXPECT_EQ(heard[i].value,
                      static_cast<char>(kToledoB[i] & ((1 << c.line.dataBits) - 1)));
            // Within the written-out figure's rounding, a byte time after the byte before.
            EXPECT_NEAR(static_cast<double>(heard[i].at.count()) / 1e6,
                        static_cast<double>(i) * c.byteTimeMs,
                        0.0005 * static_cast<double>(i) + 1e-6)
                << "byte " << i;
        }
    }
}

// Byte times rounded to the microsecond, as a person works them out: bits / baud.
INSTANTIATE_TEST_SUITE_P(
    Table, ByteTimes,
    ::testing::Values(ByteTimeCase{"EvenSevenTwoAt2400", {2400, 'e', 7, 2}, 11, 4.583},
                      ByteTimeCase{"PlainAt9600", {9600, 'n', 8, 1}, 10, 1.042},
                      ByteTimeCase{"OddEightOneAt1200", {1200, 'o', 8, 1}, 11, 9.167},
                      ByteTimeCase{"MarkFiveAndAHalfAt300", {300, 'm', 5, 1.5}, 8.5, 28.333},
                      ByteTimeCase{"SpaceSixTwoAt19200", {19200, 's', 6, 2}, 10, 0.521}),
    CaseName());

struct ChangeCase {
    const char* name;
    Mismatch mismatch;
    std::size_t handedBefore;  // bytes handed over at the first settings
    LineSettings then;         // the client's settings after them
    std::string lines;         // clientLines()
    std::string rest;          // what comes after the change
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }
};

class ClientChanges : public ::testing::TestWithParam<ChangeCase> {};

const LineSettings k9600{9600, 'n', 8, 1};
const LineSettings k2400{2400, 'n', 8, 1};

// The frame at 9600 to a client at 9600 that, after some bytes, sets other settings: the
// bytes it got stay as they came, the rest is what its UART makes of the scale's bytes from
// the first that started after them, at the times they are sent.
TEST_P(ClientChanges, GetTheRestAtTheNewSettings) {
    const ChangeCase& c = GetParam();
    Reception reception(kToledoB, k9600, c.mismatch, k9600);
    std::string before;
    for (std::size_t i = 0; i < c.handedBefore; ++i) {
        before += reception.next().value;
        reception.handedOver(1);
    }
    EXPECT_EQ(before, kToledoB.substr(0, c.handedBefore));
    const nanoseconds lastAt = c.handedBefore == 0 ? nanoseconds(-1) : [&] {
        Reception again(kToledoB, k9600, c.mismatch, k9600);
        again.handedOver(c.handedBefore - 1);
        return again.next().at;
    }();
    reception.clientIs(c.then);
    EXPECT_EQ(reception.clientLines(), c.lines);
    EXPECT_EQ(reception.rest(), c.rest);
    for (nanoseconds previous = lastAt; !reception.done(); reception.handedOver(1)) {
        EXPECT_GT(reception.next().at, previous) << "a byte comes before the one handed over";
        previous = reception.next().at;
    }
}

// Bytes at 9600 as a UART at 2400 reads them; the whole frame reads 00 d1 (wire_test.cpp).
std::string at2400(const std::string& bytes) {
    std::string heard;
    for (const HeardByte& byte : overTheWire(bytes, k9600, k2400)) {
        heard += byte.value;
    }
    return heard;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClientChanges,
    ::testing::Values(ChangeCase{"NoChange", Mismatch::Wire, 3, k9600, "9600,n,8,1", "234\x03"},
                      ChangeCase{"BeforeAnyByte", Mismatch::Wire, 0, k2400,
                                 "9600,n,8,1 then 2400,n,8,1", std::string("\x00\xd1", 2)},
                      ChangeCase{"MidFrame", Mismatch::Wire, 3, k2400, "9600,n,8,1 then 2400,n,8,1",
                                 at2400("234\x03")},
                      // A receiver does not mind a second stop bit: the bytes still come as sent.
                      ChangeCase{"StopBitsOnly",
                                 Mismatch::Wire,
                                 2,
                                 {9600, 'n', 8, 2},
                                 "9600,n,8,1 then 9600,n,8,2",
                                 "1234\x03"},
                      ChangeCase{"SilentToAnotherBaud", Mismatch::Silent, 3, k2400,
                                 "9600,n,8,1 then 2400,n,8,1", ""},
                      ChangeCase{"SilentToTheSameBaud",
                                 Mismatch::Silent,
                                 3,
                                 {9600, 'n', 8, 2},
                                 "9600,n,8,1 then 9600,n,8,2",
                                 "234\x03"}),
    CaseName());

}  // namespace
}  // namespace vardelmo::vscale
