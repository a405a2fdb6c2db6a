#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {
namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kAck = 0x06;
constexpr long long kCapacityGrams = 99'999;  // five digits of grams in the Stx5 frame
constexpr long long kFieldGrams = 999'999;    // what "###.###" can hold

enum class Reading { Stable, Motion, Underload, Overload };

// llround of a value outside long long is undefined, and a NaN reading is no weight at all:
// both are read as beyond capacity.
long long toGrams(double kg) {
    const double grams = kg * 1000.0;
    if (std::isnan(grams)) {
        return kCapacityGrams + 1;
    }
    return std::llround(std::clamp(grams, -1e15, 1e15));
}

Reading classify(long long grams, State state) {
    if (state == State::Overload) {
        return Reading::Overload;
    }
    if (state == State::Negative) {
        return Reading::Underload;
    }
    if (grams > kCapacityGrams) {
        return Reading::Overload;
    }
    if (grams < 0) {
        return Reading::Underload;
    }
    return state == State::Motion ? Reading::Motion : Reading::Stable;
}

char letter(Reading reading) {
    switch (reading) {
        case Reading::Stable:
            return 'G';
        case Reading::Motion:
            return 'M';
        case Reading::Overload:
            return 'O';
        case Reading::Underload:
            return 'U';
    }
    return '?';
}

// Integers only: printf's %f would follow LC_NUMERIC and could print a comma.
std::string signedField(long long grams, Reading reading) {
    const bool negative = grams < 0 || reading == Reading::Underload;
    const long long magnitude = std::min(std::llabs(grams), kFieldGrams);
    char text[48];
    std::snprintf(text, sizeof text, "%c%3lld.%03lld", negative ? '-' : '+', magnitude / 1000,
                  magnitude % 1000);
    return text;
}

std::string stx5Body(long long grams, Reading reading) {
    switch (reading) {
        case Reading::Motion:
            return "IIIII";
        case Reading::Underload:
            return "NNNNN";
        case Reading::Overload:
            return "SSSSS";
        case Reading::Stable:
            break;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%05lld", grams);
    return text;
}

}  // namespace

std::string frame(Format format, double weightKg, State state) {
    if (state == State::Silent) {
        return {};
    }
    const long long grams = toGrams(weightKg);
    const Reading reading = classify(grams, state);
    switch (format) {
        case Format::Stx5:
            return kStx + stx5Body(grams, reading) + kEtx;
        case Format::Status:
            return kStx + signedField(grams, reading) + letter(reading) + kEtx;
        case Format::Line:
            return signedField(grams, reading) + " kg " + letter(reading) + "\r\n";
        case Format::Ack:
            return std::string(1, kAck);
    }
    return {};
}

}  // namespace vardelmo::vscale
