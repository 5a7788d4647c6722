#pragma once
// Due-date preview: the due dates and amounts that a payment term gives for an example invoice,
// with its shift periods and subtype offsets applied. Pure: it never throws and never fails;
// input it cannot use gives a defined row and a note saying what was assumed.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rules/due_date_money.h"
#include "rules/value.h"

namespace condpag {

struct ExampleInvoice {
    std::chrono::year_month_day invoice_date{};
    // Unset dates are the invoice date.
    std::optional<std::chrono::year_month_day> delivery_note_date;
    std::optional<std::chrono::year_month_day> delivery_date;
    std::optional<std::chrono::year_month_day> order_date;
    std::optional<std::chrono::year_month_day> on_request_date;
    Cents taxable = 0;
    Cents vat = 0;
    // Fixed amounts asked in the document (CG63_INDIMPFIX 2), by installment number.
    std::map<int, Cents> asked_fixed_amounts;
};

struct PreviewRow {
    int number = 0;                    // CG63_PROG
    long long type = 0;                // CG63_TIPOEFF
    std::optional<long long> subtype;  // CG63_STIPOEFF; none when blank
    std::string type_label;            // payment type, as the choice list names it
    bool amount_asked = false;         // its fixed amount is asked in the document
    std::chrono::year_month_day due{};
    Cents taxable = 0;
    Cents vat = 0;
    Cents total = 0;
    // The due date before a shift period moved or merged it.
    std::optional<std::chrono::year_month_day> moved_from;
    std::string note;  // empty when nothing worth saying happened
};

struct DueDatePreview {
    std::vector<PreviewRow> rows;    // one per installment, in the order given
    std::vector<std::string> notes;  // what concerns the term or the invoice as a whole
};

// installments: CG63 rows, in installment order; shift_periods: CG65 rows, in stored order;
// subtypes: CG64 rows (only CG64_TIPOEFF, CG64_CODSTIPOEFF and CG64_GGOFFSET are read).
DueDatePreview due_date_preview(const std::vector<Record>& installments,
                                const std::vector<Record>& shift_periods,
                                const std::vector<Record>& subtypes, const ExampleInvoice& invoice);

// The date from which an installment with reference date `code` (CG63_INDDATARIF) counts its
// days: 5 counts from the invoice date (the month end comes after the days), 6 from the end of
// the invoice's month; unknown codes count from the invoice date.
std::chrono::year_month_day reference_date(long long code, const ExampleInvoice& invoice);

// Italian display forms shared by every view of the preview.
std::string format_date(const std::chrono::year_month_day& date);  // 15/01/2027
std::string format_amount(Cents amount);                           // 1.234,56  -0,50

// A decimal amount (a column's value or a typed "1000,50") in cents, rounded to the nearest
// cent; nullopt when it is no number or beyond ten thousand billion.
std::optional<Cents> to_cents(const Value& amount);

}  // namespace condpag
