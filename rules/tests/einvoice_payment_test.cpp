#include "rules/einvoice_payment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

using namespace std::chrono;

// The installments here count on the civil calendar.
Record civile(const Record& changes) { return rata(with({{"CG63_INDTIPOCALEND", 1}}, changes)); }

ExampleInvoice fattura(Cents taxable = 100000, Cents vat = 22000) {
    return condpag::fattura(year{2027} / 7 / 15, taxable, vat);
}

PaymentDataResult block(const std::vector<Record>& rows, std::optional<PaymentMode> mode = {},
                        const ExampleInvoice& invoice = fattura(),
                        const std::vector<Record>& periods = {}) {
    // Ri.Ba. subtype 1 holds no mode; cash-order subtype n holds "Modalità fattura PA" n (13 is
    // none the schema knows).
    std::vector<Record> subtypes;
    for (int n = 0; n <= 13; ++n) {
        subtypes.push_back({{"CG64_TIPOEFF", n == 0 ? 2 : 13},
                            {"CG64_CODSTIPOEFF", std::max(n, 1)},
                            {"CG64_GGOFFSET", 0},
                            {"CG64_INDMODFATTURAPA", n}});
    }
    return payment_data(rows, periods, subtypes, invoice, mode);
}

TEST(EInvoicePayment, TheModeComesFromTheSubtypeThenTheTypeThenTheCaller) {
    const std::string no_mode =
        "): il tipo di pagamento non indica la modalità di pagamento della fattura elettronica; "
        "indicarne una";
    // The payment type, its subtype, the caller's mode, and the mode given or the message.
    const std::tuple<int, Value, std::optional<PaymentMode>, std::string> cases[] = {
        {13, 3, PaymentMode::MP05, "MP03"},  // the subtype wins over the caller
        // clang-format off
        {13, 1, {}, "MP04"}, {13, 2, {}, "MP02"}, {13, 4, {}, "MP06"}, {13, 5, {}, "MP07"},
        {13, 6, {}, "MP14"}, {13, 7, {}, "MP15"}, {13, 8, {}, "MP16"}, {13, 9, {}, "MP17"},
        {13, 10, {}, "MP01"}, {13, 11, {}, "MP22"}, {13, 12, {}, "MP23"},
        {1, {}, {}, "MP01"}, {7, {}, {}, "MP08"}, {8, {}, {}, "MP08"}, {9, {}, {}, "MP01"},
        {11, {}, {}, "MP09"}, {15, {}, {}, "MP18"}, {16, {}, {}, "MP13"},
        {3, {}, {}, "Rata 2 (Tratta" + no_mode}, {6, {}, {}, "Rata 2 (Cambiale" + no_mode},
        {12, {}, {}, "Rata 2 (Leasing" + no_mode}, {17, {}, {}, "Rata 2 (tipo 17" + no_mode},
        {99, {}, {}, "Rata 2 (Solo descrittivo" + no_mode},
        // clang-format on
        {14, {}, PaymentMode::MP01, "MP05"},  // the caller's mode never replaces the type's
        {13, {}, PaymentMode::MP08, "MP08"},
        {13, 13, {}, "Rata 2 (Rimessa diretta): modalità fattura PA 13 del sottotipo sconosciuta"},
    };
    for (const auto& [type, subtype, given, expected] : cases) {
        SCOPED_TRACE(std::to_string(type) + "/" + subtype.to_text());
        const auto result =
            block({civile({{"CG63_PROG", 2}, {"CG63_TIPOEFF", type}, {"CG63_STIPOEFF", subtype}})},
                  given);
        const auto* data = std::get_if<PaymentData>(&result);
        EXPECT_EQ(data ? mode_code(data->details.at(0).mode) : outcome(result), expected);
    }
}

