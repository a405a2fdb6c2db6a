// scripts/wine-run and scripts/install-deps, each run as CI runs it, with the programs they
// drive (wine; dpkg-query, apt-get, sudo) replaced by fakes first on PATH.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "tests/support/child_process.h"

namespace vardelmo::test {
namespace {

using test_support::ChildProcess;

const std::string kSource = VARDELMO_SOURCE_DIR;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeFile(const std::string& path, const std::string& text, bool executable = false) {
    std::ofstream(path) << text;
    if (executable) {
        ::chmod(path.c_str(), 0755);
    }
}

struct Ran {
    std::string out;
    std::string err;
    std::optional<int> status;
};

// A folder of fakes for one case, removed after it.
class FakePrograms {
public:
    FakePrograms() {
        std::string pattern = ::testing::TempDir() + "vardelmo-scripts-XXXXXX";
        dir_ = ::mkdtemp(pattern.data());
        ::mkdir((dir_ + "/bin").c_str(), 0755);
    }
    ~FakePrograms() {
        const std::string command = "rm -rf '" + dir_ + "'";
        [[maybe_unused]] const int ignored = std::system(command.c_str());
    }
    FakePrograms(const FakePrograms&) = delete;
    FakePrograms& operator=(const FakePrograms&) = delete;

    const std::string& dir() const { return dir_; }
    void add(const std::string& name, const std::string& script) const {
        writeFile(dir_ + "/bin/" + name, "#!/usr/bin/env bash\n" + script, true);
    }
    Ran run(std::vector<std::string> command) const {
        ChildProcess child(std::move(command),
                           {"PATH=" + dir_ + "/bin:" + std::getenv("PATH"), "FAKE=" + dir_});
        Ran run;
        run.out = child.allOutput();
        run.err = child.allErrors();
        run.status = child.exitStatus();
        return run;
    }

private:
    std::string dir_;
};

// --- scripts/wine-run ------------------------------------------------------------------------

// One run of the program under the fake Wine: its exit status and what it writes.
struct Attempt {
    int status;
    std::string out;
    std::string err;
};

struct WineCase {
    const char* name;
    std::vector<Attempt> attempts;  // the first run, then the second, if any
    int runs;                       // how often the program was started
    int status;                     // wine-run's own
    bool told;                      // wine-run said it ran the program once more
    friend void PrintTo(const WineCase& c, std::ostream* os) { *os << c.name; }
};

class WineRun : public ::testing::TestWithParam<WineCase> {};

// Wine failing to start a program (no output, a status of Wine's own) is not the program
// failing: it gets one more run, and the log says so. A program that ran is never run again.
TEST_P(WineRun, RunsOnceMoreOnlyWhatWineFailedToStart) {
    const WineCase& c = GetParam();
    const FakePrograms fakes;
    for (std::size_t i = 0; i < c.attempts.size(); ++i) {
        const std::string run = fakes.dir() + "/run" + std::to_string(i + 1);
        writeFile(run + ".out", c.attempts[i].out);
        writeFile(run + ".err", c.attempts[i].err);
        writeFile(run + ".status", std::to_string(c.attempts[i].status));
    }
    fakes.add("wine", R"sh(n=$(($(cat "$FAKE/runs" 2>/dev/null || echo 0) + 1))
echo "$n" >"$FAKE/runs"
echo "$*" >>"$FAKE/arguments"
cat "$FAKE/run$n.out"
cat "$FAKE/run$n.err" >&2
exit "$(cat "$FAKE/run$n.status")"
)sh");
    const Ran run = fakes.run({kSource + "/scripts/wine-run", "tests.exe", "--gtest_brief=1"});

    EXPECT_EQ(readFile(fakes.dir() + "/runs"), std::to_string(c.runs) + "\n");
    std::string arguments;
    for (int i = 0; i < c.runs; ++i) {
        arguments += "tests.exe --gtest_brief=1\n";
    }
    EXPECT_EQ(readFile(fakes.dir() + "/arguments"), arguments);
    EXPECT_EQ(run.status, c.status);
    // The last run's streams are passed on, after the note.
    const Attempt& last = c.attempts.at(static_cast<std::size_t>(c.runs - 1));
    EXPECT_EQ(run.out, last.out);
    const std::string note = "wine-run: Wine did not start \"wine tests.exe --gtest_brief=1\"";
    EXPECT_EQ(run.err.rfind(note, 0) == 0, c.told) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - last.err.size()), last.err);
}

const std::string kNoKernel32 = "wine: could not load kernel32.dll, status c0000135\n";
const std::string kPassed = "[==========] 3 tests from 1 test suite ran.\n[  PASSED  ] 3 tests.\n";
const std::string kFailed = "[  FAILED  ] 1 test, listed below:\n";

