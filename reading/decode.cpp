// The dispatcher: walks back from the reply's end and gives the first complete frame it meets,
// the last one the scale sent; broken frames at either end never match. When none does, the
// bytes still say something of why.
#include <algorithm>
#include <optional>
#include <string>

#include "reading/decimal_text.h"
#include "reading/frames.h"

namespace vardelmo::reading {

namespace {

using namespace detail;

// Each family with the byte its frames have `fromEnd` bytes before their end, and whether they
// start with STX. Frames carrying a checksum are tried first.
struct Family {
    char marker;
    std::size_t fromEnd;
    bool stx;
    Match (*parse)(std::string_view, std::size_t, Reading&);
};

constexpr Family families[] = {
    {cr, 2, true, toledoA},     {cr, 2, true, p03Checked}, {cr, 1, true, p03},
    {etx, 1, true, micheletti}, {etx, 1, true, toledoB},   {cr, 1, true, toledoC},
    {lf, 1, false, stGs},
};

// Whether an STX stands close enough before an end for a frame to start there, for ends that
// only go down: each byte is looked at once at most, and a reply without STX is not searched
// through for one.
class StxBefore {
public:
    explicit StxBefore(std::string_view bytes) : bytes_(bytes), searchedFrom_(bytes.size()) {}

    bool near(std::size_t end) {
        if (found_ != none && found_ >= end) {
            found_ = none;
        }
        if (found_ == none) {
            const std::size_t from = end > longestFrame ? end - longestFrame : 0;
            for (std::size_t i = std::min(end, searchedFrom_); i > from && found_ == none; --i) {
                if (bytes_[i - 1] == stx) {
                    found_ = i - 1;
                }
            }
            searchedFrom_ = found_ == none ? from : found_;
        }
        return found_ != none && end - found_ <= longestFrame;
    }

private:
    static constexpr std::size_t none = std::string_view::npos;
    static constexpr std::size_t longestFrame = 23;  // Toledo A, the longest that starts with STX
    std::string_view bytes_;
    std::size_t searchedFrom_;  // no STX from here up to found_, or to the end
    std::size_t found_ = none;
};

Match frameEndingAt(std::string_view bytes, std::size_t end, bool stxNear, Reading& reading) {
    for (const auto& family : families) {
        if ((stxNear || !family.stx) && end >= family.fromEnd &&
            bytes[end - family.fromEnd] == family.marker) {
            const auto match = family.parse(bytes, end, reading);
            if (match.verdict != Verdict::None) {
                return match;
            }
        }
    }
    return {};
}

// Every frame ends in ETX, CR or LF, or in a checksum just after CR: only the ends next to
// those bytes are tried, the last first, and those starting with STX only where one is near,
// so that even a reply of nothing but line ends costs a few looks at each byte.
std::optional<Reading> lastFrame(std::string_view bytes) {
    std::size_t limit = bytes.size();  // no frame may end past this
    std::size_t tried = limit + 1;     // the last end tried: ends only go down
    StxBefore stxBefore(bytes);
    Reading reading;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        const char c = bytes[i];
        if (c != etx && c != cr && c != lf) {
            continue;
        }
        for (const std::size_t end : {i + 2, i + 1}) {
            if (end > limit || end >= tried || (end == i + 2 && c != cr)) {
                continue;
            }
            tried = end;
            const auto match = frameEndingAt(bytes, end, stxBefore.near(end), reading);
            if (match.verdict == Verdict::Reading) {
                return reading;
            }
            if (match.verdict == Verdict::NoReading) {
                return std::nullopt;
            }
            if (match.verdict == Verdict::Damaged) {
                limit = match.start;  // the damaged frame is passed over whole
                i = match.start;
            }
        }
    }
    return std::nullopt;
}

constexpr char ack = 0x06;

bool printable(char c) {
    return c >= 0x20 && c <= 0x7E;
}
bool highBit(char c) {
    return (static_cast<unsigned char>(c) & 0x80U) != 0;
}

// Bytes read at a baud other than the scale's: mostly the zeros a UART delivers for framing
// errors, or no frame's start or end after some text together with few digits (every family's
// frame is mostly digits).
bool wrongBaud(std::string_view bytes) {
    const auto zeros = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
    if (zeros * 2 >= bytes.size()) {
        return true;
    }
    bool structure = bytes.front() == stx;
    std::size_t text = 0;  // printable bytes just before the one looked at
    for (std::size_t i = 0; i < bytes.size() && !structure; ++i) {
        const char c = bytes[i];
        structure = text >= 4 && (c == etx || c == cr || c == lf);
        text = printable(c) ? text + 1 : 0;
    }
    const auto digits =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), isDigit));
    return !structure && digits * 4 < bytes.size();
}

// A scale sending seven data bits and parity to a line set to eight without: the parity lands
// in bit 7, and clearing it gives the frames back.
bool sevenBits(std::string_view bytes) {
    if (std::none_of(bytes.begin(), bytes.end(), highBit)) {
        return false;
    }
    std::string cleared(bytes);
    for (char& c : cleared) {
        c = static_cast<char>(c & 0x7F);
    }
    return lastFrame(cleared).has_value();
}

Hint hintFor(std::string_view bytes) {
    if (bytes.empty()) {
        return Hint::Empty;
    }
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ack; })) {
        return Hint::Ack;
    }
    if (sevenBits(bytes)) {
        return Hint::SevenBits;
    }
    return wrongBaud(bytes) ? Hint::Baud : Hint::Unknown;
}

}  // namespace

Decoded decode(std::string_view bytes) {
    Decoded decoded;
    decoded.reading = lastFrame(bytes);
    if (!decoded.reading) {
        decoded.hint = hintFor(bytes);
    }
    return decoded;
}

}  // namespace vardelmo::reading
