#include "rules/due_date_preview.h"

#include <gtest/gtest.h>

#include <random>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

using namespace std::chrono;
using Dates = std::vector<std::string>;

ExampleInvoice fattura(year_month_day date, Cents taxable = 100000, Cents vat = 22000) {
    ExampleInvoice invoice;
    invoice.invoice_date = date;
    invoice.taxable = taxable;
    invoice.vat = vat;
    return invoice;
}

Dates dates(const DueDatePreview& preview) {
    Dates out;
    for (const PreviewRow& row : preview.rows) out.push_back(format_date(row.due));
    return out;
}

TEST(DueDatePreview, DueDateOfOneInstallment) {
    const std::vector<Record> subtypes = {
        {{"CG64_TIPOEFF", 2}, {"CG64_CODSTIPOEFF", 3}, {"CG64_GGOFFSET", 5}},
        {{"CG64_TIPOEFF", "14"}, {"CG64_CODSTIPOEFF", "3"}, {"CG64_GGOFFSET", 40}}};
    const Record rule4 = {{"CG63_INDTIPODECOR", 4}, {"CG63_DAGGFIX1", 1},  {"CG63_AGGFIX1", 15},
                          {"CG63_GGSCADFIX1", 20},  {"CG63_DAGGFIX2", 16}, {"CG63_AGGFIX2", 31},
                          {"CG63_GGSCADFIX2", 5}};
    const Record leap = {{"CG63_INDTIPODECOR", 3}, {"CG63_GGMMFIX", 229}};
    const Record august = {};
    struct Case {
        Record changes;
        std::vector<Record> periods;
        year_month_day invoice;
        const char* due;
    } cases[] = {
        // clang-format off
        // civil and commercial calendar
        {{{"CG63_TIPOEFF", 14}, {"CG63_GGDECOR", 30}, {"CG63_INDTIPOCALEND", 1}}, {},
         2027y / 1 / 31, "02/03/2027"},
        {{{"CG63_TIPOEFF", 14}, {"CG63_GGDECOR", 30}}, {}, 2027y / 1 / 31, "28/02/2027"},
        // from a month's last day to the target month's last day, then the remaining days
        {{{"CG63_GGDECOR", 45}}, {}, 2027y / 2 / 28, "15/04/2027"},
        {{{"CG63_GGDECOR", 30}}, {}, 2027y / 1 / 30, "28/02/2027"},
        {{{"CG63_INDTIPODECOR", 2}, {"CG63_GGSCADFIX1", 10}, {"CG63_GGDECOR", 30},
          {"CG63_INDDATARIF", 6}}, {}, 2027y / 3 / 20, "10/05/2027"},
        {{{"CG63_INDTIPODECOR", 2}, {"CG63_GGSCADFIX1", 31}}, {}, 2027y / 4 / 12, "30/04/2027"},
        {rule4, {}, 2027y / 5 / 10, "20/05/2027"},
        {rule4, {}, 2027y / 5 / 25, "05/06/2027"},
        // 29/02 is 28/02 in a common year; a passed day/month goes to the next year
        {leap, {}, 2027y / 1 / 10, "28/02/2027"},
        {leap, {}, 2027y / 3 / 1, "29/02/2028"},
        // a fixed day/month counts from the month's end when the reference date says so
        {{{"CG63_INDTIPODECOR", 3}, {"CG63_GGMMFIX", 120}, {"CG63_INDDATARIF", 5}}, {},
         2027y / 1 / 10, "20/01/2028"},
        // subtype offsets, codes stored as numbers or texts
        {{{"CG63_STIPOEFF", 3}}, {}, 2027y / 1 / 15, "20/01/2027"},
        {{{"CG63_TIPOEFF", 14}, {"CG63_STIPOEFF", "3"}}, {}, 2027y / 1 / 15, "24/02/2027"},
        // every shift type, a period across the year end, moved once only
        {august, {periodo(801, 831, 1, 5)}, 2027y / 8 / 15, "06/09/2027"},
        {august, {periodo(801, 831, 2, 3)}, 2027y / 8 / 15, "04/09/2027"},
        {august, {periodo(801, 831, 3, 0)}, 2027y / 8 / 15, "15/09/2027"},
        {august, {periodo(801, 831, 3, 0, 1005)}, 2027y / 8 / 15, "05/10/2027"},
        {august, {periodo(801, 831, 3, 0, 831)}, 2027y / 8 / 15, "31/08/2028"},
        {august, {periodo(801, 831, 4, 10)}, 2027y / 8 / 15, "10/09/2027"},
        {august, {periodo(1215, 115, 1, 0)}, 2027y / 8 / 15, "15/08/2027"},
        {august, {periodo(1215, 115, 1, 0)}, 2027y / 12 / 20, "16/01/2028"},
        {august, {periodo(801, 831, 2, 0), periodo(901, 930, 1, 0)}, 2027y / 8 / 15,
         "01/09/2027"},
        // clang-format on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            dates(due_date_preview({rata(c.changes)}, c.periods, subtypes, fattura(c.invoice))),
            Dates{c.due})
            << format_date(c.invoice) << " " << c.changes.size();
    }
}

