#include "query/watch_summary.h"

#include <algorithm>

namespace vardelmo::query {
namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal text as sign and magnitude, the magnitude without the zeros that change nothing,
// so that magnitudes compare as texts.
struct Decimal {
    int sign = 0;  // -1, 0 or 1; zero has no sign
    std::string_view whole;
    std::string_view fraction;
};

std::optional<Decimal> parse(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string_view whole = text;
    std::string_view fraction;
    if (const auto point = text.find('.'); point != std::string_view::npos) {
        whole = text.substr(0, point);
        fraction = text.substr(point + 1);
        if (fraction.empty()) {
            return std::nullopt;
        }
    }
    if (whole.empty() || !allDigits(whole) || !allDigits(fraction)) {
        return std::nullopt;
    }
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    const auto last = fraction.find_last_not_of('0');
    fraction = fraction.substr(0, last == std::string_view::npos ? 0 : last + 1);
    const bool zero = whole.empty() && fraction.empty();
    return Decimal{zero ? 0 : (negative ? -1 : 1), whole, fraction};
}

int compareMagnitudes(const Decimal& a, const Decimal& b) {
    if (a.whole.size() != b.whole.size()) {
        return a.whole.size() < b.whole.size() ? -1 : 1;
    }
    if (const int whole = a.whole.compare(b.whole); whole != 0) {
        return whole;
    }
    // Without trailing zeros a shorter fraction that is a prefix of the other is the smaller.
    return a.fraction.compare(b.fraction);
}

}  // namespace

std::optional<int> compareDecimals(std::string_view a, std::string_view b) {
    const auto x = parse(a);
    const auto y = parse(b);
    if (!x || !y) {
        return std::nullopt;
    }
    if (x->sign != y->sign) {
        return x->sign < y->sign ? -1 : 1;
    }
    const int magnitudes = compareMagnitudes(*x, *y);
    return x->sign < 0 ? -magnitudes : magnitudes;
}

void WatchSummary::add(const Observation& observation) {
    ++figures_.requests;
    if (observation.failed) {
        ++figures_.failures;
    }
    if (observation.silent) {
        ++figures_.silent;
    }
    if (!observation.understood) {
        return;
    }
    ++figures_.understood;

    // A weight that is no decimal text stays out of the extremes, which hold decimals only.
    if (observation.weight && parse(*observation.weight)) {
        const std::string& weight = *observation.weight;
        if (!figures_.lowest || *compareDecimals(weight, *figures_.lowest) < 0) {
            figures_.lowest = weight;
        }
        if (!figures_.highest || *compareDecimals(weight, *figures_.highest) > 0) {
            figures_.highest = weight;
        }
    }

    switch (observation.steadiness) {
        case Steadiness::InMotion:
            if (!motionSince_) {
                motionSince_ = observation.start;
                figures_.settledAfter.reset();
            }
            break;
        case Steadiness::Stable:
            if (motionSince_) {
                figures_.settledAfter = std::chrono::floor<std::chrono::milliseconds>(
                    observation.start - *motionSince_);
                motionSince_.reset();
            }
            break;
        case Steadiness::Unknown:
            break;
    }
    figures_.inMotionAtEnd = motionSince_.has_value();
}

}  // namespace vardelmo::query
