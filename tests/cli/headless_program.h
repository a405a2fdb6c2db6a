#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::cli {

// A home of the test's own for the program, removed with everything in it.
class TemporaryHome {
public:
    TemporaryHome() {
        char pattern[] = "/tmp/vardelmo-cli-XXXXXX";
        if (::mkdtemp(pattern) != nullptr) {
            path_ = pattern;
        }
    }
    ~TemporaryHome() {
        if (!path_.empty()) {
            std::filesystem::remove_all(path_);
        }
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    bool made() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A virtual scale that answers 1 ms after an enquiry, unpaced: any wait finds its whole reply.
inline std::unique_ptr<vscale::VirtualScale> openPromptScale(std::string& error) {
    vscale::Options options;
    options.pace = false;
    options.delay = std::chrono::milliseconds(1);
    return vscale::VirtualScale::open(options, error);
}

// The built program as a script over SSH starts it: no display, a home of its own.
inline std::unique_ptr<test_support::ChildProcess> startProgram(std::vector<std::string> arguments,
                                                                const std::string& home) {
    arguments.insert(arguments.begin(), VARDELMO_PROGRAM);
    // No display at all: whatever the line asks, the program must not need one, nor abort.
    return std::make_unique<test_support::ChildProcess>(
        arguments,
        std::vector<std::string>{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG=C.UTF-8",
                                 "HOME=" + home, "XDG_RUNTIME_DIR=" + home});
}

}  // namespace vardelmo::cli
