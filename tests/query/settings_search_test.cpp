#include "query/settings_search.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/case_name.h"

namespace vardelmo::query {
namespace {

using namespace std::chrono_literals;
using test_support::CaseName;
using Clock = std::chrono::steady_clock;

// A scale behind a line, on a clock of its own that moves only when the search waits: for
// each settings text, the pieces of its reply and how long after the enquiry each arrives.
// Settings it has no answer for stay silent.
struct Piece {
    std::chrono::milliseconds after;
    std::string bytes;
};
using Answers = std::map<std::string, std::vector<Piece>>;

class ScriptedScale : public serial::SerialLine {
public:
    explicit ScriptedScale(Answers answers) : answers_(std::move(answers)) {}

    Result<void> setSettings(std::string_view settings) override {
        settings_ = settings;
        return {};
    }
    Result<void> setPort(const serial::Port&) override { return {}; }
    Result<void> setPortOpen(bool open) override {
        if (open && failOpen) {
            ++refusedOpens;
            return Failure{"A porta 9 não existe."};
        }
        log.push_back(open ? "open " + settings_ : "close");
        open_ = open;
        pending_.clear();
        return {};
    }
    Result<void> setOutput(std::string_view) override {
        enquiry_ = now;
        if (auto found = answers_.find(settings_); found != answers_.end()) {
            pending_ = found->second;
        }
        return {};
    }
    Result<bool> waitForInput(std::chrono::milliseconds timeout) override {
        waits.push_back(timeout);
        if (!open_) {
            return Failure{"not open"};
        }
        const auto limit = now + timeout;
        if (!pending_.empty() && enquiry_ + pending_.front().after <= limit) {
            now = std::max(now, enquiry_ + pending_.front().after);
            afterWait();
            return true;
        }
        now = limit;
        afterWait();
        return false;
    }
    Result<std::string> getInput() override {
        std::string held;
        while (!pending_.empty() && enquiry_ + pending_.front().after <= now) {
            held += pending_.front().bytes;
            pending_.erase(pending_.begin());
        }
        return held;
    }

    Clock::time_point now{};
    std::vector<std::string> log;
    std::vector<std::chrono::milliseconds> waits;
    bool failOpen = false;
    int refusedOpens = 0;
    std::function<void()> afterWait = [] {};

private:
    Answers answers_;
    std::string settings_;
    bool open_ = false;
    Clock::time_point enquiry_{};
    std::vector<Piece> pending_;
};

// Stands for the decoder: a reply is recognized once it holds a whole frame.
bool holdsFrame(std::string_view bytes) {
    const auto start = bytes.find('\x02');
    return start != std::string_view::npos && bytes.find('\x03', start) != std::string_view::npos;
}

const std::string frame =
    "\x02"
    "01234\x03";

struct Search {
    SearchResult result;
    std::vector<std::string> heard;  // the settings of each try, as onTry heard of them
    Clock::duration took;
};

Search search(ScriptedScale& scale, SearchPlan plan, Interruption& interruption) {
    Search s;
    const auto start = scale.now;
    // A try's start goes into the scale's log, so that it shows before the try's own opening.
    const SearchEvents events{
        .onStart =
            [&](std::string_view config) { scale.log.push_back("start " + std::string(config)); },
        .onTry = [&](const SearchTry& t) { s.heard.push_back(t.config); }};
    s.result =
        searchSettings(plan, scale, interruption, holdsFrame, events, [&] { return scale.now; });
    s.took = scale.now - start;
    return s;
}

Search search(ScriptedScale& scale, SearchPlan plan = {"5"}) {
    Interruption interruption;
    return search(scale, std::move(plan), interruption);
}

struct FindCase {
    const char* name;
    Answers answers;
    SearchPlan plan;
    std::vector<std::string> found;  // the settings of the recognized tries, in order
    std::size_t tries;
    Clock::duration took;
    friend void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }
};

class Finds : public testing::TestWithParam<FindCase> {};

TEST_P(Finds, TriesInOrderUntilARecognizedReply) {
    const auto& c = GetParam();
    ScriptedScale scale(c.answers);
    const auto s = search(scale, c.plan);

    EXPECT_FALSE(s.result.failure);
    EXPECT_FALSE(s.result.interrupted);
    ASSERT_EQ(s.result.tries.size(), c.tries);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < s.result.tries.size(); ++i) {
        EXPECT_EQ(s.result.tries[i].config, searchCandidates()[i]);
        EXPECT_EQ(s.heard.at(i), searchCandidates()[i]);
        if (s.result.tries[i].recognized) {
            found.push_back(s.result.tries[i].config);
            EXPECT_NE(s.result.tries[i].reply.find(frame), std::string::npos);
        }
    }
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(s.result.found(), !c.found.empty());
    EXPECT_EQ(s.took, c.took);
    // Each try told before it opens the port, and never held between two tries: each opening
    // has its closing before the next.
    ASSERT_EQ(scale.log.size(), 3 * c.tries);
    for (std::size_t i = 0; i < c.tries; ++i) {
        EXPECT_EQ(scale.log[3 * i], "start " + std::string(searchCandidates()[i]));
        EXPECT_EQ(scale.log[3 * i + 1], "open " + std::string(searchCandidates()[i]));
        EXPECT_EQ(scale.log[3 * i + 2], "close");
    }
    for (const auto wait : scale.waits) {
        EXPECT_LE(wait, 50ms) << "an interruption must be heard between two waits";
    }
}

