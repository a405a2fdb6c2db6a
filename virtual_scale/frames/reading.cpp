#include "virtual_scale/frames/reading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vardelmo::vscale::frames {
namespace {

// llround of a value outside long long is undefined, and a NaN reading is no weight at all:
// both are read as beyond capacity.
long long toGrams(double kg) {
    const double grams = kg * 1000.0;
    if (std::isnan(grams)) {
        return kCapacityGrams + 1;
    }
    return std::llround(std::clamp(grams, -1e15, 1e15));
}

}  // namespace

Reading readingOf(double kg, State state) {
    Reading reading;
    reading.grams = toGrams(kg);
    if (state == State::Overload) {
        reading.condition = Condition::Overload;
    } else if (state == State::Negative) {
        reading.condition = Condition::Underload;
    } else if (reading.grams > kCapacityGrams) {
        reading.condition = Condition::Overload;
    } else if (reading.grams < 0) {
        reading.condition = Condition::Underload;
    } else if (state == State::Motion) {
        reading.condition = Condition::Motion;
    }
    return reading;
}

long long totalCents(long long grams) {
    return grams * kPriceCentsPerKg / 1000;
}

std::string digits(long long value, int width) {
    long long largest = 1;
    for (int i = 0; i < width; ++i) {
        largest *= 10;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%0*lld", width, std::clamp(value, 0LL, largest - 1));
    return text;
}

// Integers only: printf's %f would follow LC_NUMERIC and could print a comma.
std::string signedKg(const Reading& reading) {
    constexpr long long kFieldGrams = 999'999;  // what "###.###" can hold
    const bool negative = reading.grams < 0 || reading.condition == Condition::Underload;
    const long long magnitude = std::min(std::llabs(reading.grams), kFieldGrams);
    char text[48];
    std::snprintf(text, sizeof text, "%c%3lld.%03lld", negative ? '-' : '+', magnitude / 1000,
                  magnitude % 1000);
    return text;
}

char statusLetter(Condition condition) {
    switch (condition) {
        case Condition::Stable:
            return 'G';
        case Condition::Motion:
            return 'M';
        case Condition::Overload:
            return 'O';
        case Condition::Underload:
            return 'U';
    }
    return '?';
}

}  // namespace vardelmo::vscale::frames
