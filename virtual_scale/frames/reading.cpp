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

std::string kg(long long grams, char point) {
    const long long magnitude = grams < 0 ? -grams : grams;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld%c%03lld", grams < 0 ? "-" : "", magnitude / 1000,
                  point, magnitude % 1000);
    return text;
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace vardelmo::vscale::frames
