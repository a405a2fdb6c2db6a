// The one matcher of the layout table: fixed fields from the frame's start, and at most one
// number of no fixed length, found by walking back from the fields after it.
#include "reading/layout.h"

#include <algorithm>
#include <string>

#include "reading/decimal_text.h"

namespace vardelmo::reading::detail {

namespace {

bool numberChar(char c, const Number& number) {
    return isDigit(c) || c == ' ' || number.points.find(c) != std::string_view::npos ||
           (number.signInside && c == '-');
}

const Code* codeFor(std::string_view bytes, std::span<const Code> codes) {
    for (const Code& code : codes) {
        if (code.bytes.empty() ||
            (bytes.size() == 1 ? code.bytes.find(bytes.front()) != std::string_view::npos
                               : code.bytes == bytes)) {
            return &code;
        }
    }
    return nullptr;
}

std::optional<std::string> readNumber(std::string_view field, const Number& number, bool negative) {
    std::string text(field);
    if (number.reversed) {
        std::reverse(text.begin(), text.end());
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    text.erase(0, first);
    if (number.padRight) {
        text.erase(text.find_last_not_of(' ') + 1);
    }
    if (number.signInside && text.front() == '-') {
        negative = true;
        text.erase(0, 1);
    }
    if (number.spacesAsZeros) {
        std::replace(text.begin(), text.end(), ' ', '0');
    }
    if (text.find_first_of(number.points) != std::string::npos) {
        return writtenNumber(text, number.points, negative);
    }
    if (number.scale < 0 || text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) {
        return std::nullopt;
    }
    return decimalText(text, number.scale, negative);
}

// Where the frame ending at `end` starts: fixed fields only, or the one number of no fixed
// length walked back over from the fields after it.
std::optional<std::size_t> startOf(const Layout& layout, std::string_view bytes, std::size_t end,
                                   std::size_t& runningSize) {
    std::size_t before = 0;
    std::size_t after = 0;
    const Field* running = nullptr;
    for (const Field& field : layout.fields) {
        if (field.size == 0 && field.kind == Kind::Weight) {
            running = &field;
        } else {
            (running ? after : before) += field.size;
        }
    }
    if (end < before + after) {
        return std::nullopt;
    }
    if (!running) {
        return end - before - after;
    }
    const std::size_t runEnd = end - after;
    std::size_t runStart = runEnd;
    while (runStart > before && runEnd - runStart < running->number.longest &&
           numberChar(bytes[runStart - 1], running->number)) {
        --runStart;
    }
    runningSize = runEnd - runStart;
    if (runningSize == 0) {
        return std::nullopt;
    }
    return runStart - before;
}

}  // namespace

Match matchLayout(const Layout& layout, std::string_view bytes, std::size_t end, Reading& reading) {
    if (layout.place == Place::WholeReply && end != bytes.size()) {
        return {};
    }
    if (!layout.fields.empty() && layout.fields.back().kind == Kind::Rest) {
        // Whatever follows the fields is the frame's too: the last start that fits is the one.
        if (end != bytes.size()) {
            return {};
        }
        const Layout fixed{layout.protocol, layout.fields.first(layout.fields.size() - 1),
                           Place::Anywhere, layout.unmarked, layout.state};
        std::size_t size = 0;
        for (const Field& field : fixed.fields) {
            size += field.size;
        }
        // Such a row starts with a text: only where its first byte stands is a start tried.
        const char first = fixed.fields.front().text.front();
        for (std::size_t start = end >= size ? end - size + 1 : 0; start-- > 0;) {
            if (bytes[start] != first) {
                continue;
            }
            const auto match = matchLayout(fixed, bytes, start + size, reading);
            if (match.verdict != Verdict::None) {
                return match;
            }
        }
        return {};
    }
    std::size_t runningSize = 0;
    const auto start = startOf(layout, bytes, end, runningSize);
    if (!start || (layout.place == Place::WholeReply && *start != 0)) {
        return {};
    }
    std::optional<std::string> weight, tare;
    const Code* said = nullptr;  // what a status field says
    std::string_view unitName = "kg";
    std::optional<bool> isNet;
    bool minus = false;  // a sign field's '-', for the number after it
    bool weightNegative = false;
    std::size_t at = *start;
    for (const Field& field : layout.fields) {
        const std::size_t size =
            field.size == 0 && field.kind == Kind::Weight ? runningSize : field.size;
        const auto here = bytes.substr(at, size);
        switch (field.kind) {
            case Kind::Text:
                if (here != field.text) {
                    return {};
                }
                break;
            case Kind::Any:
            case Kind::Rest:
                break;
            case Kind::After:
                if (at > 0 && field.text.find(bytes[at - 1]) == std::string_view::npos) {
                    return {};
                }
                break;
            case Kind::Sign:
                minus = here.front() == '-';
                if (!minus && !field.text.empty() &&
                    field.text.find(here.front()) == std::string_view::npos) {
                    return {};
                }
                break;
            case Kind::Status:
            case Kind::Unit:
            case Kind::Net: {
                const Code* code = codeFor(here, field.codes);
                if (!code) {
                    return {};
                }
                if (field.kind == Kind::Status) {
                    said = code;
                } else if (field.kind == Kind::Unit) {
                    unitName = code->unit;
                } else {
                    isNet = code->net;
                }
                break;
            }
            case Kind::Weight:
            case Kind::Tare:
            case Kind::Gross: {
                auto number = readNumber(here, field.number, minus);
                const bool negative = minus || (number && number->front() == '-');
                minus = false;
                if (!number) {
                    // A frame saying it has no weight may hold something else there: a
                    // count, say. Its shape is all that is asked of it.
                    if (!said || !said->noReading ||
                        !std::all_of(here.begin(), here.end(),
                                     [&](char c) { return numberChar(c, field.number); })) {
                        return {};
                    }
                } else if (field.kind == Kind::Weight) {
                    weight = std::move(number);
                    weightNegative = negative && weight->front() == '-';
                } else if (field.kind == Kind::Tare) {
                    if (negative) {
                        return {};  // a tare below zero is not described anywhere
                    }
                    tare = std::move(number);
                }
                break;
            }
        }
        at += size;
    }
    if (said && said->noReading) {
        return {Verdict::NoReading, *start};
    }
    reading = Reading{.protocol = std::string(layout.protocol), .unit = std::string(unitName)};
    const std::optional<State> told = said ? said->state : layout.state;
    if (told == State::Overload) {
        reading.state = State::Overload;
    } else if (weightNegative || told == State::Negative) {
        reading.state = State::Negative;
        // A scale that says "below zero" with digits and no sign does not say whether the
        // digits are the amount below zero: no weight is read from them.
        if (weightNegative) {
            reading.weight = std::move(weight);
        }
    } else {
        reading.state = told;
        reading.weight = std::move(weight);
    }
    reading.net = isNet;
    reading.tare = std::move(tare);
    return {Verdict::Reading, *start};
}

}  // namespace vardelmo::reading::detail
