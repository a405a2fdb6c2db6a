// The language the command line speaks, chosen from the locale's variables alone, and the
// translations found where the program looks for them: Qt's own (the window's menus, the
// parser's refusals) and the program's, built beside it.
#include "cli/translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>
#include <optional>
#include <ostream>
#include <string>

#include "cli/texts.h"
#include "tests/support/case_name.h"

namespace vardelmo::cli {
namespace {

struct LocaleCase {
    const char* name;
    std::optional<const char*> lcAll, lcMessages, lang;  // none: unset
    bool portuguese;
    friend void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }
};

class LanguageAsked : public testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageAsked, FollowsTheFirstVariableSet) {
    const LocaleCase& c = GetParam();
    for (const auto& [name, value] :
         {std::pair{"LC_ALL", c.lcAll}, std::pair{"LC_MESSAGES", c.lcMessages},
          std::pair{"LANG", c.lang}}) {
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    EXPECT_EQ(portugueseAsked(), c.portuguese);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LanguageAsked,
    testing::Values(LocaleCase{"Brazilian", {}, {}, "pt_BR.UTF-8", true},
                    LocaleCase{"Portugal", {}, {}, "pt_PT", true},
                    LocaleCase{"LanguageAlone", {}, {}, "pt", true},
                    LocaleCase{"C", {}, {}, "C.UTF-8", false},
                    LocaleCase{"English", {}, {}, "en_US.UTF-8", false},
                    LocaleCase{"NotAPrefixOfAWord", {}, {}, "ptx_XX", false},
                    LocaleCase{"MessagesBeforeLang", {}, "pt_BR.UTF-8", "C.UTF-8", true},
                    LocaleCase{"AllBeforeEverything", "C", "pt_BR.UTF-8", "pt_BR.UTF-8", false},
                    LocaleCase{"EmptyIsUnset", "", "", "pt_BR.UTF-8", true}),
    test_support::CaseName{});

struct TextCase {
    const char* name;
    const char* context;
    const char* source;
    const char* portuguese;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class Translated : public testing::TestWithParam<TextCase> {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "vardelmo_cli_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        installed_ = installPortuguese(true);
    }
    // The other suites read the English sources.
    static void TearDownTestSuite() {
        for (auto* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    static inline bool installed_ = false;
};

TEST_P(Translated, IntoPortuguese) {
    ASSERT_TRUE(installed_) << "a translation was not found";
    const TextCase& c = GetParam();
    EXPECT_EQ(QCoreApplication::translate(c.context, c.source).toStdString(), c.portuguese);
}

INSTANTIATE_TEST_SUITE_P(Table, Translated,
                         testing::Values(
                             // What Qt draws in the Config field's context menu.
                             TextCase{"Undo", "QLineEdit", "&Undo", "&Desfazer"},
                             TextCase{"Copy", "QLineEdit", "&Copy", "&Copiar"},
                             TextCase{"Paste", "QLineEdit", "&Paste", "C&olar"},
                             TextCase{"SelectAll", "QLineEdit", "Select All", "Selecionar tudo"},
                             // Qt's parser's refusal, ours, and a message.
                             TextCase{"MissingValue", "QCommandLineParser",
                                      "Missing value after '%1'.", "Faltando valor após '%1'."},
                             TextCase{"NoDisplay", "Texts", "no display (DISPLAY): use --query",
                                      "sem tela (DISPLAY): use --query"},
                             TextCase{"Silence", "Texts", "no reply within %1 ms on %2",
                                      "sem resposta em %1 ms na %2"}),
                         test_support::CaseName{});

}  // namespace
}  // namespace vardelmo::cli
