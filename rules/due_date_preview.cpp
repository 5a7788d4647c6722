#include "rules/due_date_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "rules/code_tables.h"
#include "rules/due_date_calendar.h"
#include "rules/records.h"

namespace condpag {
namespace {

namespace chr = std::chrono;
using namespace calendar;
using money::held_amount;
using money::Share;

constexpr long long kDaysLimit = 9999;  // widest day count a column holds

// ---------------------------------------------------------------- reading rows

void add_note(std::string& notes, std::string_view note) {
    if (!notes.empty()) notes += "; ";
    notes += note;
}

bool is_blank(const Value& value) {
    if (value.is_null()) return true;
    return value.is_text() && value.text().find_first_not_of(" \t") == std::string::npos;
}

// Reads the columns of one row; whatever it has to assume is written to the row's note.
class RowReader {
  public:
    RowReader(const Record& record, std::string& note) : record_(record), note_(note) {}

    const Value* find(std::string_view column) {
        auto it = record_.find(column);
        if (it != record_.end()) return &it->second;
        add_note(note_, "manca la colonna " + std::string(column));
        return nullptr;
    }

    // A whole number; null and blank read as 0, as everywhere in the system.
    long long whole(std::string_view column) { return std::llround(number(column)); }

    double number(std::string_view column) {
        const Value* value = find(column);
        if (value == nullptr || is_blank(*value)) return 0;
        const std::optional<double> number =
            value->is_number() ? value->number() : value->to_number();
        if (!number || std::fabs(*number) > 1e12) {
            add_note(note_, std::string(column) + " non numerico: considerato 0");
            return 0;
        }
        return *number;
    }

    bool blank(std::string_view column) { return is_blank(field(record_, column)); }

    // A whole number held within [low, high], with a note when it was outside.
    long long bounded(std::string_view column, long long low, long long high) {
        const long long value = whole(column);
        if (value >= low && value <= high) return value;
        const long long held = std::clamp(value, low, high);
        add_note(note_, std::string(column) + " " + std::to_string(value) +
                            " fuori dai limiti: " + "considerato " + std::to_string(held));
        return held;
    }