TEST(DueDatePreview, AmountsAddUpToTheCentAndMovesAreNoted) {
    const Record third = {{"CG63_INDDATARIF", 5}, {"CG63_FLGFRPERCIMP", 0}, {"CG63_EL1FRIMP", 1},
                          {"CG63_EL2FRIMP", 3},   {"CG63_FLGFRPERCIVA", 0}, {"CG63_EL1FRIVA", 1},
                          {"CG63_EL2FRIVA", 3}};
    auto riba = due_date_preview({rata(with(third, {{"CG63_GGDECOR", 30}})),
                                  rata(with(third, {{"CG63_PROG", 2}, {"CG63_GGDECOR", 60}})),
                                  rata(with(third, {{"CG63_PROG", 3}, {"CG63_GGDECOR", 90}}))},
                                 {}, {}, fattura(2027y / 1 / 15));
    EXPECT_EQ(dates(riba), (Dates{"28/02/2027", "31/03/2027", "30/04/2027"}));
    ASSERT_EQ(riba.rows.size(), 3u);
    EXPECT_EQ(riba.rows[0].type_label, "Ricevuta Bancaria");
    EXPECT_EQ(format_amount(riba.rows[0].total) + " " + format_amount(riba.rows[1].total) + " " +
                  format_amount(riba.rows[2].total),
              "406,66 406,66 406,68");
    EXPECT_EQ(riba.rows[2].taxable, 33334);
    EXPECT_TRUE(riba.notes.empty());

    const Record half = {{"CG63_INDDATARIF", 5}, {"CG63_PERCIMP", 50}, {"CG63_PERCIVA", 50}};
    auto august = due_date_preview({rata(with(half, {{"CG63_GGDECOR", 30}})),
                                    rata(with(half, {{"CG63_PROG", 2}, {"CG63_GGDECOR", 60}}))},
                                   {periodo(801, 831, 4, 10)}, {}, fattura(2027y / 6 / 15));
    EXPECT_EQ(dates(august), (Dates{"31/07/2027", "10/09/2027"}));
    EXPECT_TRUE(august.rows[0].note.empty());
    EXPECT_EQ(august.rows[1].moved_from, 2027y / 8 / 31);
    EXPECT_FALSE(august.rows[1].note.empty());

    auto fixed =
        due_date_preview({rata(with(half, {{"CG63_INDIMPFIX", 1}, {"CG63_IMPORFIX", 100}})),
                          rata(with(half, {{"CG63_PROG", 2}}))},
                         {}, {}, fattura(2027y / 1 / 15));
    EXPECT_EQ(fixed.rows[0].total, 66000);
    EXPECT_EQ(fixed.rows[1].total, 56000);

    // VAT 100,01 in halves on the first two of three: 50,01 and the difference 50,00; the third
    // has no VAT share and takes nothing.
    auto vat = [](int n, int share) {
        return rata(
            {{"CG63_PROG", n}, {"CG63_PERCIMP", n == 3 ? 34 : 33}, {"CG63_PERCIVA", share}});
    };
    auto halves = due_date_preview({vat(1, 50), vat(2, 50), vat(3, 0)}, {}, {},
                                   fattura(2027y / 1 / 15, 100000, 10001));
    EXPECT_EQ(halves.rows[0].vat, 5001);
    EXPECT_EQ(halves.rows[1].vat, 5000);
    EXPECT_EQ(halves.rows[2].vat, 0);
    EXPECT_EQ(halves.rows[2].taxable, 34000);
}

