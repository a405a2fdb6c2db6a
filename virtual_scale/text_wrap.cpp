#include "virtual_scale/text_wrap.h"

#include <optional>
#include <vector>

namespace vardelmo::vscale {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
// An item's label ends before this column; a wider gap is no label's.
constexpr std::size_t kLabelsEndBefore = 30;

std::size_t indentOf(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    return first == kNone ? line.size() : first;
}

// Where an item's description starts: after the first run of two or more spaces behind its
// label; an option ("-d, --delay MS") whose label runs into its description with one space
// has it at the options' own column. kNone for a plain line.
std::size_t descriptionStart(std::string_view line, std::size_t optionColumn) {
    const std::size_t indent = indentOf(line);
    const auto gap = line.find("  ", indent);
    if (gap != kNone && gap < kLabelsEndBefore) {
        const auto start = line.find_first_not_of(' ', gap);
        return start == kNone ? kNone : start;
    }
    if (line.substr(indent, 1) == "-" && optionColumn > indent && optionColumn < line.size() &&
        line[optionColumn - 1] == ' ' && line[optionColumn] != ' ') {
        return optionColumn;
    }
    return kNone;
}

// The words of a line's text: single spaces part them, longer runs are part of a word.
std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lone = text[i] == ' ' && (i == 0 || text[i - 1] != ' ') &&
                          (i + 1 == text.size() || text[i + 1] != ' ');
        if (lone) {
            words.push_back(word);
            word.clear();
        } else {
            word += text[i];
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

std::string_view trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    if (first == kNone) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

struct Paragraph {
    std::string prefix;  // the indent, or an item's label with the gap after it
    std::vector<std::string> words;
    std::size_t indent = 0;
    std::size_t description = kNone;  // an item's description column
    std::optional<std::size_t> hang;  // the indent of its second line on, once seen
    std::string_view last;            // its last line as laid out

    // Without a second line to go by: under an item's description, two deeper; an indented
    // "name: ..." hangs two deeper too, as an item does.
    std::size_t hanging() const {
        if (hang) {
            return *hang;
        }
        if (description != kNone) {
            return description + 2;
        }
        return indent > 0 && !words.empty() && words.front().ends_with(':') ? indent + 2 : indent;
    }
};

bool continues(const Paragraph& p, std::string_view line, bool item, std::size_t laidOutAt) {
    const std::size_t indent = indentOf(line);
    const std::string_view words = trimmed(line);
    const std::size_t firstWord = std::min(words.find(' '), words.size());
    const bool deeper = indent > p.indent;
    if (item || p.last.ends_with(':') || p.last.size() + 1 + firstWord <= laidOutAt ||
        (p.hang ? indent != *p.hang : p.description != kNone && !deeper) || indent < p.indent) {
        return false;
    }
    // Indented at the paragraph's own depth, a sentence's end ends it.
    return deeper || p.indent == 0 || !p.last.ends_with('.');
}

void put(const Paragraph& p, std::size_t width, std::string& out) {
    std::string line = p.prefix;
    bool empty = true;  // no word on this line yet
    for (const std::string& word : p.words) {
        if (!empty && line.size() + 1 + word.size() > width) {
            out += line + '\n';
            line.assign(p.hanging(), ' ');
            empty = true;
        }
        line += (empty ? "" : " ") + word;
        empty = false;
    }
    out += line + '\n';
}

}  // namespace

std::string refill(std::string_view text, std::size_t width, std::size_t laidOutAt) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::size_t optionColumn = kNone;
    for (const std::string_view line : lines) {
        const auto start = descriptionStart(line, kNone);
        if (optionColumn == kNone && start != kNone && line.substr(indentOf(line), 1) == "-") {
            optionColumn = start;
        }
    }

    std::string out;
    std::optional<Paragraph> open;
    for (const std::string_view line : lines) {
        if (trimmed(line).empty()) {
            if (open) {
                put(*open, width, out);
                open.reset();
            }
            out += '\n';
            continue;
        }
        const std::size_t description = descriptionStart(line, optionColumn);
        if (open && continues(*open, line, description != kNone, laidOutAt)) {
            open->hang = indentOf(line);
            for (std::string& word : wordsOf(trimmed(line))) {
                open->words.push_back(std::move(word));
            }
            open->last = line;
            continue;
        }
        if (open) {
            put(*open, width, out);
        }
        Paragraph next;
        next.indent = indentOf(line);
        next.description = description;
        const std::size_t textStart = description != kNone ? description : next.indent;
        next.prefix = std::string(line.substr(0, textStart));
        next.words = wordsOf(trimmed(line.substr(textStart)));
        next.last = line;
        open = std::move(next);
    }
    if (open) {
        put(*open, width, out);
    }
    return out;
}

}  // namespace vardelmo::vscale