  private:
    const Record& record_;
    std::string& note_;
};

// ---------------------------------------------------------------- shares

Share read_share(RowReader& row, std::string& note, const ShareColumns& c) {
    long long form = row.whole(c.form);
    if (form != 0 && form != 1) {
        add_note(note, std::string(c.form) + " " + std::to_string(form) +
                           " sconosciuto: considerata la percentuale");
        form = 1;
    }
    if (form == 1) {
        const double percent = std::clamp(row.number(c.percent), -1e6, 1e6);
        return {std::llround(percent * 10000), 1'000'000};
    }
    const long long num = row.bounded(c.numerator, -1'000'000, 1'000'000);
    const long long den = row.bounded(c.denominator, -1'000'000, 1'000'000);
    if (den == 0) {
        if (num != 0) add_note(note, "frazione con denominatore 0: quota zero");
        return {};
    }
    return {num, den};
}

// ---------------------------------------------------------------- labels

// The choice-list label of a payment type; nullopt for a type the table does not list.
std::optional<std::string_view> payment_type_label(long long type) {
    for (const CodeEntry& entry : code_table(CodeTable::TipoEffetto)) {
        if (entry.value == type) return entry.list_label;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- shift periods

struct Period {
    DayMonth lower;
    DayMonth upper;
    long long type = 1;
    std::optional<DayMonth> fixed;  // fixed shift date
    long long days = 0;
    std::string label;  // 01/08-31/08, for the notes

    bool contains(Date date) const {
        const long long x = stored_day_month(date);
        if (lower.stored() <= upper.stored()) return x >= lower.stored() && x <= upper.stored();
        return x >= lower.stored() || x <= upper.stored();  // across the end of the year
    }
};

std::vector<Period> read_periods(const std::vector<Record>& records,
                                 std::vector<std::string>& notes) {
    std::vector<Period> periods;
    periods.reserve(records.size());
    for (const Record& record : records) {
        std::string note;
        RowReader row(record, note);
        const auto lower = day_month(row.whole("CG65_DAMMGG"));
        const auto upper = day_month(row.whole("CG65_AMMGG"));
        Period period;
        if (lower && upper) {
            period.lower = *lower;
            period.upper = *upper;
            period.label = format_day_month(*lower) + "-" + format_day_month(*upper);
            period.type = row.whole("CG65_INDTIPOSLIT");
            period.days = row.bounded("CG65_GGSLSUCC", 0, kDaysLimit);
            if (!row.blank("CG65_GGMMFIXSLIT")) {
                const long long fixed = row.whole("CG65_GGMMFIXSLIT");
                period.fixed = day_month(fixed);
                if (fixed != 0 && !period.fixed) {
                    add_note(note, "data fissa di slittamento " + std::to_string(fixed) +
                                       " non valida: ignorata");
                }
            }
        } else {
            add_note(note, "limiti non validi: periodo ignorato");
        }
        if (!note.empty()) {
            notes.push_back("Periodo di slittamento " + std::to_string(periods.size() + 1) + ": " +
                            note);
        }
        if (lower && upper) periods.push_back(std::move(period));
    }
    return periods;
}

// ---------------------------------------------------------------- one installment

struct Draft {
    PreviewRow row;
    Share taxable_share;
    Share vat_share;
    Cents fixed = 0;
    int merged_into = -1;  // index of the row that carries its amounts
};

long long subtype_offset(long long type, std::optional<long long> subtype,
                         const std::vector<Record>& subtypes, std::string& note) {
    if (!subtype) return 0;
    const Value type_value(type);
    const Value subtype_value(*subtype);
    for (const Record& record : subtypes) {
        if (same_code(field(record, "CG64_TIPOEFF"), type_value) &&
            same_code(field(record, "CG64_CODSTIPOEFF"), subtype_value)) {
            RowReader offset(record, note);
            return offset.bounded("CG64_GGOFFSET", -kDaysLimit, kDaysLimit);
        }
    }
    add_note(note, "sottotipo " + subtype_value.to_text() + " non trovato: nessuno spostamento");
    return 0;
}

// The due date before shift periods: reference date, start rule, then the subtype's offset.
Date unshifted_due(RowReader& row, const PreviewRow& installment, const ExampleInvoice& invoice,
                   const std::vector<Record>& subtypes, std::string& note) {
    long long reference = row.whole("CG63_INDDATARIF");
    if (reference < 0 || reference > 6) {
        add_note(note, "data di riferimento " + std::to_string(reference) +
                           " sconosciuta: usata la data fattura");
        reference = 0;
    }
    long long calendar = row.whole("CG63_INDTIPOCALEND");
    if (calendar != 0 && calendar != 1) {
        add_note(note,
                 "calendario " + std::to_string(calendar) + " sconosciuto: usato il commerciale");
        calendar = 0;
    }
    long long rule = row.whole("CG63_INDTIPODECOR");
    if (rule < 1 || rule > 4) {
        add_note(note, "tipo decorrenza " + std::to_string(rule) +
                           " sconosciuto: usato mese commerciale/civile");
        rule = 1;
    }
    const Date start = reference_date(reference, invoice);
    auto after = [&](long long days) {
        const Date date = add_calendar_days(start, days, calendar);
        return reference == 5 ? end_of_month(date) : date;
    };
    auto fixed_day = [&](std::string_view column) -> std::optional<unsigned> {
        const long long day = row.whole(column);
        if (day >= 1 && day <= 31) return unsigned(day);
        add_note(note, std::string(column) + " " + std::to_string(day) +
                           " non valido: giorno fisso non applicato");
        return std::nullopt;
    };

    Date due = start;
    if (rule == 3) {
        const long long stored = row.whole("CG63_GGMMFIX");
        const auto fixed = day_month(stored);
        due = after(0);
        if (fixed) {
            due = next_day_month(due, *fixed, false);
        } else {
            add_note(note, "giorno/mese fisso " + std::to_string(stored) +
                               " non valido: data fissa non applicata");
        }
    } else {
        due = after(row.bounded("CG63_GGDECOR", 0, kDaysLimit));
        if (rule == 2) {
            if (auto day = fixed_day("CG63_GGSCADFIX1")) due = next_day_of_month(due, *day);
        } else if (rule == 4) {
            const long long day = unsigned(due.day());
            if (day >= row.whole("CG63_DAGGFIX1") && day <= row.whole("CG63_AGGFIX1")) {
                if (auto fixed = fixed_day("CG63_GGSCADFIX1")) due = next_day_of_month(due, *fixed);
            } else if (day >= row.whole("CG63_DAGGFIX2") && day <= row.whole("CG63_AGGFIX2")) {
                if (auto fixed = fixed_day("CG63_GGSCADFIX2")) due = next_day_of_month(due, *fixed);
            }
        }
    }
    return add_days(due, subtype_offset(installment.type, installment.subtype, subtypes, note));
}

// Moves the due date of drafts[i] by the first period that holds it; drafts after i are final.
void shift(std::vector<Draft>& drafts, std::size_t i, const std::vector<Period>& periods) {
    PreviewRow& row = drafts[i].row;
    const Date due = row.due;
    auto period = std::find_if(periods.begin(), periods.end(),
                               [&](const Period& p) { return p.contains(due); });
    if (period == periods.end()) return;

    const Date upper = next_day_month(due, period->upper, false);
    const chr::year_month next_month = month_of(due) + chr::months{1};
    auto as_type_3 = [&] {
        return period->fixed ? next_day_month(upper, *period->fixed, true)
                             : day_in_month(next_month, unsigned(due.day()));
    };
    Date moved = due;
    switch (period->type) {
        case 1:
            moved = add_days(upper, 1 + period->days);
            break;
        case 2:
            moved = add_days(day_in_month(next_month, 1), period->days);
            break;
        case 3:
            moved = as_type_3();
            break;
        case 4: {
            long long day = period->days;
            if (day < 1 || day > 31) {
                add_note(row.note, "giorno di slittamento " + std::to_string(day) +
                                       " non valido: usato il giorno 1");
                day = 1;
            }
            moved = day_in_month(month_of(upper) + chr::months{1}, unsigned(day));
            break;
        }
        case 5:
            if (i + 1 < drafts.size() && month_of(drafts[i + 1].row.due) == next_month) {
                const Draft& next = drafts[i + 1];
                drafts[i].merged_into = next.merged_into >= 0 ? next.merged_into : int(i + 1);
                row.moved_from = due;
                row.due = next.row.due;
                const int carrier = drafts[drafts[i].merged_into].row.number;
                add_note(row.note, "sommata alla rata " + std::to_string(carrier) + " (periodo " +
                                       period->label + ")");
                return;
            }
            moved = as_type_3();
            break;
        default:
            add_note(row.note, "periodo " + period->label + " con tipo di slittamento " +
                                   std::to_string(period->type) + " sconosciuto: non spostata");
            return;
    }
    row.moved_from = due;
    row.due = moved;
    add_note(row.note, "spostata dal " + format_date(due) + " (periodo " + period->label + ")");
}

// Splits the invoice over the drafts: fixed amounts first, then shares of what is left; the
// last row with a non-zero share takes the rounding difference.
void split_amounts(std::vector<Draft>& drafts, const ExampleInvoice& invoice,
                   std::vector<std::string>& notes) {
    const Cents taxable = held_amount(invoice.taxable, "Imponibile", notes);
    const Cents vat = held_amount(invoice.vat, "IVA", notes);
    Cents rest = taxable;
    for (const Draft& draft : drafts) rest -= draft.fixed;
    if (rest < 0) notes.push_back("Gli importi fissi superano l'imponibile");

    auto spread = [&](Cents amount, Share Draft::*share, Cents PreviewRow::*part,
                      std::string_view what) {
        int last = -1;
        double percent = 0;
        for (std::size_t i = 0; i < drafts.size(); ++i) {
            if (!(drafts[i].*share).zero()) last = int(i);
            percent += (drafts[i].*share).percent();
        }
        Cents given = 0;
        for (std::size_t i = 0; i < drafts.size(); ++i) {
            if (int(i) == last) continue;
            drafts[i].row.*part = money::share_of(amount, drafts[i].*share);
            given += drafts[i].row.*part;
        }
        if (last < 0) last = int(drafts.size()) - 1;
        drafts[last].row.*part = amount - given;
        if (amount != 0 && std::fabs(percent - 100) > 1e-4) {
            char text[32];
            std::snprintf(text, sizeof text, "%.4f", percent);
            notes.push_back("Le quote " + std::string(what) + " sommano a " + text +
                            "%: la differenza va alla rata " +
                            std::to_string(drafts[last].row.number));
        }
    };
    spread(rest, &Draft::taxable_share, &PreviewRow::taxable, "dell'imponibile");
    spread(vat, &Draft::vat_share, &PreviewRow::vat, "dell'IVA");
    for (Draft& draft : drafts) draft.row.taxable += draft.fixed;

    for (std::size_t i = 0; i < drafts.size(); ++i) {
        const int target = drafts[i].merged_into;
        if (target < 0) continue;
        PreviewRow& into = drafts[target].row;
        into.taxable += drafts[i].row.taxable;
        into.vat += drafts[i].row.vat;
        drafts[i].row.taxable = drafts[i].row.vat = 0;
        add_note(into.note, "comprende la rata " + std::to_string(drafts[i].row.number));
    }
    for (Draft& draft : drafts) draft.row.total = draft.row.taxable + draft.row.vat;
}

Draft read_installment(const Record& record, std::size_t position, const ExampleInvoice& invoice,
                       const std::vector<Record>& subtypes, std::vector<std::string>& notes) {
    Draft draft;
    std::string& note = draft.row.note;
    RowReader row(record, note);
    draft.row.number =
        row.blank("CG63_PROG") ? int(position + 1) : int(row.bounded("CG63_PROG", 0, 99999));
    const long long type = row.whole("CG63_TIPOEFF");
    draft.row.type = type;
    if (const auto label = payment_type_label(type)) {
        draft.row.type_label = *label;
    } else {
        add_note(note, "tipo effetto " + std::to_string(type) + " sconosciuto");
    }
    if (!row.blank("CG63_STIPOEFF")) draft.row.subtype = row.whole("CG63_STIPOEFF");
    draft.row.due = unshifted_due(row, draft.row, invoice, subtypes, note);
    draft.taxable_share = read_share(row, note, kTaxableShare);
    draft.vat_share = read_share(row, note, kVatShare);

    const long long fixed = row.whole("CG63_INDIMPFIX");
    draft.row.amount_asked = fixed == 2;
    if (fixed == 1) {
        const auto cents = money::cents_of(row.number("CG63_IMPORFIX"));
        if (!cents) add_note(note, "importo fisso oltre i limiti: considerato 0");
        draft.fixed = cents.value_or(0);
    } else if (fixed == 2) {
        auto asked = invoice.asked_fixed_amounts.find(draft.row.number);
        if (asked == invoice.asked_fixed_amounts.end()) {
            add_note(note, "importo fisso da indicare nel documento: considerato 0");
        } else {
            draft.fixed = held_amount(asked->second, "Importo fisso", notes);
        }
    } else if (fixed != 0) {
        add_note(note, "gestione importo fisso " + std::to_string(fixed) + " sconosciuta");
    }
    return draft;
}

void keep_if_plausible(std::optional<Date>& date, std::string_view what,
                       std::vector<std::string>& notes) {
    if (!date || plausible(*date)) return;
    notes.push_back(std::string(what) + " non valida: usata la data fattura");
    date.reset();
}

}  // namespace

std::chrono::year_month_day reference_date(long long code, const ExampleInvoice& invoice) {
    switch (code) {
        case 1:
            return invoice.delivery_note_date.value_or(invoice.invoice_date);
        case 2:
            return invoice.delivery_date.value_or(invoice.invoice_date);
        case 3:
            return invoice.order_date.value_or(invoice.invoice_date);
        case 4:
            return invoice.on_request_date.value_or(invoice.invoice_date);
        case 6:
            return end_of_month(invoice.invoice_date);
        default:
            return invoice.invoice_date;
    }
}

DueDatePreview due_date_preview(const std::vector<Record>& installments,
                                const std::vector<Record>& shift_periods,
                                const std::vector<Record>& subtypes,
                                const ExampleInvoice& example) {
    DueDatePreview preview;
    if (!plausible(example.invoice_date)) {
        preview.notes.push_back("Data fattura non valida");
        return preview;
    }
    if (installments.empty()) {
        preview.notes.push_back("Nessuna rata");
        return preview;
    }
    ExampleInvoice invoice = example;
    keep_if_plausible(invoice.delivery_note_date, "Data bolla", preview.notes);
    keep_if_plausible(invoice.delivery_date, "Data consegna", preview.notes);
    keep_if_plausible(invoice.order_date, "Data ordine", preview.notes);
    keep_if_plausible(invoice.on_request_date, "Data a richiesta", preview.notes);

    const std::vector<Period> periods = read_periods(shift_periods, preview.notes);
    std::vector<Draft> drafts;
    drafts.reserve(installments.size());
    for (std::size_t i = 0; i < installments.size(); ++i) {
        drafts.push_back(read_installment(installments[i], i, invoice, subtypes, preview.notes));
    }
    // Backwards, so that a merge sees the final due date of the next installment.
    for (std::size_t i = drafts.size(); i-- > 0;) shift(drafts, i, periods);
    split_amounts(drafts, invoice, preview.notes);

    preview.rows.reserve(drafts.size());
    for (Draft& draft : drafts) preview.rows.push_back(std::move(draft.row));
    return preview;
}

}  // namespace condpag
