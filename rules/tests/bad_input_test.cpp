// Arbitrary text through the day/month parsers, the share and generation checks and the
// description: every answer must be a sane one, whatever is typed.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "rules/day_month.h"
#include "rules/description.h"
#include "rules/generation.h"
#include "rules/share_checks.h"
#include "rules/tests/rows.h"

namespace condpag {
namespace {

TEST(BadInput, ParsersAndChecksGiveSaneAnswers) {
    std::mt19937 engine(20261206);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); };
    auto text = [&] {
        static constexpr std::string_view kKeys = "0123456789//  ,.-+ae\t9";
        std::string typed(pick(8), ' ');
        for (char& c : typed) c = kKeys[pick(int(kKeys.size()))];
        return typed;
    };
    auto value = [&] {
        const int kind = pick(4);
        return kind == 0 ? Value() : kind == 1 ? Value(pick(1351) - 50) : Value(text());
    };
    const std::set<std::string> boxes = {"",
                                         "TXT_GGDECOR",
                                         "TXT_GGSCADFIX1",
                                         "TXT_GGMMFIX",
                                         "TXT_DAGGFIX1",
                                         "TXT_AGGFIX1",
                                         "TXT_DAGGFIX2",
                                         "TXT_AGGFIX2",
                                         "TXT_GGSCADFIX2",
                                         "TXT_NUMIMP",
                                         "TXT_IMP",
                                         "TXT_NUMIVA",
                                         "TXT_IVA"};
    const char* columns[] = {"CG63_TIPOEFF",      "CG63_INDTIPODECOR", "CG63_GGDECOR",
                             "CG63_GGSCADFIX1",   "CG63_GGMMFIX",      "CG63_INDDATARIF",
                             "CG63_FLGFRPERCIMP", "CG63_PERCIMP",      "CG63_EL1FRIMP",
                             "CG63_EL2FRIMP",     "CG63_FLGFRPERCIVA", "CG63_PERCIVA",
                             "CG63_INDIMPFIX",    "CG63_IMPORFIX",     "CG63_DAGGFIX2"};
    int notices = 0;
    const NoticeSink notify = [&](const Notice&) { ++notices; };

    for (int i = 0; i < 50000; ++i) {
        const std::string a = text(), b = text();
        const int mode = pick(6) - 1;
        if (DataValida(a, mode, notify) && !RTrimN(a).empty()) {
            ASSERT_TRUE(mode == 0 || mode == 1) << a;
            ASSERT_TRUE(DataNonPrecedente(a, a, mode)) << a;
            // What is stored reads back as what was shown.
            const std::string barless = TogliBarre(a);
            if (mode == 1 && barless.size() <= 4) {
                ASSERT_EQ(FormattaGGMM(GGMMdaMMGG(MMGGdaGGMM(Value(barless))), 1),
                          FormattaGGMM(Value(barless), 1))
                    << a;
            }
        }
        if (DataNonPrecedente(a, b, 1) && DataNonPrecedente(b, a, 1)) {
            ASSERT_EQ(FormattaGGMM(Value(TogliBarre(a)), 1), FormattaGGMM(Value(TogliBarre(b)), 1))
                << "[" << a << "] [" << b << "]";
        }
        ASSERT_EQ(TogliBarre(a).find('/'), std::string::npos);
        const auto percent = FrazioneInPercentuale(a);
        ASSERT_TRUE(!percent || std::isfinite(*percent)) << a;
        FormattaGGMM(value(), mode);

        GenerationRequest window;
        window.texts = {{"TXT_IMP", a}, {"TXT_NUMIMP", a}, {"TXT_DENIMP", b}};
        if (PercentualeValida(0, window)) {
            ASSERT_TRUE(parse_number(a) && *parse_number(a) >= -0.5 && *parse_number(a) <= 100.5);
        }
        ASSERT_TRUE(!FrazioneValida(0, window) || *parse_number(b) > 0.0) << b;

        Record row;
        for (const char* column : columns) row[column] = value();
        auto code = [&] { return std::to_string(pick(6)); };
        window.texts.insert({{"CMB_TIPODECORR", code()},
                             {"TXT_GGDECOR", b},
                             {"TXT_GGSCADFIX1", text()},
                             {"TXT_DAGGFIX2", a},
                             {"TXT_AGGFIX2", b},
                             {"TXT_GGSCADFIX2", text()},
                             {"CMB_FLGFRPERCIMP", code()},
                             {"TXT_NUMERORATE", a}});
        ASSERT_TRUE(boxes.contains(ControllaGenerazione(window)));
        ASSERT_LE(RigheGeneraRate(window, a, 0).size(), 99u);
        if (auto described = DescrizioneAutomatica(std::vector<Record>(1 + pick(3), row), {})) {
            ASSERT_LE(described->size(), 40u) << *described;
        }
    }
    EXPECT_GT(notices, 0);
}

}  // namespace
}  // namespace condpag