INSTANTIATE_TEST_SUITE_P(
    Table, WineRun,
    ::testing::Values(
        WineCase{"Passes", {{0, kPassed, ""}}, 1, 0, false},
        WineCase{"FailsWithOutput", {{1, kFailed, ""}}, 1, 1, false},
        // A test that crashed after writing is the program's failure, whatever the status.
        WineCase{"CrashesAfterWriting", {{53, "[ RUN      ] Line.Opens\n", ""}}, 1, 53, false},
        WineCase{"WritesOnlyToStandardError", {{66, "", "Qt6Core.dll: cannot\n"}}, 1, 66, false},
        // 5 is an access violation, c0000005: the program ran.
        WineCase{"CrashesSilently", {{5, "", ""}}, 1, 5, false},
        WineCase{"EndsWithOneSilently", {{1, "", ""}}, 1, 1, false},
        WineCase{"NoKernel32ThenPasses", {{53, "", kNoKernel32}, {0, kPassed, ""}}, 2, 0, true},
        WineCase{"NoKernel32Silently", {{53, "", ""}, {0, kPassed, ""}}, 2, 0, true},
        WineCase{"DllStartFailsThenTheTestFails", {{66, "", ""}, {1, kFailed, ""}}, 2, 1, true},
        WineCase{"NoServerThenPasses",
                 {{1, "", "wine: could not exec wineserver\n"}, {0, kPassed, ""}},
                 2,
                 0,
                 true},
        // Once more, never twice more.
        WineCase{"NoKernel32Twice", {{53, "", kNoKernel32}, {53, "", kNoKernel32}}, 2, 53, true}),
    test_support::CaseName());

// --- scripts/install-deps ----------------------------------------------------------------------

struct InstallCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string missing;   // the packages not installed, one a line
    int aptStatus;         // apt-get install's
    std::string out;       // install-deps' standard output
    std::string aptCalls;  // apt-get's arguments, one call a line
    std::string errHas;    // a text its standard error holds; "" for none at all
    int status;
    friend void PrintTo(const InstallCase& c, std::ostream* os) { *os << c.name; }
};

class InstallDeps : public ::testing::TestWithParam<InstallCase> {};

// One line for each group it installs; apt's chatter only when apt fails.
TEST_P(InstallDeps, SaysOneLineAGroupAndShowsAptOnlyWhenItFails) {
    const InstallCase& c = GetParam();
    const FakePrograms fakes;
    writeFile(fakes.dir() + "/missing", c.missing);
    writeFile(fakes.dir() + "/apt-status", std::to_string(c.aptStatus));
    fakes.add("dpkg-query", R"sh(package=${*: -1}
grep -qx "$package" "$FAKE/missing" && exit 1
printf 'install ok installed'
)sh");
    fakes.add("apt-get", R"sh(echo "$*" >>"$FAKE/apt-calls"
echo "Reading package lists..."
echo "Selecting previously unselected package $3." >&2
[ "$2" = update ] || exit "$(cat "$FAKE/apt-status")"
)sh");
    fakes.add("sudo", "\"$@\"\n");
    std::vector<std::string> command{kSource + "/scripts/install-deps"};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    const Ran run = fakes.run(command);

    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(readFile(fakes.dir() + "/apt-calls"), c.aptCalls);
    if (c.errHas.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallDeps,
    ::testing::Values(
        InstallCase{"NothingMissing", {}, "", 0, "", "", "", 0},
        InstallCase{"TwoGroups",
                    {},
                    "cmake\nxdotool\nxvfb\n",
                    0,
                    "install-deps: installing build: cmake\n"
                    "install-deps: installing test: xvfb xdotool\n",
                    "-q update\n"
                    "-q install -y --no-install-recommends cmake\n"
                    "-q install -y --no-install-recommends xvfb xdotool\n",
                    "",
                    0},
        // xvfb is in both groups: the first installs it, the second has nothing left to.
        InstallCase{"SharedPackage",
                    {"test bench"},
                    "xvfb\n",
                    0,
                    "install-deps: installing test: xvfb\n",
                    "-q update\n-q install -y --no-install-recommends xvfb\n",
                    "",
                    0},
        InstallCase{"AptFails",
                    {"build"},
                    "cmake\n",
                    100,
                    "install-deps: installing build: cmake\n",
                    "-q update\n-q install -y --no-install-recommends cmake\n",
                    "Selecting previously unselected package",
                    1},
        InstallCase{"UnknownGroupBeforeAnyInstall",
                    {"build", "nope"},
                    "cmake\n",
                    0,
                    "",
                    "",
                    "install-deps: unknown group 'nope'",
                    2}),
    test_support::CaseName());

}  // namespace
}  // namespace vardelmo::test
