#pragma once

#include <string>

#include "virtual_scale/virtual_scale.h"

// What every frame family starts from: the reading on the plate, in whole grams, and what
// the scale makes of it. Each family then says it in its own bytes (one file a family).
namespace vardelmo::vscale::frames {

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kAck = 0x06;
inline constexpr char kCr = 0x0d;
inline constexpr char kLf = 0x0a;

// The scale weighs up to 99.999 kg: five digits of grams, the toledo-b body.
inline constexpr long long kCapacityGrams = 99'999;

// The price-computing families price every kilogram at 20.00. Twenty, not ten, so that the
// total (2 cents a gram, always exact) never has the weight's own digits.
inline constexpr long long kPriceCentsPerKg = 2000;

enum class Condition { Stable, Motion, Underload, Overload };

struct Reading {
    long long grams = 0;  // may be negative, or beyond the capacity
    Condition condition = Condition::Stable;
};

// The weight rounded to whole grams (halves away from zero) and its condition: the states
// overload and negative first, then a weight above the capacity (an overload) or below zero
// (an underload), then motion. A NaN weight is an overload.
Reading readingOf(double kg, State state);

// The total price of `grams` at kPriceCentsPerKg, in cents; exact, no floating point.
long long totalCents(long long grams);

// `value` (0 or more) in `width` digits, zero-padded; a larger value shows as all nines.
std::string digits(long long value, int width);

// The sign ('-' for a negative weight or an underload), then the magnitude in kg with three
// decimals in seven characters, space-padded ("+  1.234"); the field stops at 999.999.
std::string signedKg(const Reading& reading);

// One function a family; each returns the whole frame for a reading.
std::string toledoB(const Reading& reading);
std::string toledoC(const Reading& reading);
std::string toledoA(const Reading& reading);
std::string p03(const Reading& reading);
std::string stGs(const Reading& reading);
std::string micheletti(const Reading& reading);
std::string status(const Reading& reading);
std::string line(const Reading& reading);

// The five characters toledo-b and toledo-c share.
std::string toledoBody(const Reading& reading);

// The status letter of status and line: G, M, U, O.
char statusLetter(Condition condition);

}  // namespace vardelmo::vscale::frames
