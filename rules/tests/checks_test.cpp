#include <gtest/gtest.h>

#include <vector>

#include "rules/installment_checks.h"
#include "rules/tests/rows.h"
#include "rules/totals.h"

namespace condpag {
namespace {

TEST(Totals, SumsNormalisesAndRepeatsTheShareOfAnUnknownForm) {
    const RoundingNormaliser normaliser;
    const ShareTotals thirds = TotaliQuote(std::vector<Record>(3, fraction(1, 3)));
    EXPECT_EQ(thirds.taxable, 99.99999999999999);
    EXPECT_EQ(normalised(normaliser, thirds.vat), 100.0);
    EXPECT_EQ(total_text(normaliser, thirds.taxable), "100");
    EXPECT_EQ(total_text(normaliser, 100.0 / 3), "33.333333");
    EXPECT_EQ(total_text(RoundingNormaliser(6, ','), 200.0 / 3), "66,666667");

    const ShareTotals repeated = TotaliQuote(std::vector{
        percent(40, 10), with(percent(0, 0), {{"CG63_FLGFRPERCIMP", 7}}), fraction(1, 0)});
    EXPECT_EQ(repeated.taxable, 80.0);
    EXPECT_EQ(repeated.vat, 10.0);
}

TEST(InstallmentChecks, ControllaRataByStartRuleThenShareBoxes) {
    const Record ok = percent(50, 50);
    auto rule4 = [&](Value f1, Value t1, Value d1, Value f2, Value t2, Value d2) {
        return with(ok, {{"CG63_INDTIPODECOR", 4},
                         {"CG63_DAGGFIX1", f1},
                         {"CG63_AGGFIX1", t1},
                         {"CG63_GGSCADFIX1", d1},
                         {"CG63_DAGGFIX2", f2},
                         {"CG63_AGGFIX2", t2},
                         {"CG63_GGSCADFIX2", d2}});
    };
    const Value no;
    // clang-format off
    const std::vector<std::pair<Record, std::string>> cases = {
        {ok, ""},
        {with(ok, {{"CG63_GGDECOR", 0}}), ""},
        {with(ok, {{"CG63_GGDECOR", -30}}), "TXT_GGDECOR"},
        {with(ok, {{"CG63_INDTIPODECOR", "2"}}), "TXT_GGSCADFIX1"},
        {with(ok, {{"CG63_INDTIPODECOR", 3}}), "TXT_GGMMFIX"},
        {with(ok, {{"CG63_INDTIPODECOR", 9}, {"CG63_GGDECOR", -1}}), ""},
        {rule4(15, 1, 20, no, no, no), "TXT_DAGGFIX1"},
        {rule4(no, no, no, 16, no, 5), "TXT_AGGFIX2"},
        {rule4(1, 15, 32, 16, 31, 5), ""},
        {rule4(1, 15, 20, 20, 10, 5), "TXT_DAGGFIX2"},
        {rule4(10, 10, 20, 31, 16, 5), "TXT_DAGGFIX2"},
        {fraction(0, 5), ""},
        {fraction("", 3), "TXT_NUMIMP"},
        {fraction("2,5", 3), ""},
        {fraction("3.5", 3), "TXT_NUMIMP"},
        {percent(100.5, 100.4), ""},
        {percent(100.6, 100), "TXT_IMP"},
        {with(fraction(1, 2), {{"CG63_EL2FRIVA", 0}}), "TXT_NUMIVA"},
        {percent(50, 101), "TXT_IVA"},
        {percent(-1, 101), "TXT_IMP"},
        {with(percent("x", "x"), {{"CG63_FLGFRPERCIMP", 5}, {"CG63_FLGFRPERCIVA", 5}}), ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        FakeEditor editor;
        editor.current = cases[i].first;
        EXPECT_EQ(ControllaRata(editor), cases[i].second) << "case " << i;
    }
}

TEST(InstallmentChecks, WholeInstallmentCheck) {
    const RoundingNormaliser normaliser;
    struct Case {
        bool is_new;
        std::string total_taxable, total_vat;
        Record remembered, current;
        std::string control;
        std::string_view message;
        int profile = 0;  // 3 asks for one payment type and subtype per term
    };
    const auto taxable = kSommaImponibiliOltre100, vat = kSommaIvaOltre100;
    // Beside a first installment of type 2, subtype 1.
    auto typed = [](int prog, Value type, Value subtype) {
        return with(percent(0, 0),
                    {{"CG63_PROG", prog}, {"CG63_TIPOEFF", type}, {"CG63_STIPOEFF", subtype}});
    };
    const auto mixed = kTipiSottotipiDiversi;
    // clang-format off
    const std::vector<Case> cases = {
        // both above: the taxable share is reported
        {true, "100", "100", {}, fraction(1, 2), "TXT_NUMIMP", taxable},
        {true, "50", "100", {}, percent(50, 10), "TXT_IVA", vat},
        {true, "50", "80", {}, with(fraction(1, 2), {{"CG63_FLGFRPERCIMP", 1}, {"CG63_PERCIMP", 50}}),
         "TXT_NUMIVA", vat},
        // 100.5 passes the field check, not the sum
        {true, "0", "0", {}, percent(100.5, 100), "TXT_IMP", taxable},
        // an old zero denominator is set aside: nothing is subtracted
        {false, "100", "100", fraction(1, 0), percent(50, 0), "TXT_IMP", taxable},
        {true, "100", "100", {}, with(percent(50, 0), {{"CG63_GGDECOR", -30}}), "TXT_GGDECOR",
         kRataNonCorretta},
        // one type and subtype per term, with profile 3 only
        {true, "0", "0", {}, typed(2, 2, 1), "", "", 3},
        {true, "0", "0", {}, typed(2, 2, 2), "TXT_SOTTOTIPO", mixed, 3},
        {true, "0", "0", {}, typed(1, 13, 4), "", "", 3},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        FakeEditor editor;
        editor.is_new = c.is_new;
        editor.texts = {{"TXT_TOTIMP", c.total_taxable}, {"TXT_TOTIVA", c.total_vat}};
        editor.remembered = c.remembered;
        editor.current = c.current;
        editor.profile = c.profile;
        editor.rows = {typed(1, 2, 1), c.current};
        const Verdict verdict = FME_DETTAGLIO_ValidateRecord(editor, normaliser);
        EXPECT_EQ(verdict.control, c.control) << "case " << i;
        EXPECT_EQ(verdict.message, c.message) << "case " << i;
    }

    FakeEditor editor;
    editor.current = with(percent(0, 0), {{"CG63_GGDECOR", -1}});
    const Verdict kept = FME_DETTAGLIO_ValidateRecord(editor, normaliser, {"TXT_CODICE", "x"});
    EXPECT_EQ(kept.control + kept.message, "TXT_CODICEx");
}

TEST(InstallmentChecks, HeaderAndShiftPeriod) {
    // The Art. 26 discount given both ways is refused through the editor's own tests.
    struct HeaderCase {
        std::string taxable, vat, taxable_form, vat_form;
        std::string control;
        std::string_view message;
    };
    const HeaderCase headers[] = {
        {"99.9", "100", "0", "1", "TXT_NUMIMP", kImponibileDiversoDa100},
        {"100", "50", "0", "1", "TXT_IVA", kIvaDiversaDa100},
        {"0", "0", "", "", "", ""},
    };
    for (const HeaderCase& c : headers) {
        FakeEditor editor;
        editor.texts = {{"TXT_TOTIMP", c.taxable},
                        {"TXT_TOTIVA", c.vat},
                        {"CMB_FLGFRPERCIMP", c.taxable_form},
                        {"CMB_FLGFRPERCIVA", c.vat_form}};
        const Verdict verdict = FME_CONDPAGDES_ValidateRecord(editor);
        EXPECT_EQ(verdict.control, c.control) << c.taxable << " " << c.vat;
        EXPECT_EQ(verdict.message, c.message);
    }

    const std::vector<std::tuple<std::string, std::string, std::string>> periods = {
        {"01/03", "01/03", ""},
        {"01/03", "32/03", "TXT_PERSLITAGGMM"},
        {"2802", "29/02 ", ""},
    };
    for (const auto& [from, to, control] : periods) {
        FakeEditor editor;
        editor.texts = {{"TXT_PERSLITDAGGMM", from}, {"TXT_PERSLITAGGMM", to}};
        const Verdict verdict = FME_PERSLIT_ValidateRecord(editor);
        EXPECT_EQ(verdict.control, control) << from << " " << to;
        EXPECT_EQ(verdict.message, control.empty() ? "" : kPeriodoNonCorretto);
    }
}

}  // namespace
}  // namespace condpag