TEST(DueDatePreview, MergingPeriodsCarryAmountsIntoTheNextMonth) {
    const Record half = {{"CG63_PERCIMP", 50}, {"CG63_PERCIVA", 50}};
    auto two = [&](int second_days) {
        return due_date_preview({rata(half), rata(with(half, {{"CG63_PROG", 2},
                                                              {"CG63_INDTIPOCALEND", 1},
                                                              {"CG63_GGDECOR", second_days}}))},
                                {periodo(801, 831, 5, 0)}, {}, fattura(2027y / 8 / 15));
    };
    auto merged_rows = two(31);
    EXPECT_EQ(dates(merged_rows), (Dates{"15/09/2027", "15/09/2027"}));
    EXPECT_EQ(merged_rows.rows[0].total, 0);
    EXPECT_EQ(merged_rows.rows[1].total, 122000);
    EXPECT_EQ(dates(two(61)), (Dates{"15/09/2027", "15/10/2027"}));

    // 10/08 joins 20/08, which joins 10/09: both carry their amounts to the third.
    auto civil = [](int n, int days) {
        return rata({{"CG63_PROG", n},
                     {"CG63_INDTIPOCALEND", 1},
                     {"CG63_GGDECOR", days},
                     {"CG63_PERCIMP", n == 3 ? 34 : 33},
                     {"CG63_PERCIVA", n == 3 ? 34 : 33}});
    };
    auto chain = due_date_preview({civil(1, 0), civil(2, 10), civil(3, 31)},
                                  {periodo(801, 831, 5, 0)}, {}, fattura(2027y / 8 / 10));
    EXPECT_EQ(dates(chain), (Dates{"10/09/2027", "10/09/2027", "10/09/2027"}));
    EXPECT_EQ(chain.rows[2].total, 122000);
    EXPECT_NE(chain.rows[0].note.find("sommata alla rata 3"), std::string::npos);
}

TEST(DueDatePreview, BadInputGivesRowsWithNotes) {
    auto bad = due_date_preview({{{"CG63_PROG", 1}},
                                 rata({{"CG63_PROG", 2},
                                       {"CG63_INDDATARIF", 9},
                                       {"CG63_TIPOEFF", "x"},
                                       {"CG63_INDTIPODECOR", 2},
                                       {"CG63_GGSCADFIX1", 0}})},
                                {periodo(1345, 101, 1, 0)}, {}, fattura(2027y / 1 / 15));
    ASSERT_EQ(bad.rows.size(), 2u);
    EXPECT_NE(bad.rows[0].note.find("CG63_TIPOEFF"), std::string::npos);
    EXPECT_NE(bad.rows[1].note.find("data di riferimento 9"), std::string::npos);
    EXPECT_EQ(bad.rows[1].due, 2027y / 1 / 15);
    EXPECT_EQ(bad.rows[0].total + bad.rows[1].total, 122000);
    ASSERT_EQ(bad.notes.size(), 1u);
    EXPECT_NE(bad.notes[0].find("periodo ignorato"), std::string::npos);
    EXPECT_TRUE(due_date_preview({rata()}, {}, {}, fattura(2027y / 2 / 30)).rows.empty());
    EXPECT_EQ(format_amount(-123456789), "-1.234.567,89");
    EXPECT_EQ(format_amount(0), "0,00");

    // Fixed amounts it cannot use, and shares that miss 100, are noted.
    auto noted = due_date_preview(
        {rata({{"CG63_INDIMPFIX", 2}, {"CG63_PERCIMP", 90}}),
         rata({{"CG63_PROG", 2}, {"CG63_INDIMPFIX", 5}, {"CG63_PERCIMP", 0}, {"CG63_PERCIVA", 0}})},
        {}, {}, fattura(2027y / 1 / 15));
    EXPECT_NE(noted.rows[0].note.find("importo fisso da indicare"), std::string::npos);
    EXPECT_NE(noted.rows[1].note.find("gestione importo fisso 5 sconosciuta"), std::string::npos);
    ASSERT_EQ(noted.notes.size(), 1u);
    EXPECT_NE(noted.notes[0].find("sommano a 90.0000%"), std::string::npos);
}

