#pragma once
// The due-date preview of a payment term, as every view shows it: the dock beside the editor and
// `condpag preview`. It reads the term (stored, or as the editor holds it while it is edited),
// keeps the example invoice as the person typed it, and answers the rows. No widget here: a
// view binds its fields to the model and shows what it answers.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/due_date_preview.h"
#include "rules/expected.h"
#include "rules/value.h"
#include "storage/connection.h"

namespace condpag {

class FRMCO_CONDPAG;

// What the preview reads of a term.
struct PreviewTerm {
    std::string code;
    std::string description;
    std::vector<Record> installments;   // CG63 rows, in installment order
    std::vector<Record> shift_periods;  // CG65 rows
    std::vector<Record> subtypes;       // the subtypes table, for their offset days
};

// A stored term; nullopt when no term has that code.
[[nodiscard]] Expected<std::optional<PreviewTerm>> read_preview_term(Connection& connection,
                                                                     std::string_view code);

// The term the editor shows, as its record sets hold it (the row being edited included).
// Without the subtypes table the dates come without their offsets; the preview still shows.
PreviewTerm editor_preview_term(FRMCO_CONDPAG& editor);

// The rows of a term for an invoice.
DueDatePreview preview_of(const PreviewTerm& term, const ExampleInvoice& invoice);

// The example invoice when nobody says otherwise.
inline constexpr Cents kExampleTaxable = 100000;
inline constexpr Cents kExampleVat = 22000;

// An amount as typed in Italian ("1.234,56", "1000"), in cents; nullopt when it is no amount.
std::optional<Cents> typed_amount(std::string_view text);
// How a typed amount reads once the person is done with it: the Italian form, or the text as
// typed when it is no amount.
std::string amount_as_shown(std::string_view typed);

// The note a row shows: its own, else where a shift period moved it from.
std::string row_note(const PreviewRow& row);

// The dates of the example invoice that are the invoice date until set.
enum class OtherDate { DeliveryNote, Delivery, Order, OnRequest };

// The example invoice as typed and the rows it gives for the term an editor shows.
class PreviewModel {
  public:
    void set_invoice_date(std::chrono::year_month_day date) { invoice_.invoice_date = date; }
    // nullopt: the invoice date again.
    void set_other_date(OtherDate which, std::optional<std::chrono::year_month_day> date);
    // Amounts as typed: one that is no amount counts as 0.
    void set_taxable(std::string_view typed) { taxable_ = typed; }
    void set_vat(std::string_view typed) { vat_ = typed; }
    // The fixed amount asked in the document for an installment; empty is not given.
    void set_asked_amount(int installment, std::string_view typed);
    const std::string& taxable() const { return taxable_; }
    const std::string& vat() const { return vat_; }
    std::string asked_amount(int installment) const;

    // The invoice the rows are computed for.
    ExampleInvoice invoice() const;

    // Computes the rows of the term the editor shows; no editor, no rows.
    const DueDatePreview& refresh(FRMCO_CONDPAG* editor);
    const DueDatePreview& preview() const { return preview_; }
    // The term as the last refresh read it.
    const PreviewTerm& term() const { return term_; }
    // The installments, by number, whose fixed amount the term asks in the document.
    std::vector<int> asked_installments() const;

  private:
    ExampleInvoice invoice_;
    std::string taxable_ = format_amount(kExampleTaxable);
    std::string vat_ = format_amount(kExampleVat);
    std::map<int, std::string> asked_;
    PreviewTerm term_;
    DueDatePreview preview_;
};

}  // namespace condpag
