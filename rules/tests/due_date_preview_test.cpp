#include "rules/due_date_preview.h"

#include <gtest/gtest.h>

#include <tuple>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

using namespace std::chrono;

TEST(DueDatePreview, DueDateOfOneInstallment) {
    const std::vector<Record> subtypes = {
        {{"CG64_TIPOEFF", 2}, {"CG64_CODSTIPOEFF", 3}, {"CG64_GGOFFSET", 5}},
        {{"CG64_TIPOEFF", "14"}, {"CG64_CODSTIPOEFF", "3"}, {"CG64_GGOFFSET", 40}}};
    const Record rule4 = {{"CG63_INDTIPODECOR", 4}, {"CG63_DAGGFIX1", 1},  {"CG63_AGGFIX1", 15},
                          {"CG63_GGSCADFIX1", 20},  {"CG63_DAGGFIX2", 16}, {"CG63_AGGFIX2", 31},
                          {"CG63_GGSCADFIX2", 5}};
    const Record leap = {{"CG63_INDTIPODECOR", 3}, {"CG63_GGMMFIX", 229}};
    const Record august = {};
    // The installment's changes, the shift periods, the invoice date and the due date.
    const std::tuple<Record, std::vector<Record>, year_month_day, const char*> cases[] = {
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
        // a subtype's offset, its codes stored as texts
        {{{"CG63_TIPOEFF", 14}, {"CG63_STIPOEFF", "3"}}, {}, 2027y / 1 / 15, "24/02/2027"},
        // every shift type, a period across the year end, moved once only
        {august, {periodo(801, 831, 1, 5)}, 2027y / 8 / 15, "06/09/2027"},
        {august, {periodo(801, 831, 2, 3)}, 2027y / 8 / 15, "04/09/2027"},
        {august, {periodo(801, 831, 3, 0)}, 2027y / 8 / 15, "15/09/2027"},
        {august, {periodo(801, 831, 3, 0, 101)}, 2027y / 8 / 15, "01/01/2028"},
        {august, {periodo(801, 831, 3, 0, 831)}, 2027y / 8 / 15, "31/08/2028"},
        {august, {periodo(801, 831, 4, 10)}, 2027y / 8 / 15, "10/09/2027"},
        {august, {periodo(1215, 115, 1, 0)}, 2027y / 8 / 15, "15/08/2027"},
        {august, {periodo(1215, 115, 1, 0)}, 2027y / 12 / 20, "16/01/2028"},
        {august, {periodo(801, 831, 2, 0), periodo(901, 930, 1, 0)}, 2027y / 8 / 15,
         "01/09/2027"},
        // clang-format on
    };
    for (const auto& [changes, periods, invoice, due] : cases) {
        const auto preview = due_date_preview({rata(changes)}, periods, subtypes, fattura(invoice));
        EXPECT_EQ(format_date(preview.rows.at(0).due), due) << format_date(invoice);
    }
}

// Each row as "due taxable+VAT", with the date a period moved it from and its note; then the
// notes on the whole term.
std::string shown(const DueDatePreview& preview) {
    std::string text;
    for (const PreviewRow& row : preview.rows) {
        text +=
            format_date(row.due) + " " + format_amount(row.taxable) + "+" + format_amount(row.vat);
        if (row.moved_from) text += " da " + format_date(*row.moved_from);
        if (!row.note.empty()) text += " [" + row.note + "]";
        text += "; ";
    }
    for (const std::string& note : preview.notes) text += "{" + note + "}";
    return text;
}