const std::vector<Piece> prompt{{7ms, frame}};

INSTANTIATE_TEST_SUITE_P(
    Table, Finds,
    testing::Values(
        FindCase{"FirstCandidate", {{"2400,n,8,1", prompt}}, {"5"}, {"2400,n,8,1"}, 1, 7ms},
        FindCase{
            "SecondAfterASilentBound", {{"9600,n,8,1", prompt}}, {"5"}, {"9600,n,8,1"}, 2, 607ms},
        FindCase{"GarbageIsReadOnUntilTheFrame",
                 {{"2400,n,8,1", {{3ms, std::string("\x8f\x00\x33", 3)}}},
                  {"9600,n,8,1",
                   {{2ms, "\x7f"},
                    {5ms,
                     "\x02"
                     "012"},
                    {9ms, "34\x03"}}}},
                 {"5"},
                 {"9600,n,8,1"},
                 2,
                 609ms},
        FindCase{
            "ABoundOfItsOwn", {{"4800,n,8,1", prompt}}, {"5", "100"}, {"4800,n,8,1"}, 3, 207ms},
        FindCase{"AReplyAfterTheBoundIsMissed",
                 {{"2400,n,8,1", {{700ms, frame}}}, {"9600,n,8,1", prompt}},
                 {"5"},
                 {"9600,n,8,1"},
                 2,
                 607ms},
        FindCase{"NothingAnswers", {}, {"5"}, {}, 14, 14 * 600ms},
        FindCase{"AllTriesEveryCandidate",
                 {{"9600,n,8,1", prompt}, {"9600,e,7,1", prompt}},
                 {"5", "600", true},
                 {"9600,n,8,1", "9600,e,7,1"},
                 14,
                 12 * 600ms + 2 * 7ms}),
    CaseName());

TEST(SettingsSearch, AFailingPortEndsTheSearchAtOnce) {
    ScriptedScale scale({});
    scale.failOpen = true;
    const auto s = search(scale);
    ASSERT_TRUE(s.result.failure);
    EXPECT_EQ(s.result.failure->description, "A porta 9 não existe.");
    EXPECT_EQ(scale.refusedOpens, 1);
    EXPECT_EQ(scale.log, (std::vector<std::string>{"start 2400,n,8,1"}));
    EXPECT_TRUE(s.result.tries.empty());
}

TEST(SettingsSearch, ABadBoundFailsBeforeAnyOpening) {
    ScriptedScale scale({});
    const auto s = search(scale, {"5", "3000000000"});
    ASSERT_TRUE(s.result.failure);
    EXPECT_EQ(s.result.failure->description,
              "Espera inválida: 3000000000 está fora do intervalo de 0 a 2147483647 ms.");
    EXPECT_TRUE(scale.log.empty());
}

TEST(SettingsSearch, ARawSocketIsRefusedBeforeAnyOpening) {
    ScriptedScale scale({});
    const auto s = search(scale, {"socket://10.0.0.7:4001", "600"});
    ASSERT_TRUE(s.result.failure);
    EXPECT_EQ(s.result.failure->description,
              "Não é possível descobrir a configuração pela porta socket://10.0.0.7:4001: por um "
              "socket vale a configuração do próprio servidor; use rfc2217:// se ele falar RFC "
              "2217.");
    EXPECT_TRUE(scale.log.empty());
}

