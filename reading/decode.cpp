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
    Pass pass = Pass::Marked;
    bool atReplyEnd = false;  // tried only where the reply ends
};

// Which entries end in a byte, by the byte's value, as bits in the order the entries are
// tried: one look tells which parsers a position is worth.
using Mask = std::array<std::uint64_t, 2>;

struct Index {
    std::vector<Entry> entries;
    std::array<Mask, 256> lastByte{};    // entries whose frames end in that byte
    std::array<Mask, 256> beforeLast{};  // entries whose frames have it one byte before their end
    Mask atReplyEnd{};

    void add(const Entry& entry, std::string_view ends, std::size_t fromEnd) {
        const std::size_t n = entries.size();
        entries.push_back(entry);
        Mask bit{};
        bit[n / 64] = std::uint64_t{1} << (n % 64);
        if (entry.atReplyEnd) {
            orInto(atReplyEnd, bit);
        }
        for (const char c : ends) {
            orInto((fromEnd == 1 ? lastByte : beforeLast)[static_cast<unsigned char>(c)], bit);
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
    Entry entry{.layout = &layout, .pass = layout.unmarked ? Pass::Unmarked : Pass::Marked};
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

const Index& index() {
    static const Index built = [] {
        Index index;
        for (const FileFamily& family : fileFamilies()) {
            index.add({.parse = family.parse}, std::string_view(&family.marker, 1), family.fromEnd);
        }
        for (const Layout& layout : layouts()) {
            addLayout(index, layout);
        }
        return index;
    }();
    return built;
}

Match frameEndingAt(std::string_view bytes, std::size_t end, Reading& reading, Pass pass) {
    const Index& idx = index();
    Mask mask = idx.lastByte[static_cast<unsigned char>(bytes[end - 1])];
    if (end >= 2) {
        Index::orInto(mask, idx.beforeLast[static_cast<unsigned char>(bytes[end - 2])]);
    }
    if (end == bytes.size()) {
        Index::orInto(mask, idx.atReplyEnd);
    }
    for (std::size_t word = 0; word < mask.size(); ++word) {
        for (std::uint64_t bits = mask[word]; bits != 0; bits &= bits - 1) {
            const Entry& entry = idx.entries[word * 64 + std::countr_zero(bits)];
            if (entry.pass != pass) {
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

}  // namespace

std::optional<Reading> lastFrame(std::string_view bytes, Pass pass) {
    Reading reading;
    for (std::size_t end = bytes.size(); end > 0;) {
        const auto match = frameEndingAt(bytes, end, reading, pass);
        switch (match.verdict) {
            case Verdict::Reading:
                return reading;
            case Verdict::NoReading:
                return std::nullopt;
            case Verdict::Damaged:
                end = match.start;  // the damaged frame is passed over whole
                break;
            case Verdict::None:
                --end;
                break;
        }
    }
    return std::nullopt;
}

// A frame cut short: from some byte on, the reply is the start of a whole frame of a family
// with marks, which the rest of that frame completes. Two bytes at least, so that a stray
// STX or letter at the end of noise is not taken for one.
bool endsInPartialFrame(std::string_view bytes) {
    constexpr std::size_t shortest = 2;
    std::string completed;
    Reading reading;
    for (const FamilyInfo& family : familyInfos()) {
        for (const std::string_view whole : family.starts) {
            const std::size_t from =
                bytes.size() >= whole.size() ? bytes.size() - whole.size() + 1 : 0;
            for (std::size_t start = from; start + shortest <= bytes.size(); ++start) {
                const auto cut = bytes.substr(start);
                if (cut.front() != whole.front()) {
                    continue;
                }
                completed.assign(cut);
                completed.append(whole.substr(cut.size()));
                if (frameEndingAt(completed, completed.size(), reading, Pass::Marked).verdict !=
                    Verdict::None) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace detail

Decoded decode(std::string_view bytes) {
    using namespace detail;
    Decoded decoded;
    decoded.reading = lastFrame(bytes, Pass::Marked);
    if (decoded.reading) {
        return decoded;
    }
    if (sevenBits(bytes)) {
        decoded.hint = Hint::SevenBits;
        return decoded;
    }
    // A frame of a family with marks cut short is that family's, never an unmarked one's.
    if (endsInPartialFrame(bytes)) {
        decoded.hint = Hint::Partial;
        return decoded;
    }
    decoded.reading = lastFrame(bytes, Pass::Unmarked);
    if (!decoded.reading) {
        decoded.hint = hintFor(bytes);
    }
    return decoded;
}

}  // namespace vardelmo::reading
