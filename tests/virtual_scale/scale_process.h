#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tests/virtual_scale/pty_client.h"

extern char** environ;

namespace vardelmo::vscale::testing {

// The command run as its users run it, with its three standard streams on pipes.
class ScaleProcess {
public:
    explicit ScaleProcess(const std::vector<std::string>& arguments) {
        int in[2];
        int out[2];
        int err[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
            ::pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        std::vector<std::string> args{VARDELMO_VIRTUAL_SCALE};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
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

    ~ScaleProcess() {
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

    ScaleProcess(const ScaleProcess&) = delete;
    ScaleProcess& operator=(const ScaleProcess&) = delete;

    bool started() const { return pid_ > 0 && pidfd_ >= 0; }
    void signal(int number) const { ::kill(pid_, number); }
    bool say(const std::string& text) const { return writeAll(stdin_, text); }
    void closeStdin() {
        ::close(stdin_);
        stdin_ = -1;
    }

    // The next line of standard output, without its newline; nothing if none comes.
    std::optional<std::string> outputLine() { return line(stdout_, outBuffer_); }

    // Standard error up to and including the first line holding `text`.
    bool errorLineWith(const std::string& text) {
        while (auto next = line(stderr_, errBuffer_)) {
            if (next->find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::string allErrors() {
        std::string all = errBuffer_;
        all += readBytes(stderr_, 1 << 16);
        return all;
    }

    // The exit status once the process has ended; nothing if it keeps running.
    std::optional<int> exitStatus() {
        if (!status_) {
            pollfd ended{pidfd_, POLLIN, 0};
            int raw = 0;
            if (::poll(&ended, 1, static_cast<int>(kPatience.count())) == 1 &&
                ::waitpid(pid_, &raw, 0) == pid_) {
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            }
        }
        return status_;
    }

private:
    static std::optional<std::string> line(int fd, std::string& buffer) {
        for (;;) {
            if (const auto newline = buffer.find('\n'); newline != std::string::npos) {
                std::string first = buffer.substr(0, newline);
                buffer.erase(0, newline + 1);
                return first;
            }
            const std::string more = readBytes(fd, 1);
            if (more.empty()) {
                return std::nullopt;
            }
            buffer += more;
        }
    }

    pid_t pid_ = -1;
    int pidfd_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string outBuffer_;
    std::string errBuffer_;
    std::optional<int> status_;
};

}  // namespace vardelmo::vscale::testing
