// The program's own options, run as its users run it: --version, --help's width, --link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"
#include "tests/support/child_process.h"
#include "virtual_scale/help.h"
#include "virtual_scale/link.h"

namespace vardelmo::vscale {
namespace {

using test_support::ChildProcess;

std::vector<std::string> scaleCommand(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), VARDELMO_VIRTUAL_SCALE);
    return arguments;
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

TEST(ScaleProgram, TellsItsVersion) {
    ChildProcess process(scaleCommand({"--version"}));
    EXPECT_EQ(process.allOutput(),
              std::string("vardelmo-virtual-scale ") + VARDELMO_VERSION + "\n");
    EXPECT_EQ(process.exitStatus(), 0);
}

// Within 80 columns, and every word of the help as it is written, in its order.
TEST(ScaleProgram, HelpFitsEightyColumns) {
    ChildProcess process(scaleCommand({"--help"}));
    const std::string help = process.allOutput();
    EXPECT_EQ(process.exitStatus(), 0);
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 79U) << line;
    }
    EXPECT_EQ(wordsOf(help), wordsOf(std::string(helpText())));
    EXPECT_NE(help.find("\n      --version       show the version and exit\n"), std::string::npos)
        << help;
}

// What stands at the link's path before a scale is started with --link on it.
enum class Before { LiveScale, Dangling, TerminalOfNoScale, File };

struct LinkCase {
    const char* name;
    Before before;
    int status;  // of the second scale; 0: it ran, its link on its terminal, until stopped
    friend void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }
};

class LinkTaken : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkTaken, IsRefusedOnlyWhileItsScaleRuns) {
    const LinkCase& c = GetParam();
    const std::string link = ::testing::TempDir() + "vardelmo-link-" + c.name;
    ::unlink(link.c_str());
    std::unique_ptr<ChildProcess> first;
    std::string firstPath;
    int noScale = -1;
    switch (c.before) {
        case Before::LiveScale:
            first = std::make_unique<ChildProcess>(scaleCommand({"--link", link}));
            firstPath = first->outputLine().value_or("");
            ASSERT_FALSE(firstPath.empty());
            break;
        case Before::Dangling:
            ASSERT_EQ(::symlink("/dev/pts/2147483646", link.c_str()), 0);
            break;
        case Before::TerminalOfNoScale:
            // A terminal the system gave to someone else after the scale that linked it ended.
            noScale = ::posix_openpt(O_RDWR | O_NOCTTY);
            ASSERT_GE(noScale, 0);
            ASSERT_EQ(::grantpt(noScale), 0);
            ASSERT_EQ(::unlockpt(noScale), 0);
            ASSERT_EQ(::symlink(::ptsname(noScale), link.c_str()), 0);
            break;
        case Before::File:
            std::ofstream(link) << "kept\n";
            break;
    }

    ChildProcess second(scaleCommand({"--link", link}));
    const std::string secondPath = second.outputLine().value_or("");
    if (c.status == 0) {
        ASSERT_FALSE(secondPath.empty()) << second.allErrors();
        EXPECT_EQ(linkTarget(link), secondPath);
        second.signal(SIGTERM);
        EXPECT_EQ(second.exitStatus(), 0);
    } else {
        EXPECT_EQ(secondPath, "");
        EXPECT_EQ(second.exitStatus(), c.status);
        const std::string errors = second.allErrors();
        if (c.before == Before::LiveScale) {
            // The other scale, named by its terminal and its process.
            EXPECT_NE(errors.find(link + " is the link of another scale, pid "), std::string::npos)
                << errors;
            EXPECT_NE(errors.find(" on " + firstPath + "\n"), std::string::npos) << errors;
            EXPECT_EQ(linkTarget(link), firstPath);
        }
    }
    if (c.before == Before::File) {
        std::ifstream in(link);
        std::string kept;
        std::getline(in, kept);
        EXPECT_EQ(kept, "kept");
    }
    if (first) {
        first->signal(SIGTERM);
        EXPECT_EQ(first->exitStatus(), 0);
    }
    if (noScale >= 0) {
        ::close(noScale);
    }
    ::unlink(link.c_str());
}

INSTANTIATE_TEST_SUITE_P(Table, LinkTaken,
                         ::testing::Values(LinkCase{"LiveScale", Before::LiveScale, 2},
                                           LinkCase{"Dangling", Before::Dangling, 0},
                                           LinkCase{"TerminalOfNoScale", Before::TerminalOfNoScale,
                                                    0},
                                           LinkCase{"File", Before::File, 1}),
                         test_support::CaseName());

}  // namespace
}  // namespace vardelmo::vscale
