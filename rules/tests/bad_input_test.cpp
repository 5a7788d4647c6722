// Arbitrary text through the day/month parsers, the share and generation checks and the
// description: every answer must be a sane one, whatever is typed.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "rules/day_month.h"
#include "rules/description.h"
#include "rules/generation.h"
#include "rules/share_checks.h"
#include "rules/tests/print_value.h"

namespace condpag {
namespace {

class Typist {
  public:
    explicit Typist(unsigned seed) : engine_(seed) {}
    std::string text() {
        static constexpr std::string_view kKeys = "0123456789//  ,.-+ae\t9";
        std::string result(std::uniform_int_distribution<int>(0, 7)(engine_), ' ');
        for (char& c : result) c = kKeys[pick(kKeys.size())];
        return result;
    }
    Value value() {
        switch (pick(4)) {
            case 0:
                return {};
            case 1:
                return Value(std::uniform_int_distribution<int>(-50, 1300)(engine_));
            default:
                return Value(text());
        }
    }
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }

  private:
    std::mt19937 engine_;
};

TEST(BadInput, ParsersAndChecksGiveSaneAnswers) {
    Typist typist(20261206);
    // clang-format off
    const std::set<std::string> boxes = {
        "", "TXT_GGDECOR", "TXT_GGSCADFIX1", "TXT_GGMMFIX", "TXT_DAGGFIX1", "TXT_AGGFIX1",
        "TXT_DAGGFIX2", "TXT_AGGFIX2", "TXT_GGSCADFIX2", "TXT_NUMIMP", "TXT_IMP", "TXT_NUMIVA",
        "TXT_IVA"};
    // clang-format on
    const char* columns[] = {"CG63_TIPOEFF",      "CG63_INDTIPODECOR", "CG63_GGDECOR",
                             "CG63_GGSCADFIX1",   "CG63_GGMMFIX",      "CG63_INDDATARIF",
                             "CG63_FLGFRPERCIMP", "CG63_PERCIMP",      "CG63_EL1FRIMP",
                             "CG63_EL2FRIMP",     "CG63_FLGFRPERCIVA", "CG63_PERCIVA",
                             "CG63_INDIMPFIX",    "CG63_IMPORFIX",     "CG63_DAGGFIX2"};
    int notices = 0;
    const NoticeSink notify = [&](const Notice&) { ++notices; };

    for (int i = 0; i < 50000; ++i) {
        const std::string a = typist.text();
        const std::string b = typist.text();
        const int mode = static_cast<int>(typist.pick(6)) - 1;

        const bool valid = DataValida(a, mode, notify);
        const bool blank = RTrimN(a).empty();
        if (valid && !blank) {
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
        if (auto percent = FrazioneInPercentuale(a)) {
            ASSERT_TRUE(std::isfinite(*percent)) << a;
        }
        FormattaGGMM(typist.value(), mode);

        GenerationRequest window;
        window.texts = {{"TXT_IMP", a}, {"TXT_NUMIMP", a}, {"TXT_DENIMP", b}};
        if (PercentualeValida(0, window)) {
            ASSERT_TRUE(parse_number(a) && *parse_number(a) >= -0.5 && *parse_number(a) <= 100.5);
        }
        if (FrazioneValida(0, window)) {
            ASSERT_GT(*parse_number(b), 0.0) << b;
        }

        Record row;
        for (const char* column : columns) row[column] = typist.value();
        auto code = [&] { return std::to_string(typist.pick(6)); };
        window.texts.insert({{"CMB_TIPODECORR", code()},
                             {"TXT_GGDECOR", b},
                             {"TXT_GGSCADFIX1", typist.text()},
                             {"TXT_DAGGFIX2", a},
                             {"TXT_AGGFIX2", b},
                             {"TXT_GGSCADFIX2", typist.text()},
                             {"CMB_FLGFRPERCIMP", code()},
                             {"TXT_NUMERORATE", a}});
        ASSERT_TRUE(boxes.contains(ControllaGenerazione(window)));
        ASSERT_LE(RigheGeneraRate(window, a, 0).size(), 99u);

        const std::vector<Record> rows(1 + typist.pick(3), row);
        if (auto text = DescrizioneAutomatica(rows, {})) {
            ASSERT_LE(text->size(), 40u) << *text;
        }
    }
    EXPECT_GT(notices, 0);
}

}  // namespace
}  // namespace condpag
