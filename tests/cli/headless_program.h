#pragma once

#include <stdlib.h>
#include <unistd.h>

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

// Every occurrence of `from` in `text` replaced by `to`.
inline std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The missing device the cases name, and the one of this test process's own that it stands
// for: Qt locks a device's name before it opens it, so two programs opening the same missing
// device at once see a lock taken ("Sem permissão") instead of no device.
inline constexpr char kMissingDevice[] = "/dev/vardelmo-none";
inline std::string ownMissingDevice() {
    return std::string(kMissingDevice) + '-' + std::to_string(::getpid());
}

// The built program as a script over SSH starts it: no display, a home of its own, English;
// `environment` adds NAME=value entries or replaces those, a bare NAME leaves NAME out.
inline std::unique_ptr<test_support::ChildProcess> startProgram(
    std::vector<std::string> arguments, const std::string& home,
    const std::vector<std::string>& environment = {}) {
    arguments.insert(arguments.begin(), VARDELMO_PROGRAM);
    // No display at all: whatever the line asks, the program must not need one, nor abort.
    std::vector<std::string> settings{"DISPLAY",      "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                      "LC_ALL",       "LC_MESSAGES",     "LANGUAGE",
                                      "LANG=C.UTF-8", "HOME=" + home,    "XDG_RUNTIME_DIR=" + home};
    for (const auto& change : environment) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(settings, [&](const std::string& s) {
            return s == name || s.rfind(name + '=', 0) == 0;
        });
        settings.push_back(change);
    }
    return std::make_unique<test_support::ChildProcess>(arguments, settings);
}

}  // namespace vardelmo::cli