// Generated terms and invoices: the rows add up, no due date comes before its reference date,
// and a due date left inside a shift period is always one that a period moved.
TEST(DueDatePreview, GeneratedTermsKeepTheirInvariants) {
    std::mt19937 random(20270115);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    auto maybe = [&](int value) { return pick(0, 2) ? Value(value) : Value(); };
    for (int round = 0; round < 3000; ++round) {
        const auto invoice_day = sys_days{2020y / 1 / 1} + days{pick(0, 5000)};
        ExampleInvoice invoice = fattura(invoice_day, pick(0, 1 << 30), pick(-5000, 1 << 28));
        invoice.delivery_note_date = year_month_day{invoice_day - days{pick(0, 40)}};
        invoice.order_date = year_month_day{invoice_day - days{pick(0, 90)}};
        invoice.on_request_date = year_month_day{invoice_day + days{pick(0, 90)}};
        std::vector<Record> periods, installments, subtypes;
        for (int p = pick(0, 4); p > 0; --p) {
            const int month = pick(1, 12), first = pick(1, 28);
            periods.push_back(periodo(month * 100 + first, month * 100 + pick(first, 28),
                                      pick(1, 5), pick(0, 20), maybe(pick(1, 12) * 100 + 1)));
        }
        for (int s = 1; s <= 3; ++s) {
            subtypes.push_back(
                {{"CG64_TIPOEFF", 2}, {"CG64_CODSTIPOEFF", s}, {"CG64_GGOFFSET", pick(0, 30)}});
        }
        const int count = pick(1, 12);
        for (int n = 1; n <= count; ++n) {
            const int fixed = pick(0, 5) == 0 ? pick(1, 2) : 0;
            if (fixed == 2 && pick(0, 1)) invoice.asked_fixed_amounts[n] = pick(0, 100000);
            installments.push_back(rata({{"CG63_PROG", n},
                                         {"CG63_STIPOEFF", maybe(pick(1, 3))},
                                         {"CG63_INDTIPODECOR", pick(1, 4)},
                                         {"CG63_GGDECOR", pick(0, 400)},
                                         {"CG63_INDDATARIF", pick(0, 6)},
                                         {"CG63_INDTIPOCALEND", pick(0, 1)},
                                         {"CG63_GGSCADFIX1", pick(1, 31)},
                                         {"CG63_GGSCADFIX2", pick(1, 31)},
                                         {"CG63_DAGGFIX1", 1},
                                         {"CG63_AGGFIX1", pick(1, 31)},
                                         {"CG63_DAGGFIX2", pick(1, 31)},
                                         {"CG63_AGGFIX2", 31},
                                         {"CG63_GGMMFIX", pick(1, 12) * 100 + pick(1, 28)},
                                         {"CG63_FLGFRPERCIMP", pick(0, 1)},
                                         {"CG63_PERCIMP", pick(0, 1000000) / 10000.0},
                                         {"CG63_EL1FRIMP", pick(0, 3)},
                                         {"CG63_EL2FRIMP", pick(1, 7)},
                                         {"CG63_PERCIVA", pick(0, 100)},
                                         {"CG63_INDIMPFIX", fixed},
                                         {"CG63_IMPORFIX", pick(0, 99999) / 100.0}}));
        }
        const DueDatePreview preview = due_date_preview(installments, periods, subtypes, invoice);
        ASSERT_EQ(preview.rows.size(), installments.size());
        const year_month_day reference[] = {
            invoice.invoice_date,
            *invoice.delivery_note_date,
            invoice.invoice_date,
            *invoice.order_date,
            *invoice.on_request_date,
            invoice.invoice_date,
            invoice.invoice_date.year() / invoice.invoice_date.month() / last};
        Cents taxable = 0, vat = 0;
        for (std::size_t i = 0; i < preview.rows.size(); ++i) {
            const PreviewRow& row = preview.rows[i];
            taxable += row.taxable;
            vat += row.vat;
            EXPECT_EQ(row.total, row.taxable + row.vat);
            const year_month_day before = row.moved_from.value_or(row.due);
            EXPECT_GE(before, reference[int(CDecN(field(installments[i], "CG63_INDDATARIF")))])
                << "round " << round << " row " << i;
            if (row.moved_from) {
                EXPECT_GT(row.due, *row.moved_from) << "round " << round;
                continue;
            }
            const double day_month = 100.0 * unsigned(row.due.month()) + unsigned(row.due.day());
            for (const Record& period : periods) {
                EXPECT_FALSE(day_month >= CDecN(field(period, "CG65_DAMMGG")) &&
                             day_month <= CDecN(field(period, "CG65_AMMGG")))
                    << "round " << round << " row " << i;
            }
        }
        ASSERT_EQ(taxable, invoice.taxable) << "round " << round;
        ASSERT_EQ(vat, invoice.vat) << "round " << round;
    }
}

}  // namespace
}  // namespace condpag
