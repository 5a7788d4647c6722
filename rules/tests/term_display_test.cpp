// How a term's rows read in the listings: the same cells the grids show.

#include "rules/term_display.h"

#include <gtest/gtest.h>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

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
    // Unknown codes and share forms show nothing rather than a wrong text.
    EXPECT_EQ(cells({{"CG63_TIPOEFF", 17},
                     {"CG63_FLGFRPERCIMP", 2},
                     {"CG63_FLGFRPERCIVA", "x"},
                     {"CG63_PERCIVA", 100}}),
              std::vector<std::string>(16, ""));

    const std::pair<Record, std::vector<std::string>> periods[] = {
        // lower, upper, type, fixed date, days
        {periodo(101, 1231, 7, 3, 110), {"01/01", "31/12", "7", "10/01", "3"}},
        {periodo(0, 831, Value(), Value()), {"00/00", "31/08", "", "", ""}}};
    for (const auto& [row, expected] : periods) {
        const PeriodCells c = period_cells(row);
        EXPECT_EQ((std::vector<std::string>{c.lower, c.upper, c.type, c.fixed_date, c.days}),
                  expected);
    }
}

}  // namespace
}  // namespace condpag
