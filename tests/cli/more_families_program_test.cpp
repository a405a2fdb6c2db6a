// The weight as the built program reads it from the virtual scale, for the families beyond the
// first six: each in every state its frame can tell, asked with the request the family needs.
// A frame that does not tell the state reads as the weight alone, with a null state.
#include <gtest/gtest.h>

#include "tests/cli/reading_case.h"

namespace vardelmo::cli {
namespace {

// A scale weighing 1.234 kg; where a frame carries a tare, it is 0.266 kg and the weight the
// net. Below zero by the state, the weight is -1.234 kg.
INSTANTIATE_TEST_SUITE_P(
    MoreFamilies, ReadingThroughTheProgram,
    testing::Values(
        ReadingCase{"toledo-b-self", "stable", "1,234 kg estável",
                    R"({"protocol":"toledo-b","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"toledo-b-self", "motion", "em movimento",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"motion"})"},
        ReadingCase{"toledo-b-self", "negative", "negativo",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"negative"})"},
        // Magellan answers 'W' in toledo-b's form.
        ReadingCase{"toledo-b-self", "overload", "sobrecarga",
                    R"({"protocol":"toledo-b","weight":null,"unit":"kg","state":"overload"})", "W"},
        ReadingCase{"st-gs-19", "stable", "1,234 kg estável",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("net":false})"},
        ReadingCase{"st-gs-19", "motion", "1,234 kg em movimento",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("net":false})"},
        ReadingCase{"st-gs-19", "negative", "-1,234 kg negativo",
                    R"({"protocol":"st-gs","weight":"-1.234","unit":"kg","state":"negative",)"
                    R"("net":false})"},
        ReadingCase{"st-gs-19", "overload", "sobrecarga",
                    R"({"protocol":"st-gs","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false})"},
        ReadingCase{"st-gs-tr", "stable", "1,234 kg estável",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"st-gs-tr", "motion", "1,234 kg em movimento",
                    R"({"protocol":"st-gs","weight":"1.234","unit":"kg","state":"motion"})"},
        ReadingCase{"st-gs-tr", "negative", "-1,234 kg negativo",
                    R"({"protocol":"st-gs","weight":"-1.234","unit":"kg","state":"negative"})"},
        ReadingCase{"st-gs-tr", "overload", "sobrecarga",
                    R"({"protocol":"st-gs","weight":null,"unit":"kg","state":"overload"})"},
        ReadingCase{"toledo-eth", "stable", "1,234 kg",
                    R"({"protocol":"toledo-eth","weight":"1.234","unit":"kg","state":null,)"
                    R"("tare":"0.000"})"},
        ReadingCase{"bcs21", "stable", "1,234 kg estável",
                    R"({"protocol":"bcs21","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"bcs21", "motion", "1,234 kg em movimento",
                    R"({"protocol":"bcs21","weight":"1.234","unit":"kg","state":"motion"})"},
        ReadingCase{"bcs21", "negative", "-1,234 kg negativo",
                    R"({"protocol":"bcs21","weight":"-1.234","unit":"kg","state":"negative"})"},
        ReadingCase{"lider", "stable", "1,234 kg estável",
                    R"({"protocol":"lider","weight":"1.234","unit":"kg","state":"stable"})", ""},
        ReadingCase{"lider", "motion", "1,234 kg em movimento",
                    R"({"protocol":"lider","weight":"1.234","unit":"kg","state":"motion"})", ""},
        ReadingCase{"lider", "silent", nullptr, nullptr, ""},
        // The Urano UDC answers EOT, with the same text as the Urano's answer to ENQ.
        ReadingCase{"urano", "stable", "1,234 kg estável",
                    R"({"protocol":"urano","weight":"1.234","unit":"kg","state":"stable"})",
                    "<EOT>"},
        ReadingCase{"urano", "motion", "1,234 kg em movimento",
                    R"({"protocol":"urano","weight":"1.234","unit":"kg","state":"motion"})"},
        ReadingCase{"urano", "negative", "-1,234 kg negativo",
                    R"({"protocol":"urano","weight":"-1.234","unit":"kg","state":"negative"})"},
        ReadingCase{"urano-pop", "stable", "1,234 kg",
                    R"({"protocol":"urano-pop","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"urano-pop-bare", "stable", "1,234 kg",
                    R"({"protocol":"urano-pop","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"magna", "stable", "1,234 kg",
                    R"({"protocol":"magna","weight":"1.234","unit":"kg","state":null})", "P"},
        ReadingCase{"magna", "negative", "negativo",
                    R"({"protocol":"magna","weight":null,"unit":"kg","state":"negative"})", "P"},
        ReadingCase{"digitron-ul", "stable", "1,234 kg",
                    R"({"protocol":"digitron-ul","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"alfa", "stable", "1,234 kg",
                    R"({"protocol":"alfa","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"afts", "stable", "1,234 kg",
                    R"({"protocol":"afts","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"muller", "stable", "1,234 kg",
                    R"({"protocol":"muller","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"saturno", "stable", "1,234 kg estável",
                    R"({"protocol":"saturno","weight":"1.234","unit":"kg","state":"stable"})"},
        ReadingCase{"saturno", "motion", "1,234 kg em movimento",
                    R"({"protocol":"saturno","weight":"1.234","unit":"kg","state":"motion"})"},
        ReadingCase{"lucastec", "stable", "1,234 kg",
                    R"({"protocol":"lucastec","weight":"1.234","unit":"kg","state":null,)"
                    R"("tare":"0.266"})"},
        ReadingCase{"lucastec", "negative", "negativo",
                    R"({"protocol":"lucastec","weight":null,"unit":"kg","state":"negative",)"
                    R"("tare":"0.266"})"},
        ReadingCase{"precision", "stable", "1,234 kg",
                    R"({"protocol":"precision","weight":"1.234","unit":"kg","state":null})", ""},
        ReadingCase{"precision", "motion", "1,234 kg em movimento",
                    R"({"protocol":"precision","weight":"1.234","unit":"kg","state":"motion"})",
                    ""},
        ReadingCase{"precision", "negative", "negativo",
                    R"({"protocol":"precision","weight":null,"unit":"kg","state":"negative"})", ""},
        ReadingCase{"lenke", "stable", "1,234 kg",
                    R"({"protocol":"lenke","weight":"1.234","unit":"kg","state":null})", ""},
        ReadingCase{"lenke", "motion", "1,234 kg em movimento",
                    R"({"protocol":"lenke","weight":"1.234","unit":"kg","state":"motion"})", ""},
        ReadingCase{"lenke", "negative", "negativo",
                    R"({"protocol":"lenke","weight":null,"unit":"kg","state":"negative"})", ""},
        ReadingCase{"wt1000", "stable", "1,234 kg estável",
                    R"({"protocol":"wt1000","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("tare":"0.266"})"},
        ReadingCase{"wt1000", "motion", "1,234 kg em movimento",
                    R"({"protocol":"wt1000","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("tare":"0.266"})"},
        ReadingCase{"wt1000", "negative", "-1,234 kg negativo",
                    R"({"protocol":"wt1000","weight":"-1.234","unit":"kg","state":"negative",)"
                    R"("tare":"0.266"})"},
        // Its digits have no point: the state and the unit, never a weight.
        ReadingCase{"wt27r", "stable", "estável",
                    R"({"protocol":"wt27r","weight":null,"unit":"kg","state":"stable",)"
                    R"("net":false})"},
        ReadingCase{"wt27r", "motion", "em movimento",
                    R"({"protocol":"wt27r","weight":null,"unit":"kg","state":"motion",)"
                    R"("net":false})"},
        ReadingCase{"wt27r", "negative", "negativo",
                    R"({"protocol":"wt27r","weight":null,"unit":"kg","state":"negative",)"
                    R"("net":false})"},
        ReadingCase{"wt27r", "overload", "sobrecarga",
                    R"({"protocol":"wt27r","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false})"},
        ReadingCase{"marel", "stable", "1,234 kg",
                    R"({"protocol":"marel","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"capital", "stable", "1,234 kg",
                    R"({"protocol":"capital","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"siciliano", "stable", "1,234 kg",
                    R"({"protocol":"siciliano","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"siciliano", "negative", "-1,234 kg negativo",
                    R"({"protocol":"siciliano","weight":"-1.234","unit":"kg",)"
                    R"("state":"negative"})"},
        ReadingCase{"siciliano-ip10", "stable", "1,234 kg",
                    R"({"protocol":"siciliano","weight":"1.234","unit":"kg","state":null,)"
                    R"("tare":"0.266"})"},
        ReadingCase{"siciliano-ip10", "negative", "-1,234 kg negativo",
                    R"({"protocol":"siciliano","weight":"-1.234","unit":"kg",)"
                    R"("state":"negative","tare":"0.266"})"},
        ReadingCase{"condec", "stable", "1,234 kg estável",
                    R"({"protocol":"condec","weight":"1.234","unit":"kg","state":"stable",)"
                    R"("net":false})"},
        ReadingCase{"condec", "motion", "1,234 kg em movimento",
                    R"({"protocol":"condec","weight":"1.234","unit":"kg","state":"motion",)"
                    R"("net":false})"},
        ReadingCase{"condec", "negative", "-1,234 kg negativo",
                    R"({"protocol":"condec","weight":"-1.234","unit":"kg","state":"negative",)"
                    R"("net":false})"},
        ReadingCase{"condec", "overload", "sobrecarga",
                    R"({"protocol":"condec","weight":null,"unit":"kg","state":"overload",)"
                    R"("net":false})"},
        ReadingCase{"el05", "stable", "1,234 kg",
                    R"({"protocol":"el05","weight":"1.234","unit":"kg","state":null})"},
        ReadingCase{"tru-test", "stable", "1,234 kg estável",
                    R"({"protocol":"tru-test","weight":"1.234","unit":"kg","state":"stable"})",
                    "{RW}"},
        ReadingCase{"tru-test", "motion", "1,234 kg em movimento",
                    R"({"protocol":"tru-test","weight":"1.234","unit":"kg","state":"motion"})",
                    "{RW}"},
        ReadingCase{"tru-test", "silent", nullptr, nullptr, "{RW}"}),
    caseName);

}  // namespace
}  // namespace vardelmo::cli
