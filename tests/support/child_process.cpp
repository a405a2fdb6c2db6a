#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#include "tests/support/patience.h"
#include "tests/support/read_up_to.h"

extern char** environ;

namespace vardelmo::test_support {
namespace {

std::optional<std::string> nextLine(int fd, std::string& buffer) {
    for (;;) {
        if (const auto newline = buffer.find('\n'); newline != std::string::npos) {
            std::string first = buffer.substr(0, newline);
            buffer.erase(0, newline + 1);
            return first;
        }
        const std::string more = readUpTo(fd, 1);
        if (more.empty()) {
            return std::nullopt;
        }
        buffer += more;
    }
}

// What a stream still holds, up to its end.
std::string rest(int fd, std::string& buffer) {
    std::string all = std::move(buffer);
    buffer.clear();
    for (std::string more; !(more = readUpTo(fd, 1 << 16)).empty();) {
        all += more;
    }
    return all;
}

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& added) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting(*entry);
        const auto name = setting.substr(0, setting.find('=') + 1);
        bool replaced = false;
        for (const auto& change : added) {
            // A bare NAME unsets it.
            replaced = replaced || change.rfind(name, 0) == 0 || change + '=' == name;
        }
        if (!replaced) {
            merged.push_back(setting);
        }
    }
    for (const auto& change : added) {
        if (change.find('=') != std::string::npos) {
            merged.push_back(change);
        }
    }
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> command,
                           const std::vector<std::string>& environment) {
    int in[2];
    int out[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        return;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        for (int fd : {in[0], in[1], out[0], out[1]}) {
            ::close(fd);
        }
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    auto env = mergedEnvironment(environment);
    const auto argv = pointers(command);
    const auto envp = pointers(env);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    stderr_ = err[0];
    pidfd_ = pid_ > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)) : -1;
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    for (int fd : {stdin_, stdout_, stderr_, pidfd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void ChildProcess::signal(int number) const {
    ::kill(pid_, number);
}

bool ChildProcess::say(const std::string& text) const {
    return ::write(stdin_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

void ChildProcess::closeStdin() {
    if (stdin_ >= 0) {
        ::close(stdin_);
        stdin_ = -1;
    }
}

std::optional<std::string> ChildProcess::outputLine() {
    return nextLine(stdout_, outBuffer_);
}

bool ChildProcess::waitForOutputLine(const std::string& expected) {
    while (const auto line = outputLine()) {
        if (*line == expected) {
            return true;
        }
        std::printf("%s\n", line->c_str());
    }
    return false;
}

bool ChildProcess::errorLineWith(const std::string& text) {
    while (const auto line = nextLine(stderr_, errBuffer_)) {
        if (line->find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string ChildProcess::allErrors() {
    return rest(stderr_, errBuffer_);
}

std::string ChildProcess::allOutput() {
    return rest(stdout_, outBuffer_);
}

std::optional<int> ChildProcess::exitStatus() {
    if (!status_ && started()) {
        pollfd ended{pidfd_, POLLIN, 0};
        int raw = 0;
        if (::poll(&ended, 1, static_cast<int>(kPatience.count())) == 1 &&
            ::waitpid(pid_, &raw, 0) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        }
    }
    return status_;
}

std::optional<int> ChildProcess::finish() {
    closeStdin();
    for (const std::string& unread : {rest(stdout_, outBuffer_), rest(stderr_, errBuffer_)}) {
        std::fwrite(unread.data(), 1, unread.size(), stdout);
    }
    return exitStatus();
}

std::string selfPath() {
    char path[PATH_MAX];
    const auto size = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return size > 0 ? std::string(path, static_cast<std::size_t>(size)) : std::string();
}

}  // namespace vardelmo::test_support
