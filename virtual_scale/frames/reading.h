#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "virtual_scale/virtual_scale.h"

// What every frame family starts from: the reading on the plate, in whole grams, and what
// the scale makes of it. Each family then says it in its own bytes: a row of the table in
// text_frames.cpp, or a file of its own for frames with status bits, checksums or more weights.
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

// The weight in kg as a scale writes it, from whole grams: "-0.968", "1.234" (three decimals,
// a '-' below zero, `point` between the kilograms and the grams). Integers only: printf's %f
// would follow LC_NUMERIC.
std::string kg(long long grams, char point = '.');

// `text` right-aligned in `width` characters, padded with spaces.
std::string padded(const std::string& text, std::size_t width);

// The tare of the families whose frames carry one (gross, tare and net): the scale holds
// this much on its plate beyond the weight it is given, which is the net.
inline constexpr long long kTareGrams = 266;

// One function a family that has a file of its own; each returns the whole frame for a
// reading, or nothing where the frame cannot say it.
std::string toledoA(const Reading& reading);
std::string p03(const Reading& reading);
std::string micheletti(const Reading& reading);
std::string toledoEth(const Reading& reading);
std::string wt27r(const Reading& reading);
std::string wt1000(const Reading& reading);
std::string lucastec(const Reading& reading);
std::string siciliano(const Reading& reading);
std::string sicilianoIp10(const Reading& reading);

// The families that differ only in layout: one row each in text_frames.cpp. Empty when
// `format` has no row there (its frame comes from a file of its own).
std::optional<std::string> textFrame(Format format, const Reading& reading);

}  // namespace vardelmo::vscale::frames
