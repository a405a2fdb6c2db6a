// Ten thousand requests in one process through the tool's own line: no reply lost or
// mixed up, no descriptor left open, no memory kept.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "tests/support/patience.h"
#include "tests/support/slave_probe.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;
using test_support::kPatience;

constexpr int kRequests = 10'000;
constexpr int kWarmUp = 200;
// The scale logs every exchange for the tests that inspect it; a fresh one every so often
// keeps that log from counting against the tool's memory.
constexpr int kScaleLife = 500;

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;  // the directory listing's own descriptor is counted every time alike
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

class Soak {
public:
    // A few milliseconds: with no pacing and no delay the scale answers within a fraction of
    // one, so the reply is whole before the tool reads once.
    static constexpr int kWaitMs = 2;

    explicit Soak(std::string link) : link_(std::move(link)) {
        fields_.waitText = std::to_string(kWaitMs);
    }

    // One request for a weight of its own, so a stale or mixed reply cannot pass as right.
    ::testing::AssertionResult request(int n) {
        if (n % kScaleLife == 0 && !renewScale()) {
            return ::testing::AssertionFailure() << "the scale did not open: " << error_;
        }
        const double kg = static_cast<double>(n % 100'000) / 1000;
        scale_->setWeight(kg);
        const auto before = scale_->exchanges().size();
        const auto outcome = runWeightRequest(fields_, line_, [&](std::chrono::milliseconds wait) {
            sleepFor(wait);
            // The wait alone nearly always suffices; on a loaded machine the scale's thread may
            // not have run yet. Waiting for its reply here keeps the soak about the tool.
            if (probe_->queued() < 7) {
                ++lateReplies;
                if (!scale_->waitForExchanges(before + 1, kPatience) ||
                    !probe_->waitForQueued(7, kPatience)) {
                    ++silentScale;
                }
            }
        });
        if (outcome.failure) {
            return ::testing::AssertionFailure()
                   << "request " << n << ": " << outcome.failure->description;
        }
        const auto expected = vscale::frame(vscale::Format::Stx5, kg, vscale::State::Stable);
        if (outcome.display != expected) {
            return ::testing::AssertionFailure()
                   << "request " << n << " showed \"" << outcome.display.value_or("<none>")
                   << "\" for \"" << expected << "\"";
        }
        return ::testing::AssertionSuccess();
    }

    int lateReplies = 0;
    int silentScale = 0;

private:
    bool renewScale() {
        probe_.reset();
        scale_.reset();
        vscale::Options options;
        options.pace = false;
        options.delay = 0ms;
        options.linkPath = link_;
        scale_ = vscale::VirtualScale::open(options, error_);
        if (!scale_) {
            return false;
        }
        probe_ = std::make_unique<test_support::SlaveProbe>(scale_->path());
        fields_.portText = link_;
        return probe_->ok();
    }

    std::string link_;
    std::string error_;
    std::unique_ptr<vscale::VirtualScale> scale_;
    std::unique_ptr<test_support::SlaveProbe> probe_;
    FieldTexts fields_;
    serial::QtSerialLine line_;
};

TEST(RequestSoak, TenThousandRepliesNothingLostNothingKept) {
    const auto link =
        (std::filesystem::temp_directory_path() / ("vardelmo-soak-" + std::to_string(::getpid())))
            .string();
    Soak soak(link);
    for (int n = 0; n < kWarmUp; ++n) {
        ASSERT_TRUE(soak.request(n));
    }
    const auto descriptors = openDescriptors();
    const long resident = residentKb();

    for (int n = kWarmUp; n < kWarmUp + kRequests; ++n) {
        ASSERT_TRUE(soak.request(n));
    }

    EXPECT_EQ(openDescriptors(), descriptors);
    const long grownKb = residentKb() - resident;
    EXPECT_LT(grownKb, 1024);
    EXPECT_EQ(soak.silentScale, 0);
    std::printf(
        "soak: %d requests, %d replies all correct, descriptors %zu -> %zu, resident %ld kB "
        "grown by %ld kB, %d replies not yet queued when the wait ended\n",
        kRequests, kRequests, descriptors, openDescriptors(), resident, grownKb, soak.lateReplies);
}

}  // namespace
}  // namespace vardelmo::query
