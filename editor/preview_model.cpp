#include "editor/preview_model.h"

#include <algorithm>
#include <set>

#include "editor/FRMCO_CONDPAG.h"
#include "einvoice/term_rows.h"
#include "rules/records.h"
#include "storage/recordset.h"
#include "storage/statements.h"

namespace condpag {
namespace {

// The rows of an open record set; a closed one has none.
std::vector<Record> rows_of(const Recordset& set) {
    return set.State() == ObjectState::Open ? set.records() : std::vector<Record>{};
}

}  // namespace

Expected<std::optional<PreviewTerm>> read_preview_term(Connection& connection,
                                                       std::string_view code) {
    Expected<std::optional<TermRows>> rows = find_term_rows(connection, std::string(code));
    if (!rows) return rows.error();
    if (!*rows) return std::optional<PreviewTerm>{};
    TermRows& stored = **rows;
    return std::optional<PreviewTerm>(
        PreviewTerm{RTrimN(code), std::move(stored.description), std::move(stored.installments),
                    std::move(stored.shift_periods), std::move(stored.subtypes)});
}

PreviewTerm editor_preview_term(FRMCO_CONDPAG& editor) {
    PreviewTerm term;
    term.code = RTrimN(editor.TXT_CODICE.text());
    term.installments = rows_of(editor.Grst_RecordSet_CG63);
    term.shift_periods = rows_of(editor.Grst_RecordSet_CG65);
    Expected<std::vector<Record>> subtypes = read_subtypes(editor.WindowConnection());
    if (subtypes) term.subtypes = std::move(*subtypes);
    return term;
}

DueDatePreview preview_of(const PreviewTerm& term, const ExampleInvoice& invoice) {
    return due_date_preview(term.installments, term.shift_periods, term.subtypes, invoice);
}

std::optional<Cents> typed_amount(std::string_view text) {
    // Thousands dots go, the decimal comma becomes the point the number reader takes.
    std::string plain;
    for (char c : text) {
        if (c != '.') plain += c == ',' ? '.' : c;
    }
    return to_cents(Value(plain));
}

std::string amount_as_shown(std::string_view typed) {
    const std::optional<Cents> cents = typed_amount(typed);
    return cents ? format_amount(*cents) : std::string(typed);
}

std::string row_note(const PreviewRow& row) {
    if (row.note.empty() && row.moved_from) return "da " + format_date(*row.moved_from);
    return row.note;
}

void PreviewModel::set_other_date(OtherDate which,
                                  std::optional<std::chrono::year_month_day> date) {
    switch (which) {
        case OtherDate::DeliveryNote:
            invoice_.delivery_note_date = date;
            break;
        case OtherDate::Delivery:
            invoice_.delivery_date = date;
            break;
        case OtherDate::Order:
            invoice_.order_date = date;
            break;
        case OtherDate::OnRequest:
            invoice_.on_request_date = date;
            break;
    }
}

void PreviewModel::set_asked_amount(int installment, std::string_view typed) {
    asked_[installment] = std::string(typed);
}

std::string PreviewModel::asked_amount(int installment) const {
    auto found = asked_.find(installment);
    return found == asked_.end() ? std::string() : found->second;
}

ExampleInvoice PreviewModel::invoice() const {
    ExampleInvoice invoice = invoice_;
    invoice.taxable = typed_amount(taxable_).value_or(0);
    invoice.vat = typed_amount(vat_).value_or(0);
    for (const auto& [number, typed] : asked_) {
        if (typed.find_first_not_of(" \t") == std::string::npos) continue;
        invoice.asked_fixed_amounts[number] = typed_amount(typed).value_or(0);
    }
    return invoice;
}

const DueDatePreview& PreviewModel::refresh(FRMCO_CONDPAG* editor) {
    preview_ = {};
    term_ = {};
    if (editor == nullptr) {
        preview_.notes.push_back("Nessuna condizione di pagamento aperta.");
    } else if (editor->loaded() && !editor->unloaded()) {
        term_ = editor_preview_term(*editor);
        preview_ = preview_of(term_, invoice());
    }
    // An amount typed for an installment stays with it while the term keeps asking for it.
    const std::vector<int> asked = asked_installments();
    std::erase_if(asked_, [&](const auto& typed) {
        return !std::binary_search(asked.begin(), asked.end(), typed.first);
    });
    return preview_;
}

std::vector<int> PreviewModel::asked_installments() const {
    std::set<int> numbers;
    for (const PreviewRow& row : preview_.rows) {
        if (row.amount_asked) numbers.insert(row.number);
    }
    return {numbers.begin(), numbers.end()};
}

}  // namespace condpag
