// The dispatcher: walks back from the reply's end and gives the first complete frame it meets,
// the last one the scale sent; broken frames at either end never match. When none does, the
// bytes still say something of why.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reading/dispatch.h"
#include "reading/families.h"
#include "reading/frames.h"
#include "reading/layout.h"

namespace vardelmo::reading {

namespace detail {

namespace {

// A family's parser or a row of the layout table, and where it may end.
struct Entry {
    Parse parse = nullptr;
    const Layout* layout = nullptr;
    bool atReplyEnd = false;  // tried only where the reply ends
    // A row of fixed size that starts with a text: its first byte, looked at before the rest.
    std::size_t size = 0;
    char first = 0;
};

// Which entries end in a byte, by the byte's value, as bits in the order the entries are
// tried: one look tells which parsers a position is worth.
using Mask = std::array<std::uint64_t, 2>;

// The entries of one pass.
struct Index {
    std::vector<Entry> entries;
    std::array<Mask, 256> lastByte{};    // entries whose frames end in that byte
    std::array<Mask, 256> beforeLast{};  // entries whose frames have it one byte before their end
    Mask atReplyEnd{};
    // Bit 0: some entry's frames end in the byte; bit 1: have it one before their end.
    std::array<std::uint8_t, 256> worth{};

    void add(const Entry& entry, std::string_view ends, std::size_t fromEnd) {
        const std::size_t n = entries.size();
        entries.push_back(entry);
        Mask bit{};
        bit[n / 64] = std::uint64_t{1} << (n % 64);
        if (entry.atReplyEnd) {
            orInto(atReplyEnd, bit);
        }
        for (const char c : ends) {
            const auto byte = static_cast<unsigned char>(c);
            orInto((fromEnd == 1 ? lastByte : beforeLast)[byte], bit);
            worth[byte] |= fromEnd == 1 ? 1 : 2;
        }
    }
    static void orInto(Mask& into, const Mask& from) {
        into[0] |= from[0];
        into[1] |= from[1];
    }
};

// The bytes a row's frames end in, and how far from the end: a text or status field last, or
// one before a last byte of any value. A row ending in a number of no fixed length or in any
// bytes up to the reply's end is tried at the reply's end only.
void addLayout(Index& index, const Layout& layout) {
    Entry entry{.layout = &layout};
    const bool fixedSize = std::none_of(layout.fields.begin(), layout.fields.end(),
                                        [](const Field& f) { return f.size == 0; });
    if (fixedSize && layout.fields.front().kind == Kind::Text) {
        for (const Field& field : layout.fields) {
            entry.size += field.size;
        }
        entry.first = layout.fields.front().text.front();
    }
    auto fields = layout.fields;
    std::size_t fromEnd = 1;
    if (fields.size() > 1 && fields.back().kind == Kind::Any && fields.back().size == 1) {
        fields = fields.first(fields.size() - 1);
        fromEnd = 2;
    }
    const Field& last = fields.back();
    if (layout.place == Place::WholeReply || last.kind == Kind::Rest ||
        (last.kind != Kind::Text && !(last.kind == Kind::Status && last.size == 1))) {
        entry.atReplyEnd = true;
        index.add(entry, {}, fromEnd);
    } else if (last.kind == Kind::Text) {
        index.add(entry, last.text.substr(last.text.size() - 1), fromEnd);
    } else {
        std::string ends;
        for (const Code& code : last.codes) {
            ends += code.bytes;
        }
        index.add(entry, ends, fromEnd);
    }
}

const Index& index(Pass pass) {
    static const std::array<Index, 2> built = [] {
        std::array<Index, 2> indexes;
        Index& marked = indexes[static_cast<std::size_t>(Pass::Marked)];
        for (const FileFamily& family : fileFamilies()) {
            marked.add({.parse = family.parse}, std::string_view(&family.marker, 1),
                       family.fromEnd);
        }
        for (const Layout& layout : layouts()) {
            addLayout(
                indexes[static_cast<std::size_t>(layout.unmarked ? Pass::Unmarked : Pass::Marked)],
                layout);
        }
        return indexes;
    }();
    return built[static_cast<std::size_t>(pass)];
}

Match frameEndingAt(std::string_view bytes, std::size_t end, Reading& reading, const Index& idx) {
    const auto last = static_cast<unsigned char>(bytes[end - 1]);
    const unsigned char beforeLast = end >= 2 ? static_cast<unsigned char>(bytes[end - 2]) : 0;
    if ((idx.worth[last] & 1) == 0 && (idx.worth[beforeLast] & 2) == 0 && end != bytes.size()) {
        return {};  // most ends, in noise as in frames
    }
    Mask mask = idx.lastByte[last];
    if (end >= 2) {
        Index::orInto(mask, idx.beforeLast[beforeLast]);
    }
    if (end == bytes.size()) {
        Index::orInto(mask, idx.atReplyEnd);
    }
    for (std::size_t word = 0; word < mask.size(); ++word) {
        for (std::uint64_t bits = mask[word]; bits != 0; bits &= bits - 1) {
            const Entry& entry =
                idx.entries[word * 64 + static_cast<std::size_t>(std::countr_zero(bits))];
            if (entry.size != 0 && (end < entry.size || bytes[end - entry.size] != entry.first)) {
                continue;
            }
            const Match match = entry.parse ? entry.parse(bytes, end, reading)
                                            : matchLayout(*entry.layout, bytes, end, reading);
            if (match.verdict != Verdict::None) {
                return match;
            }
        }
    }
    return {};
}

// Where frames of the families with marks start: the whole frames beginning with each byte.
const std::array<std::vector<std::string_view>, 256>& startsByFirstByte() {
    static const auto built = [] {
        std::array<std::vector<std::string_view>, 256> starts;
        for (const FamilyInfo& family : familyInfos()) {
            for (const std::string_view whole : family.starts) {
                starts[static_cast<unsigned char>(whole.front())].push_back(whole);
            }
        }
        return starts;
    }();
    return built;
}

}  // namespace

std::optional<Reading> lastFrame(std::string_view bytes, Pass pass, bool* saysNoReading) {
    const Index& idx = index(pass);
    Reading reading;
    std::size_t limit = bytes.size();  // no frame may end past this
    std::size_t tried = limit + 1;     // the last end tried: ends only go down
    enum class Next { On, Found, Back };
    Verdict found = Verdict::None;
    const auto tryEnd = [&](std::size_t end) {
        if (end > limit || end >= tried || end == 0) {
            return Next::On;
        }
        tried = end;
        const auto match = frameEndingAt(bytes, end, reading, idx);
        if (match.verdict == Verdict::Damaged) {
            // The damaged frame is passed over whole: a frame may end where it starts.
            limit = match.start;
            tried = limit + 1;
            return Next::Back;
        }
        found = match.verdict;
        return found == Verdict::None ? Next::On : Next::Found;
    };
    // Every end worth a look is next to a byte some frame ends in, or one before a last byte
    // of any value, or where the reply (or a damaged frame) ends: one look at each byte finds
    // them, the last first.
    std::size_t i = limit;  // the bytes from here on have been looked at
    for (Next next = tryEnd(limit); next != Next::Found;) {
        if (next == Next::Back) {
            i = limit;
            next = tryEnd(limit);
            continue;
        }
        if (i == 0) {
            break;
        }
        const std::uint8_t worth = idx.worth[static_cast<unsigned char>(bytes[--i])];
        if ((worth & 2) != 0) {
            next = tryEnd(i + 2);
        }
        if ((worth & 1) != 0 && next == Next::On) {
            next = tryEnd(i + 1);
        }
    }
    if (saysNoReading != nullptr) {
        *saysNoReading = found == Verdict::NoReading;
    }
    return found == Verdict::Reading ? std::optional(reading) : std::nullopt;
}

// A frame cut short: from some byte on, the reply is the start of a frame of a family with
// marks, which the rest of a whole one completes: the bytes the whole frame has from there
// on, or, where the cut frame's fields run longer, what the whole one has after its last
// digit or from its point. Two bytes at least, so that a stray STX or letter at the end of
// noise is not taken for one.
bool endsInPartialFrame(std::string_view bytes) {
    constexpr std::size_t shortest = 2;
    constexpr std::size_t longestFrame = 96;
    constexpr std::size_t longerFields = 16;  // than the whole frame's, where fields vary
    std::string completed;
    Reading reading;
    const auto completes = [&](std::string_view cut, std::string_view rest) {
        completed.assign(cut);
        completed.append(rest);
        // The frame completed starts where the cut does: one that fits in the rest alone
        // says nothing of the cut.
        const auto match = frameEndingAt(completed, completed.size(), reading, index(Pass::Marked));
        return match.verdict != Verdict::None && match.start == 0;
    };
    const std::size_t from = bytes.size() > longestFrame ? bytes.size() - longestFrame : 0;
    for (std::size_t start = from; start + shortest <= bytes.size(); ++start) {
        const auto cut = bytes.substr(start);
        for (const std::string_view whole :
             startsByFirstByte()[static_cast<unsigned char>(cut.front())]) {
            if (cut.size() > whole.size() + longerFields) {
                continue;
            }
            if (cut.size() < whole.size() && completes(cut, whole.substr(cut.size()))) {
                return true;
            }
            const auto closing = whole.substr(whole.find_last_of("0123456789") + 1);
            for (std::size_t k = 0; k < closing.size(); ++k) {
                if (completes(cut, closing.substr(k))) {
                    return true;
                }
            }
            // A weight cut before its point, where the frame needs one.
            const auto point = whole.find_last_of(".,");
            if (point != std::string_view::npos && completes(cut, whole.substr(point))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace detail

Decoded decode(std::string_view bytes) {
    using namespace detail;
    Decoded decoded;
    bool saysNoReading = false;
    decoded.reading = lastFrame(bytes, Pass::Marked, &saysNoReading);
    if (decoded.reading) {
        return decoded;
    }
    // A whole frame saying the scale has no weight to give ends the reply: nothing cut short
    // follows it, and no unmarked family reads it.
    if (saysNoReading) {
        decoded.hint = hintFor(bytes);
        return decoded;
    }
    // Each pass's frames hidden by bit 7 come before what the next pass would make of the
    // bytes, and a frame of a family with marks cut short is that family's, never an
    // unmarked one's.
    const SevenBits sevenBits(bytes);
    if (sevenBits.hideAFrame(Pass::Marked)) {
        decoded.hint = Hint::SevenBits;
        return decoded;
    }
    if (endsInPartialFrame(bytes)) {
        decoded.hint = Hint::Partial;
        return decoded;
    }
    decoded.reading = lastFrame(bytes, Pass::Unmarked);
    if (!decoded.reading) {
        decoded.hint = sevenBits.hideAFrame(Pass::Unmarked) ? Hint::SevenBits : hintFor(bytes);
    }
    return decoded;
}

}  // namespace vardelmo::reading