TEST(SettingsSearch, AnInterruptionEndsTheTryAndClosesThePort) {
    ScriptedScale scale({});
    Interruption interruption;
    int waits = 0;
    scale.afterWait = [&] {
        if (++waits == 3) {
            interruption.interrupt();
        }
    };
    const auto s = search(scale, {"5"}, interruption);
    EXPECT_TRUE(s.result.interrupted);
    EXPECT_FALSE(s.result.failure);
    EXPECT_TRUE(s.result.tries.empty());
    EXPECT_EQ(scale.log,
              (std::vector<std::string>{"start 2400,n,8,1", "open 2400,n,8,1", "close"}));
    EXPECT_EQ(waits, 3);
}

struct NotFoundCase {
    const char* name;
    std::string port;
    serial::Platform platform;
    std::size_t tries;
    std::string description;
    friend void PrintTo(const NotFoundCase& c, std::ostream* os) { *os << c.name; }
};

class NotFound : public testing::TestWithParam<NotFoundCase> {};

// The window's box and the command line say the same, naming the port as a failure to open it does.
TEST_P(NotFound, SaysHowManySettingsWereTriedOnWhichPort) {
    const auto& c = GetParam();
    SearchResult result;
    result.tries.resize(c.tries);
    const FailureReport report = notFoundReport({c.port}, result, c.platform);
    EXPECT_EQ(report.title, "Deu Pau!");
    EXPECT_EQ(report.description, c.description);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NotFound,
    testing::Values(
        NotFoundCase{"NumberOnPosix", "5", serial::Platform::Posix, 14,
                     "Nenhuma das 14 configurações tentadas deu leitura na porta 5 (/dev/ttyS4)."},
        NotFoundCase{"NumberOnWindows", "12", serial::Platform::Windows, 14,
                     "Nenhuma das 14 configurações tentadas deu leitura na porta 12 (COM12)."},
        NotFoundCase{"DevicePath", "/dev/ttyUSB0", serial::Platform::Posix, 3,
                     "Nenhuma das 3 configurações tentadas deu leitura na porta /dev/ttyUSB0."}),
    CaseName());

// The try a search reports for a family it does not know: the first whose reply looks like
// frames, and only when no try gave a reading. Here a reply looks like frames when it starts
// with 'F'.
struct UnknownCase {
    const char* name;
    std::vector<SearchTry> tries;
    std::optional<std::size_t> reported;  // the index of the try reported
    friend void PrintTo(const UnknownCase& c, std::ostream* os) { *os << c.name; }
};

class UnknownFamily : public testing::TestWithParam<UnknownCase> {};

TEST_P(UnknownFamily, ReportsTheFirstTryThatLooksLikeFrames) {
    const auto& c = GetParam();
    SearchResult result;
    result.tries = c.tries;
    const SearchTry* reported = unknownFamilyTry(
        result, [](std::string_view bytes) { return !bytes.empty() && bytes.front() == 'F'; });
    if (!c.reported) {
        EXPECT_EQ(reported, nullptr) << reported->config;
    } else {
        EXPECT_EQ(reported, &result.tries.at(*c.reported));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UnknownFamily,
                         testing::Values(UnknownCase{"NoTries", {}, std::nullopt},
                                         UnknownCase{"NothingLooksLikeFrames",
                                                     {{"2400,n,8,1", "", false},
                                                      {"9600,n,8,1", "x", false}},
                                                     std::nullopt},
                                         UnknownCase{"TheFirstThatDoes",
                                                     {{"2400,n,8,1", "x", false},
                                                      {"9600,n,8,1", "F1", false},
                                                      {"4800,n,8,1", "F2", false}},
                                                     1},
                                         UnknownCase{"NoneWhenATryGaveAReading",
                                                     {{"2400,n,8,1", "F1", false},
                                                      {"9600,n,8,1",
                                                       "\x02"
                                                       "01234\x03",
                                                       true}},
                                                     std::nullopt}),
                         CaseName());

}  // namespace
}  // namespace vardelmo::query
