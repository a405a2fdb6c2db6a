// The wire between two line settings, bit for bit. Every expected byte and time is worked out
// by hand below, from the bits the sender puts on the line; T is the sender's bit time.
#include "virtual_scale/wire.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "tests/support/escaped.h"

namespace vardelmo::vscale {

// Where GoogleTest looks for it: beside HeardByte, not in this file's own namespace.
void PrintTo(const HeardByte& byte, std::ostream* os) {
    *os << std::hex << static_cast<unsigned>(static_cast<unsigned char>(byte.value)) << std::dec
        << " at " << byte.at.count() << " ns";
}

namespace {

using std::chrono::nanoseconds;
using test_support::CaseName;

struct WireCase {
    const char* name;
    std::string sent;
    LineSettings sender;
    LineSettings receiver;
    std::vector<HeardByte> heard;
    friend void PrintTo(const WireCase& c, std::ostream* os) {
        *os << '"' << test_support::escaped(c.sent) << "\" at " << c.sender.baud << ','
            << c.sender.parity << ',' << c.sender.dataBits << ',' << c.sender.stopBits
            << " read at " << c.receiver.baud << ',' << c.receiver.parity << ','
            << c.receiver.dataBits << ',' << c.receiver.stopBits;
    }
};

class Wire : public ::testing::TestWithParam<WireCase> {};

TEST_P(Wire, DeliversWhatTheReceiverSamples) {
    const auto& c = GetParam();
    EXPECT_EQ(overTheWire(c.sent, c.sender, c.receiver), c.heard);
}

const std::string toledoB =
    "\x02"
    "01234\x03";
const LineSettings n81at9600{9600, 'n', 8, 1};

// Bytes back to back at 9600,n,8,1, 10 bits each, T = 104166.67 ns; byte k's stop bit is
// sampled at (10k + 9.5) T by a receiver at the same baud.
std::vector<HeardByte> atTenBitSpacing(const std::string& bytes) {
    const long long at[] = {989583, 2031250, 3072916, 4114583, 5156250, 6197916, 7239583};
    std::vector<HeardByte> heard;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        heard.push_back({bytes[k], nanoseconds(at[k])});
    }
    return heard;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wire,
    ::testing::Values(
        WireCase{"SameSettingsGiveTheBytesBack", toledoB, n81at9600, n81at9600,
                 atTenBitSpacing(toledoB)},
        WireCase{"StopBitsDoNotMatterAtTheSameBaud",
                 "\x02\x30",
                 {9600, 'n', 8, 2},
                 n81at9600,
                 // 11-bit bytes: the second stop bit is idle line to the receiver.
                 {{'\x02', nanoseconds(989583)}, {'\x30', nanoseconds(2135416)}}},
        // The sender's bits, index n covering [nT, (n+1)T): 02 is 0|01000000|1 at 0-9, 30 is
        // 0|00001100|1 at 10-19, 31 0|10001100|1 at 20-29, 32 0|01001100|1 at 30-39, 33
        // 0|11001100|1 at 40-49, 34 0|00101100|1 at 50-59, 03 0|11000000|1 at 60-69, then idle.
        // At 2400 a bit lasts 4T: after an edge at e the data bits are sampled at e + 6, 10,
        // ... 34 and the stop bit at e + 38. Edge 0: bits 6..34 read 0 0 0 0 0 1 0 0 (0x20),
        // but bit 38 is 0: a framing error, 00. The next edge after 38 is at 40: bits 46..74
        // read 1 0 0 0 1 0 1 1, 0xd1, and bit 78 is idle, 1. No edge follows.
        WireCase{"ToledoBAt9600ReadAt2400",
                 toledoB,
                 n81at9600,
                 {2400, 'n', 8, 1},
                 {{'\x00', nanoseconds(3958333)}, {'\xd1', nanoseconds(8125000)}}},
        // At 19200 a bit lasts T/2: data sampled at e + 0.75, 1.25, ... 4.25, the stop bit at
        // e + 4.75. Edges at 0 (bits 0 1 1 2 2 3 3 4, stop 4: low), 10 (all low, stop 14 low),
        // 17 (bits 17 18 18 19 19 20 20 21 = 0 0 0 1 1 0 0 1: 0x98, stop 21 high), 22 (bits
        // 22 23 23 24 24 25 25 26 = 0xe0, stop 26 high), then 27, 33, 40, 47, 54 and 60,
        // each with its stop sample on a low bit.
        WireCase{"ToledoBAt9600ReadAt19200",
                 toledoB,
                 n81at9600,
                 {19200, 'n', 8, 1},
                 {{'\x00', nanoseconds(494791)},
                  {'\x00', nanoseconds(1536458)},
                  {'\x98', nanoseconds(2265625)},
                  {'\xe0', nanoseconds(2786458)},
                  {'\x00', nanoseconds(3307291)},
                  {'\x00', nanoseconds(3932291)},
                  {'\x00', nanoseconds(4661458)},
                  {'\x00', nanoseconds(5390625)},
                  {'\x00', nanoseconds(6119791)},
                  {'\x00', nanoseconds(6744791)}}},
        // ENQ at 2400 (T = 416666.67 ns) is 0|10100000|1 at 0-9. At 9600 a bit lasts T/4:
        // data at e + 0.375 ... 2.125, stop at e + 2.375. Edge 0: bits 0 0 0 1 1 1 1 2 =
        // 0x78, stop in bit 2, low: 00. Edge 4: all low, stop in bit 6, low: 00.
        WireCase{"EnquiryAt2400HeardAt9600",
                 "\x05",
                 {2400, 'n', 8, 1},
                 n81at9600,
                 {{'\x00', nanoseconds(989583)}, {'\x00', nanoseconds(2656250)}}},
        // ENQ at 9600 heard at 2400: bit 6 (0) is data bit 0, every later sample idle (1).
        WireCase{"EnquiryAt9600HeardAt2400",
                 "\x05",
                 n81at9600,
                 {2400, 'n', 8, 1},
                 {{'\xfe', nanoseconds(3958333)}}},
        // 7E1 sends 7 data bits and a parity bit making the ones even: an 8N1 receiver reads
        // the parity bit as bit 7, set where the 7 bits have an odd number of ones.
        WireCase{"SevenEvenOneReadAsEightNoneOne",
                 toledoB,
                 {9600, 'e', 7, 1},
                 n81at9600,
                 atTenBitSpacing("\x82\x30\xb1\xb2\x33\xb4\x03")},
        // The other way, the 7E1 receiver keeps 7 bits and skips bit 7 as its parity.
        WireCase{"EightNoneOneReadAsSevenEvenOne",
                 "\x05\xb1",
                 n81at9600,
                 {9600, 'e', 7, 1},
                 atTenBitSpacing("\x05\x31")},
        // 7N1 samples its stop bit in the sender's bit 7, here 0: a framing error.
        WireCase{"EightBitsReadAsSevenWithBitSevenClear",
                 "A",
                 n81at9600,
                 {9600, 'n', 7, 1},
                 {{'\x00', nanoseconds(885416)}}},
        // Space parity is a low bit where an 8N1 receiver samples its stop bit.
        WireCase{"SpaceParityReadWithoutParity",
                 "\x02\x30",
                 {9600, 's', 8, 1},
                 n81at9600,
                 {{'\x00', nanoseconds(989583)}, {'\x00', nanoseconds(2135416)}}},
        // Mark parity is high there: the bytes pass, 11 bits apart.
        WireCase{"MarkParityReadWithoutParity",
                 "\x02\x30",
                 {9600, 'm', 8, 1},
                 n81at9600,
                 {{'\x02', nanoseconds(989583)}, {'\x30', nanoseconds(2135416)}}},
        // 300,n,5,1.5: 7.5-bit bytes of their 5 low bits (ea is 0a); stops sampled at 6.5
        // and 14 bits of 3.33 ms.
        WireCase{"FiveBitsWithOneAndAHalfStopBits",
                 "\x15\xea",
                 {300, 'n', 5, 1.5},
                 {300, 'n', 5, 1},
                 {{'\x15', nanoseconds(21666666)}, {'\x0a', nanoseconds(46666666)}}},
        WireCase{"NothingSentNothingHeard", "", n81at9600, {2400, 'n', 8, 1}, {}}),
    CaseName());

}  // namespace
}  // namespace vardelmo::vscale
