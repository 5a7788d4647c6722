#pragma once
// Rows written the way the tests need them, and readable values in failure messages.

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <variant>

#include "rules/editor_view.h"
#include "rules/einvoice_payment.h"
#include "rules/value.h"

namespace condpag {

inline Record with(Record row, const Record& changes) {
    for (const auto& [column, value] : changes) row[column] = value;
    return row;
}

// An installment of type 2, rule 1, 0 days from the invoice, commercial calendar, 100 % of both
// parts, no fixed amount.
inline Record rata(const Record& changes = {}) {
    return with({{"CG63_PROG", 1},
                 {"CG63_TIPOEFF", 2},
                 {"CG63_STIPOEFF", Value()},
                 {"CG63_INDTIPODECOR", 1},
                 {"CG63_GGDECOR", 0},
                 {"CG63_INDDATARIF", 0},
                 {"CG63_INDTIPOCALEND", 0},
                 {"CG63_FLGFRPERCIMP", 1},
                 {"CG63_PERCIMP", 100},
                 {"CG63_FLGFRPERCIVA", 1},
                 {"CG63_PERCIVA", 100},
                 {"CG63_INDIMPFIX", 0}},
                changes);
}

inline Record periodo(int lower, int upper, Value type, Value days, Value fixed = {}) {
    return {{"CG65_DAMMGG", lower},
            {"CG65_AMMGG", upper},
            {"CG65_INDTIPOSLIT", type},
            {"CG65_GGSLSUCC", days},
            {"CG65_GGMMFIXSLIT", fixed}};
}

// The editor as the checks see it: share boxes show the current installment unless a text is
// set explicitly.
struct FakeEditor : EditorView {
    std::map<std::string, std::string, std::less<>> texts;
    bool is_new = true;
    int profile = 0;
    Record current, remembered, head;
    std::vector<Record> rows;

    std::string text(std::string_view control) const override {
        if (auto it = texts.find(control); it != texts.end()) return it->second;
        static const std::map<std::string_view, std::string_view> bound = {
            {"CMB_FLGFRPERCIMP", "CG63_FLGFRPERCIMP"}, {"TXT_IMP", "CG63_PERCIMP"},
            {"TXT_NUMIMP", "CG63_EL1FRIMP"},           {"TXT_DENIMP", "CG63_EL2FRIMP"},
            {"CMB_FLGFRPERCIVA", "CG63_FLGFRPERCIVA"}, {"TXT_IVA", "CG63_PERCIVA"},
            {"TXT_NUMIVA", "CG63_EL1FRIVA"},           {"TXT_DENIVA", "CG63_EL2FRIVA"}};
        auto column = bound.find(control);
        return column == bound.end() ? "" : field(current, column->second).to_text();
    }
    bool installment_is_new() const override { return is_new; }
    int installation_profile() const override { return profile; }
    const Record& current_installment() const override { return current; }
    std::vector<Record> installments() const override { return rows; }
    const Record& remembered_installment() const override { return remembered; }
    const Record& header() const override { return head; }
};

// Both shares of an installment due 30 days on, as percentages or as fractions.
inline Record percent(Value taxable, Value vat) {
    return rata({{"CG63_GGDECOR", 30}, {"CG63_PERCIMP", taxable}, {"CG63_PERCIVA", vat}});
}
inline Record fraction(Value num, Value den) {
    return rata({{"CG63_GGDECOR", 30},
                 {"CG63_FLGFRPERCIMP", 0},
                 {"CG63_EL1FRIMP", num},
                 {"CG63_EL2FRIMP", den},
                 {"CG63_FLGFRPERCIVA", 0},
                 {"CG63_EL1FRIVA", num},
                 {"CG63_EL2FRIVA", den}});
}

// An invoice of 1.000,00 + 220,00 VAT on `date`.
inline ExampleInvoice fattura(std::chrono::year_month_day date, Cents taxable = 100000,
                              Cents vat = 22000) {
    ExampleInvoice invoice;
    invoice.invoice_date = date;
    invoice.taxable = taxable;
    invoice.vat = vat;
    return invoice;
}

// The payment block in one line, "TP01 1:MP12@2027-08-14=1220.00 ...", or why there is none.
inline std::string outcome(const PaymentDataResult& result) {
    if (const auto* error = std::get_if<PaymentDataError>(&result)) return describe(*error);
    std::ostringstream text;
    text << condition_code(std::get<PaymentData>(result).condition);
    for (const PaymentDetail& d : std::get<PaymentData>(result).details) {
        text << ' ' << d.installment << ':' << mode_code(d.mode) << '@' << iso_date(d.due) << '='
             << decimal_amount(d.amount);
    }
    return text.str();
}

inline void PrintTo(const Value& value, std::ostream* out) {
    *out << (value.is_null()   ? "null"
             : value.is_text() ? '"' + value.text() + '"'
                               : value.to_text());
}

}  // namespace condpag
