#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "serial/serial_line.h"
#include "tests/support/patience.h"

namespace vardelmo::window::test {

// What a FakeLine was given and from which threads, shared with the test that
// made it. A test may hold the line at the enquiry until it lets it go.
struct FakeLineState {
    std::string reply;
    std::optional<std::string> answersOnlyAt;  // the settings it replies at, if not every one
    std::string elsewhere;                     // its reply at other settings
    std::optional<std::string> openFailure;
    std::optional<std::string> closeFailure;
    bool holdAtEnquiry = false;
    // A wait for input that finds nothing moves this clock on by the whole wait at once, so
    // that a search's bound passes without the test waiting for it; unless `realWaits`, when
    // such a wait takes its time on the steady clock, as a silent scale's line does.
    std::atomic<std::chrono::milliseconds::rep> clockMs{0};
    bool realWaits = false;

    std::chrono::steady_clock::time_point now() const {
        return realWaits ? std::chrono::steady_clock::now()
                         : std::chrono::steady_clock::time_point(
                               std::chrono::milliseconds(clockMs.load()));
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> log;
    std::thread::id madeOn;
    std::thread::id destroyedOn;
    int made = 0;
    int opened = 0;
    bool atEnquiry = false;
    bool released = false;
    bool open = false;

    void note(std::string entry) {
        const std::lock_guard lock(mutex);
        log.push_back(std::move(entry));
    }
    std::vector<std::string> entries() const {
        const std::lock_guard lock(mutex);
        return log;
    }
    bool waitUntilAtEnquiry(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [this] { return atEnquiry; });
    }
    void release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        changed.notify_all();
    }
};

class FakeLine final : public serial::SerialLine {
public:
    explicit FakeLine(std::shared_ptr<FakeLineState> state) : state_(std::move(state)) {
        const std::lock_guard lock(state_->mutex);
        state_->madeOn = std::this_thread::get_id();
        ++state_->made;
    }
    ~FakeLine() override {
        const std::lock_guard lock(state_->mutex);
        state_->destroyedOn = std::this_thread::get_id();
    }
    FakeLine(const FakeLine&) = delete;
    FakeLine& operator=(const FakeLine&) = delete;

    Result<void> setSettings(std::string_view settings) override {
        state_->note("settings " + std::string(settings));
        settings_ = settings;
        return {};
    }
    Result<void> setPort(const serial::Port&) override {
        state_->note("port");
        return {};
    }
    Result<void> setPortOpen(bool open) override {
        if (open && state_->openFailure) {
            state_->note("refused");
            return Failure{*state_->openFailure};
        }
        state_->note(open ? "open" : "close");
        {
            const std::lock_guard lock(state_->mutex);
            state_->open = open;
            state_->opened += open ? 1 : 0;
        }
        if (!open && state_->closeFailure) {
            return Failure{*state_->closeFailure};
        }
        return {};
    }
    Result<void> setOutput(std::string_view) override {
        state_->note("output");
        pending_ = !state_->answersOnlyAt || *state_->answersOnlyAt == settings_
                       ? state_->reply
                       : state_->elsewhere;
        std::unique_lock lock(state_->mutex);
        state_->atEnquiry = true;
        state_->changed.notify_all();
        // Held at most the test's patience, so a window that runs the request on its own
        // thread fails instead of hanging.
        if (state_->holdAtEnquiry &&
            !state_->changed.wait_for(lock, test_support::kPatience,
                                      [this] { return state_->released; })) {
            state_->log.push_back("never released");
        }
        return {};
    }
    Result<std::string> getInput() override {
        state_->note("input");
        return std::exchange(pending_, {});
    }
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override {
        state_->note("wait for input");
        if (!pending_.empty()) {
            return true;
        }
        if (state_->realWaits) {
            std::this_thread::sleep_for(timeout);
        } else {
            state_->clockMs += timeout.count();
        }
        return false;
    }

private:
    std::shared_ptr<FakeLineState> state_;
    std::string settings_;
    std::string pending_;  // the reply to the last enquiry, until it is read
};

}  // namespace vardelmo::window::test
