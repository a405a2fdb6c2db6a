#include "tests/faults/other_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace vardelmo::faults {

std::string selfPath() {
    char path[PATH_MAX];
    const auto size = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return size > 0 ? std::string(path, static_cast<std::size_t>(size)) : std::string();
}

OtherProcess::OtherProcess(const std::vector<std::string>& prefix,
                           const std::vector<std::string>& env, const std::string& gtestFilter,
                           const std::string& program) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        return;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return;
    }
    std::vector<std::string> args = prefix;
    args.push_back(program.empty() ? selfPath() : program);
    args.push_back("--gtest_filter=" + gtestFilter);
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        for (const auto& setting : env) {
            ::putenv(const_cast<char*>(setting.c_str()));
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
}

OtherProcess::~OtherProcess() {
    finish();
}

bool OtherProcess::waitForLine(const std::string& expected) {
    std::string line;
    char c = 0;
    while (fromChild_ >= 0 && ::read(fromChild_, &c, 1) == 1) {
        if (c != '\n') {
            line += c;
        } else if (line == expected) {
            return true;
        } else {
            std::printf("%s\n", line.c_str());
            line.clear();
        }
    }
    return false;
}

int OtherProcess::finish() {
    if (toChild_ >= 0) {
        ::close(toChild_);
        toChild_ = -1;
    }
    if (fromChild_ >= 0) {
        char rest[4096];
        for (ssize_t got; (got = ::read(fromChild_, rest, sizeof rest)) > 0;) {
            std::fwrite(rest, 1, static_cast<std::size_t>(got), stdout);
        }
        ::close(fromChild_);
        fromChild_ = -1;
    }
    int status = -1;
    if (pid_ > 0) {
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    return status;
}

}  // namespace vardelmo::faults
