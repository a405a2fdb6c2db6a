// The program as a script or a technician over SSH runs it: the built binary, no display, its
// standard streams and exit status.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/escaped.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::window {
namespace {

using namespace std::chrono_literals;
using testing::Eq;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Matcher;
using testing::StartsWith;

constexpr auto kSafety = 30s;

struct Finished {
    int status = -1;
    bool endedItself = true;
    std::string out;
    std::string err;
};

// Runs the program with only the environment given: no DISPLAY, no WAYLAND_DISPLAY and no
// QT_QPA_PLATFORM, so a window it tried to open would end it with Qt's abort.
Finished runProgram(const std::vector<std::string>& arguments, const std::string& home) {
    Finished run;
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> args{VARDELMO_PROGRAM};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env{"LANG=C.UTF-8", "HOME=" + home, "XDG_RUNTIME_DIR=" + home};
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    for (auto& variable : env) {
        envp.push_back(variable.data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    pollfd streams[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[] = {&run.out, &run.err};
    const auto deadline = std::chrono::steady_clock::now() + kSafety;
    for (int open = 2; spawned == 0 && open > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms || ::poll(streams, 2, static_cast<int>(left.count())) <= 0) {
            // A program that never ends (a window opened where none belongs) fails the case.
            ::kill(pid, SIGKILL);
            run.endedItself = false;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd >= 0 && streams[i].revents != 0) {
                char buffer[4096];
                const ssize_t got = ::read(streams[i].fd, buffer, sizeof buffer);
                if (got > 0) {
                    into[i]->append(buffer, static_cast<std::size_t>(got));
                } else {
                    streams[i].fd = -1;
                    --open;
                }
            }
        }
    }
    ::close(out[0]);
    ::close(err[0]);
    int raw = 0;
    if (spawned == 0 && ::waitpid(pid, &raw, 0) == pid) {
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    return run;
}

constexpr char kScale[] = "@scale";  // stands for the virtual scale's path in a case

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    Matcher<std::string> out;
    Matcher<std::string> err;
    std::size_t enquiries = 0;  // that reached the scale
    friend void PrintTo(const Case& c, std::ostream* os) {
        for (const auto& argument : c.arguments) {
            *os << ' ' << test_support::escaped(argument);
        }
    }
};

class Program : public testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vardelmo-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        home_ = pattern;
        vscale::Options options;
        options.pace = false;
        options.delay = 1ms;
        std::string error;
        scale_ = vscale::VirtualScale::open(options, error);
        ASSERT_TRUE(scale_) << error;
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    std::string home_;
    std::unique_ptr<vscale::VirtualScale> scale_;
};

TEST_P(Program, WritesAndExitsAsDocumented) {
    const Case& c = GetParam();
    std::vector<std::string> arguments = c.arguments;
    for (auto& argument : arguments) {
        if (const auto at = argument.find(kScale); at != std::string::npos) {
            argument.replace(at, std::string_view(kScale).size(), scale_->path());
        }
    }
    const Finished run = runProgram(arguments, home_);
    ASSERT_TRUE(run.endedItself) << "still running after " << kSafety.count() << " s";
    EXPECT_EQ(run.status, c.status);
    EXPECT_THAT(run.out, c.out) << test_support::escaped(run.out);
    EXPECT_THAT(run.err, c.err);
    if (c.enquiries > 0) {
        EXPECT_TRUE(scale_->waitForExchanges(c.enquiries, 5s));
    }
    EXPECT_EQ(scale_->received(), std::string(c.enquiries, '\x05'));
}

const Matcher<std::string> kNothing = IsEmpty();

std::string refused(const std::string& reason) {
    return "vardelmo: " + reason + "\nTry 'vardelmo --help'.\n";
}

// The scale answers at once; a second's wait finds its reply however loaded the machine.
INSTANTIATE_TEST_SUITE_P(
    Modes, Program,
    testing::Values(
        Case{"SpelledReply",
             {"-q", "--port", kScale, "--wait", "1000"},
             0,
             Eq("<STX>01234<ETX>\n"),
             kNothing,
             1},
        Case{"HexReply",
             {"--query", "--port", kScale, "--wait", "1000ms", "--hex"},
             0,
             Eq("02 30 31 32 33 34 03\n"),
             kNothing,
             1},
        Case{"RawReply",
             {"-q", "--raw", "--port=" + std::string(kScale), "--wait=1000"},
             0,
             Eq("\x02"
                "01234\x03"),
             kNothing,
             1},
        Case{"MissingDevice",
             {"-q", "--port", "/dev/vardelmo-none"},
             1,
             kNothing,
             Eq("Deu Pau!: Não foi possível abrir a porta /dev/vardelmo-none: dispositivo não "
                "encontrado.\n")},
        Case{"NegativeWaitFailsAfterTheEnquiry",
             {"-q", "--port", kScale, "--wait", "-5"},
             1,
             kNothing,
             Eq("Deu Pau!: Espera inválida: -5 está fora do intervalo de 0 a 2147483647 ms.\n"),
             1},
        Case{"Help", {"--help"}, 0, HasSubstr("--query"), kNothing},
        Case{"Version", {"-v"}, 0, Eq("vardelmo " VARDELMO_VERSION "\n"), kNothing},
        Case{"UnknownOptionWithoutQuery",
             {"--bogus"},
             2,
             kNothing,
             Eq(refused("Unknown option 'bogus'."))},
        Case{"UnknownOptionLeftToQt",
             {"-platform", "offscreen", "-bogus"},
             2,
             kNothing,
             Eq(refused("Unknown option 'bogus'."))},
        Case{"Positional",
             {"-q", "/dev/ttyUSB0"},
             2,
             kNothing,
             StartsWith("vardelmo: Unexpected argument '/dev/ttyUSB0'")},
        Case{"MissingValue",
             {"-q", "--port"},
             2,
             kNothing,
             Eq(refused("Missing value after '--port'."))},
        Case{"TwoOutputModes",
             {"-q", "--raw", "--hex"},
             2,
             kNothing,
             Eq(refused("--raw and --hex cannot be used together."))}),
    [](const testing::TestParamInfo<Case>& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vardelmo::window