TEST(EInvoicePayment, ConditionAmountsAndDueDateOrderOrWhyNoInvoiceCouldCarryThem) {
    ExampleInvoice asked = fattura(), bad_date = fattura();
    asked.asked_fixed_amounts[1] = 10000;
    bad_date.invoice_date = year{1200} / 1 / 1;
    // Installment n, due `days` after the invoice, with `percent` of both parts.
    auto part = [](int n, int days, int percent, const Record& more = {}) {
        return civile(with({{"CG63_PROG", n},
                            {"CG63_GGDECOR", days},
                            {"CG63_PERCIMP", percent},
                            {"CG63_PERCIVA", percent}},
                           more));
    };
    const Record fixed_ten = {{"CG63_TIPOEFF", 16}, {"CG63_INDIMPFIX", 1}, {"CG63_IMPORFIX", 10}};
    // The installments, the invoice, the shift periods and the outcome.
    const std::tuple<std::vector<Record>, ExampleInvoice, std::vector<Record>, std::string>
        cases[] = {
            // clang-format off
        // the first at the month's end is no advance
        {{part(1, 0, 30, {{"CG63_INDDATARIF", 5}}), part(2, 60, 70)}, fattura(), {},
         "TP01 1:MP12@2027-07-31=366.00 2:MP12@2027-09-13=854.00"},
        // listed out of due-date order
        {{part(1, 60, 50), part(2, 10, 50)}, fattura(3, 0), {},
         "TP01 2:MP12@2027-07-25=0.01 1:MP12@2027-09-13=0.02"},
        // the same due date keeps the term's order
        {{part(1, 0, 50, {{"CG63_TIPOEFF", 14}}), part(2, 0, 50), part(3, 0, 0, fixed_ten)},
         fattura(), {},
         "TP01 1:MP05@2027-07-15=605.00 2:MP12@2027-07-15=605.00 3:MP13@2027-07-15=10.00"},
        // the largest amount the schema holds
        {{part(1, 0, 100)}, fattura(9'999'999'999'999, 0), {},
         "TP02 1:MP12@2027-07-15=99999999999.99"},
        // VAT alone on a zero-VAT invoice pays nothing
        {{civile({{"CG63_TIPOEFF", 13}, {"CG63_PERCIMP", 0}}),
          civile({{"CG63_PROG", 2}, {"CG63_GGDECOR", 30}, {"CG63_PERCIVA", 0}})},
         fattura(50000, 0), {}, "TP02 2:MP12@2027-08-14=500.00"},
        // an August installment summed into September's
        {{part(1, 20, 50), part(2, 50, 50)}, fattura(), {periodo(801, 831, 5, 0)},
         "TP02 2:MP12@2027-09-03=1220.00"},
        {{civile({{"CG63_INDIMPFIX", 2}})}, asked, {}, "TP02 1:MP12@2027-07-15=1220.00"},
        // refused
        {{}, fattura(), {}, "La condizione di pagamento non ha rate"},
        {{civile({{"CG63_PERCIMP", 90}})}, fattura(), {},
         "Somma delle percentuali di imponibile diversa da 100: 90"},
        {{civile({{"CG63_FLGFRPERCIVA", 0}, {"CG63_EL1FRIVA", 2}, {"CG63_EL2FRIVA", 3}})},
         fattura(), {},
         "Somma delle percentuali d'IVA diversa da 100: 66,666667"},
        {{civile({{"CG63_INDIMPFIX", 2}})}, fattura(), {},
         "Rata 1: manca l'importo fisso da richiedere sul documento"},
        {{civile({})}, fattura(-100, 0), {}, "Rata 1: importo negativo"},
        {{civile({})}, fattura(9'999'999'999'999, 1), {},
         "Rata 1: importo oltre 99.999.999.999,99"},
        {{civile({})}, fattura(0, 0), {}, "Nessun importo da pagare: tutte le rate sono a zero"},
        {{civile({})}, bad_date, {}, "Data fattura non valida"},
            // clang-format on
        };
    for (const auto& [rows, invoice, periods, expected] : cases) {
        EXPECT_EQ(outcome(block(rows, {}, invoice, periods)), expected);
    }
}

TEST(EInvoicePayment, DaysAreCountedOnlyWhereTheInstallmentCountsThem) {
    // The terms as "from+days", or empty when they are left out.
    const std::pair<Record, std::string> cases[] = {
        {{}, "2027-07-15+0"},
        {{{"CG63_GGDECOR", 30}, {"CG63_INDDATARIF", 6}}, "2027-07-31+30"},
        {{{"CG63_GGDECOR", 30}, {"CG63_INDDATARIF", 5}}, "2027-07-15+30"},
        {{{"CG63_GGDECOR", 999}}, "2027-07-15+999"},
        {{{"CG63_GGDECOR", 1000}}, ""},
    };
    for (const auto& [changes, expected] : cases) {
        const auto result = block({civile(changes)});
        const PaymentDetail& d = std::get<PaymentData>(result).details.at(0);
        EXPECT_EQ(d.terms ? iso_date(d.terms->from) + "+" + std::to_string(d.terms->days) : "",
                  expected)
            << iso_date(d.due);
    }
}

TEST(EInvoicePayment, SchemaFormsOfModesDatesAndAmounts) {
    for (const char* good : {"MP01", " MP23 ", "MP10"}) EXPECT_TRUE(parse_mode(good)) << good;
    for (const char* bad : {"MP00", "MP24", "MP99", "mp05", "MP5", "MP5x", "", "XMP05"}) {
        EXPECT_FALSE(parse_mode(bad)) << bad;
    }
    EXPECT_EQ(mode_code(*parse_mode("MP07")), "MP07");
    EXPECT_EQ(iso_date(*parse_iso_date("2028-02-29")), "2028-02-29");
    for (const char* bad : {"2027-02-29", "2027-1-15", "15/01/2027", "2027-01-15x", "2027-13-01"}) {
        EXPECT_FALSE(parse_iso_date(bad)) << bad;
    }
    EXPECT_EQ(decimal_amount(-250), "-2.50");
}

}  // namespace
}  // namespace condpag
