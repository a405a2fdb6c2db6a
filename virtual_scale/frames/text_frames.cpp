// The families whose frames are a weight written out, between fixed bytes, with a mark for
// the state: they differ only in layout, so each is a row here rather than a file.
#include <algorithm>
#include <array>
#include <string_view>

#include "virtual_scale/frames/reading.h"

namespace vardelmo::vscale::frames {
namespace {

enum class Sign { None, PlusMinus, SpaceMinus };

// How a family writes the weight. `width` 0: as long as it comes, unpadded. `decimals` 3: kg
// with `point` before the grams; 0: the grams alone. A weight the width cannot hold shows
// as all nines, as a full field would.
struct WeightField {
    int width = 0;
    int decimals = 3;
    char pad = '0';
    char point = '.';
    Sign sign = Sign::None;
    bool reversed = false;  // AFTS sends the text backwards
};

// What a frame says in one condition: nothing at all (`sent` false), or the frame with `mark`
// in place of %m and, when `body` is set, `body` in place of the signed weight (%w).
struct Said {
    bool sent = true;
    std::string_view mark;
    std::string_view body;
};

constexpr Said mark(std::string_view text) {
    return Said{true, text, {}};
}
constexpr Said body(std::string_view text) {
    return Said{true, {}, text};
}
constexpr Said kNothing{false, {}, {}};

struct TextFamily {
    Format format;
    std::string_view pattern;  // %w the weight with its sign, %m the state's mark
    WeightField weight;
    std::array<Said, 4> said;  // in the order of Condition: stable, motion, under, overload
};

// A frame that tells no state says the weight in motion as it stands, and has no way to say
// a weight below zero or above the capacity: the scale sends nothing then, as one that
// cannot weigh.
constexpr std::array<Said, 4> kStateNotTold{mark(""), mark(""), kNothing, kNothing};

constexpr std::array kFamilies{
    TextFamily{Format::ToledoB,
               "\x02%w\x03",
               {5, 0},
               {mark(""), body("IIIII"), body("NNNNN"), body("SSSSS")}},
    TextFamily{Format::ToledoC,
               "\x02%w\r",
               {5, 0},
               {mark(""), body("IIIII"), body("NNNNN"), body("SSSSS")}},
    TextFamily{Format::ToledoBSelf,
               "\x02%w\x03",
               {7, 3, '0', ',', Sign::PlusMinus},
               {mark(""), body("+III,III"), body("-III,III"), body("+SSS,SSS")}},
    TextFamily{Format::StGs,
               "%m,GS,%wkg\r\n",
               {7, 3, ' ', '.', Sign::PlusMinus},
               {mark("ST"), mark("US"), mark("ST"), mark("OL")}},
    TextFamily{Format::StGs19,
               "%m,GS,%w  kg\r\n",
               {8, 3, ' ', '.', Sign::PlusMinus},
               {mark("ST"), mark("US"), mark("ST"), mark("OL")}},
    // The tare in use is the line's weight: the scale shows the tare it holds.
    TextFamily{Format::StGsTr,
               "%m,TR,%wkg\r\n",
               {7, 3, ' ', '.', Sign::PlusMinus},
               {mark("ST"), mark("US"), mark("ST"), mark("OL")}},
    TextFamily{Format::Status,
               "\x02%w%m\x03",
               {7, 3, ' ', '.', Sign::PlusMinus},
               {mark("G"), mark("M"), mark("U"), mark("O")}},
    TextFamily{Format::Line,
               "%w kg %m\r\n",
               {7, 3, ' ', '.', Sign::PlusMinus},
               {mark("G"), mark("M"), mark("U"), mark("O")}},
    TextFamily{Format::Bcs21,
               "\x02%m%w\r",
               {8, 3, '0', '.', Sign::PlusMinus},
               {mark("S"), mark("D"), mark("S"), kNothing}},
    TextFamily{Format::Lider, "\x01%w %m\x02", {7}, {mark("E"), mark("I"), kNothing, kNothing}},
    // Urano prints a ticket: printer controls around the text (these are the one capture's).
    TextFamily{Format::Urano,
               "\x1bT1\x1b"
               "A13\x1bN0\x1bS2\x1b"
               "D4\x1bQ193\x1b"
               "B %m PESO:%wkg\x1b"
               "E\x1bP01",
               {0, 3, ' ', ',', Sign::SpaceMinus},
               {mark("*"), mark(" "), mark("*"), kNothing}},
    TextFamily{Format::UranoPop, "PESO L: %wkg", {0, 3, ' ', ','}, kStateNotTold},
    TextFamily{Format::UranoPopBare, "%w kg", {6, 3, ' ', ','}, kStateNotTold},
    TextFamily{Format::Magna,
               "\t %wkg\r",
               {0, 3, ' ', ','},
               {mark(""), mark(""), body("NNNNN"), kNothing}},
    TextFamily{Format::DigitronUl, "E%w", {6}, kStateNotTold},
    TextFamily{Format::Alfa, "    %w", {6}, kStateNotTold},
    TextFamily{Format::Afts, "=%w", {7, 3, '0', '.', Sign::None, true}, kStateNotTold},
    TextFamily{Format::Muller, "\x02+%w\x03", {6}, kStateNotTold},
    TextFamily{Format::Saturno, "%w%m\r\n", {6}, {mark("E"), mark("O"), kNothing, kNothing}},
    // The letter of a stable weight is not named; 'S' is none of the named ones, and the STX
    // keeps the frame from looking like el05's.
    TextFamily{
        Format::Precision, "\x02%m%w\r", {6, 0}, {mark("S"), mark("A"), mark("H"), kNothing}},
    TextFamily{Format::Lenke, "\x02%w%m\r", {7, 0}, {mark("  "), mark("MP"), mark("MN"), kNothing}},
    TextFamily{Format::Marel,
               "\x02"
               "0000000000000%w\r\n",
               {9, 3, ' '},
               kStateNotTold},
    // The byte before the CR is any value: a digit, which would change the weight were it
    // read as part of it.
    TextFamily{Format::Capital, "E%w5\r", {6}, kStateNotTold},
    TextFamily{Format::Condec,
               "\x02%wKG%m\r\n",
               {7, 3, '0', '.', Sign::SpaceMinus},
               {mark(" "), mark("M"), mark(" "), mark("O")}},
    TextFamily{Format::El05, "D%w\r", {6, 0}, kStateNotTold},
    TextFamily{Format::TruTest, "[%m%w]", {0}, {mark(""), mark("U"), kNothing, kNothing}},
};

std::string weightText(const Reading& reading, const WeightField& field) {
    const bool negative = reading.grams < 0 || reading.condition == Condition::Underload;
    long long magnitude = reading.grams < 0 ? -reading.grams : reading.grams;
    if (field.width > 0) {
        long long largest = 1;  // in grams: the field's digits less the point and the grams'
        for (int i = field.decimals == 3 ? 4 : 0; i < field.width; ++i) {
            largest *= 10;
        }
        magnitude = std::min(magnitude, (field.decimals == 3 ? largest * 1000 : largest) - 1);
    }
    std::string text = field.decimals == 3 ? kg(magnitude, field.point) : std::to_string(magnitude);
    if (field.width > 0 && text.size() < static_cast<std::size_t>(field.width)) {
        text.insert(0, static_cast<std::size_t>(field.width) - text.size(), field.pad);
    }
    if (field.reversed) {
        text.assign(text.rbegin(), text.rend());
    }
    switch (field.sign) {
        case Sign::None:
            return text;
        case Sign::PlusMinus:
            return (negative ? "-" : "+") + text;
        case Sign::SpaceMinus:
            return (negative ? "-" : " ") + text;
    }
    return text;
}

}  // namespace

std::optional<std::string> textFrame(Format format, const Reading& reading) {
    for (const auto& family : kFamilies) {
        if (family.format != format) {
            continue;
        }
        const Said& said = family.said[static_cast<std::size_t>(reading.condition)];
        if (!said.sent) {
            return std::string();
        }
        const std::string weight =
            said.body.empty() ? weightText(reading, family.weight) : std::string(said.body);
        std::string frame;
        for (std::size_t i = 0; i < family.pattern.size(); ++i) {
            const bool field = family.pattern[i] == '%' && i + 1 < family.pattern.size();
            if (field && family.pattern[i + 1] == 'w') {
                frame += weight;
                ++i;
            } else if (field && family.pattern[i + 1] == 'm') {
                frame += said.mark;
                ++i;
            } else {
                frame += family.pattern[i];
            }
        }
        return frame;
    }
    return std::nullopt;
}

}  // namespace vardelmo::vscale::frames
