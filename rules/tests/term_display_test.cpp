// How a term's rows read in the listings: the same cells the grids show.

#include "rules/term_display.h"

#include <gtest/gtest.h>

namespace condpag {
namespace {

TEST(TermDisplay, SharesReadAsFractionOrPercentageAndNothingElse) {
    struct Case {
        Value form, percent, numerator, denominator;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {0, 0, 1, 3, "1/3"},         {1, 50, 0, 0, "50%"},     {"1", 33.5, 0, 0, "33,5%"},
        {"0", Value(), 1, 2, "1/2"}, {Value(), 100, 0, 0, ""}, {2, 100, 1, 1, ""},
        {"x", 100, 1, 1, ""},        {1, Value(), 1, 1, "%"},
    };
    for (const Case& c : cases) {
        const Record row = {{"CG63_FLGFRPERCIVA", c.form},
                            {"CG63_PERCIVA", c.percent},
                            {"CG63_EL1FRIVA", c.numerator},
                            {"CG63_EL2FRIVA", c.denominator}};
        EXPECT_EQ(share_text(row, kVatShare), c.shown) << c.form.to_text();
        // The taxable share reads its own columns.
        EXPECT_EQ(share_text(row, kTaxableShare), "") << c.form.to_text();
    }
}

TEST(TermDisplay, InstallmentAndPeriodCellsAsTheGridsShowThem) {
    const Record installment = {
        {"CG63_PROG", 2},           {"CG63_TIPOEFF", 13},  {"CG63_STIPOEFF", 1},
        {"CG63_INDTIPODECOR", 4},   {"CG63_GGDECOR", 60},  {"CG63_INDDATARIF", 6},
        {"CG63_FLGFRPERCIMP", 0},   {"CG63_EL1FRIMP", 1},  {"CG63_EL2FRIMP", 3},
        {"CG63_FLGFRPERCIVA", 1},   {"CG63_PERCIVA", 100}, {"CG63_INDIMPFIX", 3},
        {"CG63_IMPORFIX", "12.5 "}, {"CG63_DAGGFIX1", 1},  {"CG63_AGGFIX1", 15},
        {"CG63_GGSCADFIX1", 5},     {"CG63_GGMMFIX", 815}};
    auto cells = [](const Record& row) {
        const InstallmentCells c = installment_cells(row);
        return std::vector<std::string>{
            c.number,       c.type,          c.subtype,        c.days,
            c.reference,    c.taxable_share, c.vat_share,      c.fixed_handling,
            c.fixed_amount, c.first_from,    c.first_to,       c.first_due_day,
            c.second_from,  c.second_to,     c.second_due_day, c.fixed_day_month};
    };
    // An unlisted fixed-amount handling is shown as stored.
    EXPECT_EQ(cells(installment),
              (std::vector<std::string>{"2", "Rd", "1", "60", "Da rich. nel doc.", "1/3", "100%",
                                        "3", "12,50", "01", "15", "05", "", "", "", "15/08"}));
    EXPECT_EQ(cells({{"CG63_TIPOEFF", 17}}), std::vector<std::string>(16, ""));

    struct Period {
        Record row;
        std::vector<std::string> cells;  // lower, upper, type, fixed date, days
    };
    const std::vector<Period> periods = {
        {{{"CG65_DAMMGG", 101},
          {"CG65_AMMGG", 1231},
          {"CG65_INDTIPOSLIT", 7},
          {"CG65_GGMMFIXSLIT", 110},
          {"CG65_GGSLSUCC", 3}},
         {"01/01", "31/12", "7", "10/01", "3"}},
        {{{"CG65_DAMMGG", 0}, {"CG65_AMMGG", 831}, {"CG65_INDTIPOSLIT", Value()}},
         {"00/00", "31/08", "", "", ""}},
    };
    for (const Period& p : periods) {
        const PeriodCells c = period_cells(p.row);
        EXPECT_EQ((std::vector<std::string>{c.lower, c.upper, c.type, c.fixed_date, c.days}),
                  p.cells);
    }
}

}  // namespace
}  // namespace condpag
