#include "query/watch_summary.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"

namespace vardelmo::query {

void PrintTo(const WatchFigures& f, std::ostream* os) {
    *os << "requests " << f.requests << ", understood " << f.understood << ", failures "
        << f.failures << ", lowest " << f.lowest.value_or("-") << ", highest "
        << f.highest.value_or("-") << ", settled after "
        << (f.settledAfter ? std::to_string(f.settledAfter->count()) + " ms" : "-")
        << (f.inMotionAtEnd ? ", in motion at the end" : "") << ", silent " << f.silent;
}

namespace {

using namespace std::chrono_literals;
using test_support::CaseName;

struct DecimalCase {
    const char* name;
    std::string a, b;
    std::optional<int> order;  // -1, 0, 1; nullopt when either is no decimal
    friend void PrintTo(const DecimalCase& c, std::ostream* os) {
        *os << '"' << c.a << "\" against \"" << c.b << '"';
    }
};

class Decimals : public testing::TestWithParam<DecimalCase> {};

TEST_P(Decimals, CompareByTheNumbersTheySpell) {
    const auto& c = GetParam();
    const auto sign = [](std::optional<int> v) -> std::optional<int> {
        return v ? std::optional<int>((*v > 0) - (*v < 0)) : std::nullopt;
    };
    EXPECT_EQ(sign(compareDecimals(c.a, c.b)), c.order);
    const auto reversed = c.order ? std::optional<int>(-*c.order) : std::nullopt;
    EXPECT_EQ(sign(compareDecimals(c.b, c.a)), reversed) << "the other way round";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Decimals,
    testing::Values(DecimalCase{"NegativeBelowPositive", "-0.500", "0.800", -1},
                    DecimalCase{"LongerWholePartAbove", "12.30", "0.800", 1},
                    DecimalCase{"NotByTheirTexts", "9.99", "10", -1},
                    DecimalCase{"TrailingZerosChangeNothing", "12.30", "12.3", 0},
                    DecimalCase{"LeadingZerosChangeNothing", "007.5", "7.50", 0},
                    DecimalCase{"NegativeZeroIsZero", "-0", "0.000", 0},
                    DecimalCase{"PlusSign", "+2", "2.0", 0},
                    DecimalCase{"NegativesByMagnitudeReversed", "-1.5", "-1.25", -1},
                    DecimalCase{"LongerNegativeWholeBelow", "-10", "-9.99", -1},
                    DecimalCase{"FractionDigitByDigit", "0.05", "0.5", -1},
                    DecimalCase{"OneMoreDigit", "1.234", "1.2341", -1},
                    // Too many digits for a double to tell apart.
                    DecimalCase{"BeyondADoublesDigits", "12345678901234567.5",
                                "12345678901234567.6", -1},
                    DecimalCase{"JustBelowZero", "-0.001", "0", -1},
                    DecimalCase{"JustAboveZero", "0.001", "-0", 1},
                    DecimalCase{"Empty", "", "0", std::nullopt},
                    DecimalCase{"SignAlone", "-", "0", std::nullopt},
                    DecimalCase{"PointWithoutFraction", "1.", "1", std::nullopt},
                    DecimalCase{"PointWithoutWhole", ".5", "0.5", std::nullopt},
                    DecimalCase{"TwoPoints", "1.2.3", "1", std::nullopt},
                    DecimalCase{"DecimalComma", "1,5", "1", std::nullopt},
                    DecimalCase{"Spaces", " 1.5", "1.5", std::nullopt},
                    DecimalCase{"Exponent", "1e3", "1000", std::nullopt},
                    DecimalCase{"SignInside", "1-2", "1", std::nullopt}),
    CaseName());

const auto t0 = std::chrono::steady_clock::time_point{} + 100h;

Observation observed(std::chrono::microseconds at, bool failed, bool understood,
                     std::optional<std::string> weight = {},
                     Steadiness steadiness = Steadiness::Unknown) {
    return Observation{t0 + at, failed, understood, std::move(weight), steadiness};
}
Observation reading(std::chrono::microseconds at, std::string weight,
                    Steadiness steadiness = Steadiness::Stable) {
    return observed(at, false, true, std::move(weight), steadiness);
}
Observation failure(std::chrono::microseconds at) {
    return observed(at, true, false);
}
// Nothing arrived within the wait.
Observation silence(std::chrono::microseconds at) {
    Observation o = observed(at, false, false);
    o.silent = true;
    return o;
}
// A reply that came but did not decode.
Observation notUnderstood(std::chrono::microseconds at) {
    return observed(at, false, false);
}

WatchFigures figures(std::uint64_t requests, std::uint64_t understood, std::uint64_t failures,
                     std::optional<std::string> lowest = {},
                     std::optional<std::string> highest = {},
                     std::optional<std::chrono::milliseconds> settledAfter = {},
                     bool inMotionAtEnd = false) {
    return {requests, understood, failures, lowest, highest, settledAfter, inMotionAtEnd};
}

constexpr auto motion = Steadiness::InMotion;
constexpr auto unknown = Steadiness::Unknown;

struct FiguresCase {
    const char* name;
    std::vector<Observation> observations;
    WatchFigures figures;
};

class SummaryFigures : public testing::TestWithParam<FiguresCase> {};

TEST_P(SummaryFigures, FollowTheObservations) {
    WatchSummary summary;
    for (const auto& observation : GetParam().observations) {
        summary.add(observation);
    }
    EXPECT_EQ(summary.figures(), GetParam().figures);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SummaryFigures,
    testing::Values(
        FiguresCase{"Nothing", {}, figures(0, 0, 0)},
        FiguresCase{"LowestAndHighestBySignAndDecimals",
                    {reading(0ms, "0.800"), reading(1s, "-0.500"), reading(2s, "12.30"),
                     reading(3s, "12.3"), reading(4s, "-0.50"), reading(5s, "9.999")},
                    figures(6, 6, 0, "-0.500", "12.30")},
        FiguresCase{"OneReadingIsBothExtremes",
                    {reading(0ms, "1.234")},
                    figures(1, 1, 0, "1.234", "1.234")},
        FiguresCase{
            "FailuresBesideReadings",
            {reading(0ms, "1"), failure(1s), failure(2s), reading(3s, "2"), notUnderstood(4s)},
            figures(5, 2, 2, "1", "2")},
        // Counted apart from the failures and from replies that do not read.
        FiguresCase{"SilenceBesideReadings",
                    {silence(0ms), reading(1s, "1", motion), silence(2s), notUnderstood(3s),
                     reading(4s, "1")},
                    [] {
                        WatchFigures f = figures(5, 2, 0, "1", "1", 3000ms);
                        f.silent = 2;
                        return f;
                    }()},
        // The reply was read and understood, then the port failed to close.
        FiguresCase{"AFailedCloseAfterAReading",
                    {observed(0ms, true, true, "3.5", Steadiness::Stable)},
                    figures(1, 1, 1, "3.5", "3.5")},
        FiguresCase{"NotUnderstoodTellsNothing",
                    {reading(0ms, "1"), observed(1s, false, false, "99", motion)},
                    figures(2, 1, 0, "1", "1")},
        FiguresCase{"AWeightThatIsNoDecimalStaysOut",
                    {reading(0ms, "1.5"), reading(1s, "abc"), reading(2s, "")},
                    figures(3, 3, 0, "1.5", "1.5")},
        FiguresCase{"SettledFromTheFirstInMotionToTheFirstStable",
                    {reading(0ms, "0.1", motion), reading(500ms, "0.9", motion),
                     reading(1000ms, "1.0"), reading(1500ms, "1.0")},
                    figures(4, 4, 0, "0.1", "1.0", 1000ms)},
        FiguresCase{"StableBeforeTheMotionDoesNotCount",
                    {reading(0ms, "1"), reading(500ms, "2", motion), reading(700ms, "2")},
                    figures(3, 3, 0, "1", "2", 200ms)},
        FiguresCase{"TheLastRunOfMotionCounts",
                    {reading(0ms, "1", motion), reading(500ms, "1"), reading(1000ms, "2", motion),
                     reading(1500ms, "3", motion), reading(2500ms, "3")},
                    figures(5, 5, 0, "1", "3", 1500ms)},
        FiguresCase{"FailuresAndUnknownsDoNotBreakTheRun",
                    {reading(0ms, "1", motion), failure(500ms), notUnderstood(700ms),
                     reading(1000ms, "2", unknown), reading(1500ms, "2")},
                    figures(5, 3, 1, "1", "2", 1500ms)},
        FiguresCase{"NeverStable",
                    {reading(0ms, "1", motion), reading(500ms, "2", motion)},
                    figures(2, 2, 0, "1", "2", std::nullopt, true)},
        FiguresCase{
            "NeverInMotion", {reading(0ms, "1"), reading(500ms, "1")}, figures(2, 2, 0, "1", "1")},
        FiguresCase{"InMotionAgainAfterSettling",
                    {reading(0ms, "1", motion), reading(500ms, "1"), reading(1000ms, "4", motion)},
                    figures(3, 3, 0, "1", "4", std::nullopt, true)},
        FiguresCase{"WholeMillisecondsRoundedDown",
                    {reading(0ms, "1", motion), reading(1000999us, "1")},
                    figures(2, 2, 0, "1", "1", 1000ms)}),
    CaseName());

}  // namespace
}  // namespace vardelmo::query