TEST(DueDatePreview, AmountsAddUpToTheCentAndWhatWasAssumedIsNoted) {
    const Record half = {{"CG63_PERCIMP", 50}, {"CG63_PERCIVA", 50}};
    const Record half_month_end = with(half, {{"CG63_INDDATARIF", 5}});
    auto nth = [](const Record& base, int n, const Record& more = {}) {
        return rata(with(with(base, {{"CG63_PROG", n}}), more));
    };
    // A third of the taxable part and `vat` % of the VAT.
    auto thirds = [](int n, int vat, const Record& more = {}) {
        return rata(with(
            {{"CG63_PROG", n}, {"CG63_PERCIMP", n == 3 ? 34 : 33}, {"CG63_PERCIVA", vat}}, more));
    };
    auto civil = [&](int n, int days) {
        return thirds(n, n == 3 ? 34 : 33, {{"CG63_INDTIPOCALEND", 1}, {"CG63_GGDECOR", days}});
    };
    auto merged = [&](int second_days) {
        return std::vector{
            rata(half), nth(half, 2, {{"CG63_INDTIPOCALEND", 1}, {"CG63_GGDECOR", second_days}})};
    };
    const std::vector<Record> none, august = {periodo(801, 831, 5, 0)};
    // The installments, the shift periods, the invoice and the preview shown.
    const std::tuple<std::vector<Record>, std::vector<Record>, ExampleInvoice, std::string>
        cases[] = {
            {{nth(half_month_end, 1, {{"CG63_GGDECOR", 30}}),
              nth(half_month_end, 2, {{"CG63_GGDECOR", 60}})},
             {periodo(801, 831, 4, 10)},
             fattura(2027y / 6 / 15),
             "31/07/2027 500,00+110,00; 10/09/2027 500,00+110,00 da 31/08/2027 [spostata dal "
             "31/08/2027 (periodo 01/08-31/08)]; "},
            {{nth(half, 1, {{"CG63_INDIMPFIX", 1}, {"CG63_IMPORFIX", 100}}), nth(half, 2)},
             none,
             fattura(2027y / 1 / 15),
             "15/01/2027 550,00+110,00; 15/01/2027 450,00+110,00; "},
            // VAT 100,01 in halves on the first two of three; the third has no VAT share.
            {{thirds(1, 50), thirds(2, 50), thirds(3, 0)},
             none,
             fattura(2027y / 1 / 15, 100000, 10001),
             "15/01/2027 330,00+50,01; 15/01/2027 330,00+50,00; 15/01/2027 340,00+0,00; "},
            {merged(31), august, fattura(2027y / 8 / 15),
             "15/09/2027 0,00+0,00 da 15/08/2027 [sommata alla rata 2 (periodo 01/08-31/08)]; "
             "15/09/2027 1.000,00+220,00 [comprende la rata 1]; "},
            {merged(61), august, fattura(2027y / 8 / 15),
             "15/09/2027 500,00+110,00 da 15/08/2027 [spostata dal 15/08/2027 (periodo "
             "01/08-31/08)]; 15/10/2027 500,00+110,00; "},
            // 10/08 joins 20/08, which joins 10/09: both carry their amounts to the third.
            {{civil(1, 0), civil(2, 10), civil(3, 31)},
             august,
             fattura(2027y / 8 / 10),
             "10/09/2027 0,00+0,00 da 10/08/2027 [sommata alla rata 3 (periodo 01/08-31/08)]; "
             "10/09/2027 0,00+0,00 da 20/08/2027 [sommata alla rata 3 (periodo 01/08-31/08)]; "
             "10/09/2027 1.000,00+220,00 [comprende la rata 1; comprende la rata 2]; "},
            // rows it cannot read, a period it cannot use
            {{{{"CG63_PROG", 1}},
              rata({{"CG63_PROG", 2},
                    {"CG63_INDDATARIF", 9},
                    {"CG63_TIPOEFF", "x"},
                    {"CG63_INDTIPODECOR", 2},
                    {"CG63_GGSCADFIX1", 0}})},
             {periodo(1345, 101, 1, 0)},
             fattura(2027y / 1 / 15),
             "15/01/2027 0,00+0,00 [manca la colonna CG63_TIPOEFF; tipo effetto 0 sconosciuto; "
             "manca la colonna CG63_INDDATARIF; manca la colonna CG63_INDTIPOCALEND; manca la "
             "colonna CG63_INDTIPODECOR; tipo decorrenza 0 sconosciuto: usato mese "
             "commerciale/civile; manca la colonna CG63_GGDECOR; manca la colonna "
             "CG63_FLGFRPERCIMP; manca la colonna CG63_EL1FRIMP; manca la colonna CG63_EL2FRIMP; "
             "manca la colonna CG63_FLGFRPERCIVA; manca la colonna CG63_EL1FRIVA; manca la "
             "colonna CG63_EL2FRIVA; manca la colonna CG63_INDIMPFIX]; 15/01/2027 1.000,00+220,00 "
             "[CG63_TIPOEFF non numerico: considerato 0; tipo effetto 0 sconosciuto; data di "
             "riferimento 9 sconosciuta: usata la data fattura; CG63_GGSCADFIX1 0 non valido: "
             "giorno fisso non applicato]; {Periodo di slittamento 1: limiti non validi: periodo "
             "ignorato}"},
            // fixed amounts it cannot use, and shares that miss 100 or are all zero
            {{rata({{"CG63_INDIMPFIX", 2}, {"CG63_PERCIMP", 90}, {"CG63_PERCIVA", 0}}),
              rata({{"CG63_PROG", 2},
                    {"CG63_INDIMPFIX", 5},
                    {"CG63_PERCIMP", 0},
                    {"CG63_PERCIVA", 0}})},
             none,
             fattura(2027y / 1 / 15),
             "15/01/2027 1.000,00+0,00 [importo fisso da indicare nel documento: considerato "
             "0]; 15/01/2027 0,00+220,00 [gestione importo fisso 5 sconosciuta]; {Le quote "
             "dell'imponibile sommano a 90.0000%: la differenza va alla rata 1}{Le quote dell'IVA "
             "sommano a 0.0000%: la differenza va alla rata 2}"},
            {{rata()}, none, fattura(2027y / 2 / 30), "{Data fattura non valida}"},
        };
    for (const auto& [installments, periods, invoice, expected] : cases) {
        EXPECT_EQ(shown(due_date_preview(installments, periods, {}, invoice)), expected);
    }
    EXPECT_EQ(due_date_preview({rata()}, {}, {}, fattura(2027y / 1 / 15)).rows.at(0).type_label,
              "Ricevuta Bancaria");
    EXPECT_EQ(format_amount(-123456789), "-1.234.567,89");
}

}  // namespace
}  // namespace condpag
