#include "rules/einvoice_payment.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "rules/italian_format.h"
#include "rules/normaliser.h"
#include "rules/records.h"
#include "rules/totals.h"

namespace condpag {
namespace {

namespace chr = std::chrono;

// ImportoPagamento holds at most eleven integer digits.
constexpr Cents kLargestAmount = 99'999'999'999'99;
// GiorniTerminiPagamento holds 0 to 999; longer terms keep only their due date.
constexpr long long kLargestTermDays = 999;
// The start rule that counts days from the reference date ("Mese commerciale / civile").
constexpr long long kCountsDays = 1;
// Fixed amount asked in the document (CG63_INDIMPFIX).
constexpr long long kAskedInDocument = 2;

constexpr std::array kModeRules{
    // "Modalità fattura PA" of the subtype, in the subtypes window's list order.
    ModeRule{ModeSource::Subtype, 10, PaymentMode::MP01},  // Contanti
    ModeRule{ModeSource::Subtype, 2, PaymentMode::MP02},   // Assegno
    ModeRule{ModeSource::Subtype, 3, PaymentMode::MP03},   // Assegno circolare
    ModeRule{ModeSource::Subtype, 1, PaymentMode::MP04},   // Contanti presso tesoreria
    ModeRule{ModeSource::Subtype, 4, PaymentMode::MP06},   // Vaglia cambiario
    ModeRule{ModeSource::Subtype, 5, PaymentMode::MP07},   // Bollettino bancario
    ModeRule{ModeSource::Subtype, 6, PaymentMode::MP14},   // Quietanza erario
    ModeRule{ModeSource::Subtype, 7, PaymentMode::MP15},   // Giroconto contabilità speciale
    ModeRule{ModeSource::Subtype, 8, PaymentMode::MP16},   // Domiciliazione bancaria
    ModeRule{ModeSource::Subtype, 9, PaymentMode::MP17},   // Domiciliazione postale
    ModeRule{ModeSource::Subtype, 11, PaymentMode::MP22},  // Trattenuta su somme già riscosse
    ModeRule{ModeSource::Subtype, 12, PaymentMode::MP23},  // PagoPA
    // Payment types, in the choice list's order.
    ModeRule{ModeSource::PaymentType, 1, PaymentMode::MP01},   // Contanti
    ModeRule{ModeSource::PaymentType, 2, PaymentMode::MP12},   // Ricevuta Bancaria
    ModeRule{ModeSource::PaymentType, 7, PaymentMode::MP08},   // Carta di credito
    ModeRule{ModeSource::PaymentType, 8, PaymentMode::MP08},   // Bancomat
    ModeRule{ModeSource::PaymentType, 9, PaymentMode::MP01},   // Contrassegno
    ModeRule{ModeSource::PaymentType, 11, PaymentMode::MP09},  // RID
    ModeRule{ModeSource::PaymentType, 14, PaymentMode::MP05},  // Bonifico Bancario
    ModeRule{ModeSource::PaymentType, 15, PaymentMode::MP18},  // C/C Postale
    ModeRule{ModeSource::PaymentType, 16, PaymentMode::MP13},  // MAV
};

std::optional<PaymentMode> mode_for(ModeSource source, long long stored) {
    for (const ModeRule& rule : kModeRules) {
        if (rule.source == source && rule.stored == stored) return rule.mode;
    }
    return std::nullopt;
}

long long whole(const Record& record, std::string_view column) {
    return std::llround(CDecN(field(record, column)));
}

// The subtype row of the installment's type and subtype, if it has one.
const Record* subtype_of(const Record& installment, const std::vector<Record>& subtypes) {
    if (RTrimN(field(installment, db::CG63_STIPOEFF)).empty()) return nullptr;
    const Value type(whole(installment, db::CG63_TIPOEFF));
    const Value subtype(whole(installment, db::CG63_STIPOEFF));
    for (const Record& record : subtypes) {
        if (same_code(field(record, db::CG64_TIPOEFF), type) &&
            same_code(field(record, db::CG64_CODSTIPOEFF), subtype)) {
            return &record;
        }
    }
    return nullptr;
}

// A problem of the whole term or invoice: no installment, type or code to name.
PaymentDataError term_error(PaymentDataProblem problem, double total = 0) {
    return {problem, 0, 0, {}, total};
}

// `code` is what the message names besides the installment: its type, or its subtype's mode.
PaymentDataError installment_error(PaymentDataProblem problem, const PreviewRow& row,
                                   long long code) {
    return {problem, row.number, code, row.type_label, 0};
}

// The mode of one installment, or the error that names it.
std::variant<PaymentMode, PaymentDataError> mode_of(const Record& installment,
                                                    const PreviewRow& row,
                                                    const std::vector<Record>& subtypes,
                                                    std::optional<PaymentMode> fallback) {
    if (const Record* subtype = subtype_of(installment, subtypes)) {
        const long long stored = whole(*subtype, db::CG64_INDMODFATTURAPA);
        if (stored != 0) {
            if (auto mode = mode_for(ModeSource::Subtype, stored)) return *mode;
            return installment_error(PaymentDataProblem::UnknownSubtypeMode, row, stored);
        }
    }
    const long long type = whole(installment, db::CG63_TIPOEFF);
    if (auto mode = mode_for(ModeSource::PaymentType, type)) return *mode;
    if (fallback) return *fallback;
    return installment_error(PaymentDataProblem::NoMode, row, type);
}

std::optional<PaymentDataError> shares_problem(const std::vector<Record>& installments) {
    const ShareTotals totals = TotaliQuote(installments);
    const RoundingNormaliser normaliser;
    const double taxable = normalised(normaliser, totals.taxable);
    const double vat = normalised(normaliser, totals.vat);
    if (taxable != 100) return term_error(PaymentDataProblem::TaxableSharesNot100, taxable);
    if (vat != 100) return term_error(PaymentDataProblem::VatSharesNot100, vat);
    return std::nullopt;
}

struct Candidate {
    std::size_t index;  // position of the installment in the term
    PaymentDetail detail;
};

// An advance: the term's first installment, due on the invoice date after 0 days, before the
// due date of the next payment.
bool is_advance(const std::vector<Candidate>& kept, const std::vector<Record>& installments,
                const ExampleInvoice& invoice) {
    const Candidate& first = kept.front();
    const Record& row = installments[first.index];
    return first.index == 0 && whole(row, db::CG63_INDTIPODECOR) == kCountsDays &&
           whole(row, db::CG63_GGDECOR) == 0 && first.detail.due == invoice.invoice_date &&
           chr::sys_days{kept[1].detail.due} > chr::sys_days{first.detail.due};
}

// A total of shares to the six decimals the shares are kept in, with a decimal comma.
std::string share_total_text(double total) {
    return FormattaDecimale(std::round(total * 1e6) / 1e6);
}

}  // namespace

std::string_view condition_code(PaymentCondition condition) {
    switch (condition) {
        case PaymentCondition::TP01:
            return "TP01";
        case PaymentCondition::TP02:
            return "TP02";
        case PaymentCondition::TP03:
            return "TP03";
    }
    return "TP02";
}

std::string mode_code(PaymentMode mode) {
    char text[8];
    std::snprintf(text, sizeof text, "MP%02d", int(mode));
    return text;
}

std::optional<PaymentMode> parse_mode(std::string_view text) {
    const std::string_view code = trimmed(text);
    if (code.size() != 4 || code.compare(0, 2, "MP") != 0 ||
        !std::isdigit(static_cast<unsigned char>(code[2])) ||
        !std::isdigit(static_cast<unsigned char>(code[3]))) {
        return std::nullopt;
    }
    const int number = (code[2] - '0') * 10 + (code[3] - '0');
    if (number < int(PaymentMode::MP01) || number > int(PaymentMode::MP23)) return std::nullopt;
    return PaymentMode(number);
}

std::span<const ModeRule> mode_rules() { return kModeRules; }

std::string describe(const PaymentDataError& error) {
    const std::string installment = "Rata " + std::to_string(error.installment);
    const std::string type =
        error.type_label.empty() ? "tipo " + std::to_string(error.code) : error.type_label;
    switch (error.problem) {
        case PaymentDataProblem::InvalidInvoiceDate:
            return "Data fattura non valida";
        case PaymentDataProblem::NoInstallments:
            return "La condizione di pagamento non ha rate";
        case PaymentDataProblem::TaxableSharesNot100:
            return "Somma delle percentuali di imponibile diversa da 100: " +
                   share_total_text(error.total);
        case PaymentDataProblem::VatSharesNot100:
            return "Somma delle percentuali d'IVA diversa da 100: " + share_total_text(error.total);
        case PaymentDataProblem::AskedAmountMissing:
            return installment + ": manca l'importo fisso da richiedere sul documento";
        case PaymentDataProblem::NoMode:
            return installment + " (" + type +
                   "): il tipo di pagamento non indica la modalità di pagamento della fattura "
                   "elettronica; indicarne una";
        case PaymentDataProblem::UnknownSubtypeMode:
            return installment + " (" + error.type_label + "): modalità fattura PA " +
                   std::to_string(error.code) + " del sottotipo sconosciuta";
        case PaymentDataProblem::NegativeAmount:
            return installment + ": importo negativo";
        case PaymentDataProblem::AmountTooLarge:
            return installment + ": importo oltre 99.999.999.999,99";
        case PaymentDataProblem::NothingToPay:
            return "Nessun importo da pagare: tutte le rate sono a zero";
    }
    return {};
}

PaymentDataResult payment_data(const std::vector<Record>& installments,
                               const std::vector<Record>& shift_periods,
                               const std::vector<Record>& subtypes, const ExampleInvoice& invoice,
                               std::optional<PaymentMode> fallback_mode) {
    if (installments.empty()) return term_error(PaymentDataProblem::NoInstallments);
    if (auto problem = shares_problem(installments)) return *problem;
    const DueDatePreview preview = due_date_preview(installments, shift_periods, subtypes, invoice);
    if (preview.rows.size() != installments.size()) {
        return term_error(PaymentDataProblem::InvalidInvoiceDate);
    }

    std::vector<Candidate> kept;
    for (std::size_t i = 0; i < installments.size(); ++i) {
        const Record& installment = installments[i];
        const PreviewRow& row = preview.rows[i];
        if (whole(installment, db::CG63_INDIMPFIX) == kAskedInDocument &&
            invoice.asked_fixed_amounts.count(row.number) == 0) {
            return installment_error(PaymentDataProblem::AskedAmountMissing, row, 0);
        }
        // An installment merged into the next one by a shift period, or one of no amount, is
        // no payment of its own.
        if (row.total == 0) continue;
        if (row.total < 0) return installment_error(PaymentDataProblem::NegativeAmount, row, 0);
        if (row.total > kLargestAmount) {
            return installment_error(PaymentDataProblem::AmountTooLarge, row, 0);
        }
        auto mode = mode_of(installment, row, subtypes, fallback_mode);
        if (auto* error = std::get_if<PaymentDataError>(&mode)) return *error;

        PaymentDetail detail;
        detail.installment = row.number;
        detail.mode = std::get<PaymentMode>(mode);
        detail.due = row.due;
        detail.amount = row.total;
        const long long days = whole(installment, db::CG63_GGDECOR);
        if (whole(installment, db::CG63_INDTIPODECOR) == kCountsDays && days >= 0 &&
            days <= kLargestTermDays) {
            detail.terms = PaymentTerms{
                reference_date(whole(installment, db::CG63_INDDATARIF), invoice), int(days)};
        }
        kept.push_back({i, detail});
    }
    if (kept.empty()) return term_error(PaymentDataProblem::NothingToPay);

    std::stable_sort(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
        return chr::sys_days{a.detail.due} < chr::sys_days{b.detail.due};
    });
    PaymentData data;
    data.condition = kept.size() == 1                          ? PaymentCondition::TP02
                     : is_advance(kept, installments, invoice) ? PaymentCondition::TP03
                                                               : PaymentCondition::TP01;
    for (Candidate& candidate : kept) data.details.push_back(candidate.detail);
    return data;
}

std::string iso_date(const std::chrono::year_month_day& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return text;
}

std::optional<std::chrono::year_month_day> parse_iso_date(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto digits = [&](std::size_t from, std::size_t count) -> std::optional<int> {
        int number = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
            number = number * 10 + (text[i] - '0');
        }
        return number;
    };
    const auto year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (!year || !month || !day) return std::nullopt;
    const chr::year_month_day date{chr::year{*year}, chr::month{unsigned(*month)},
                                   chr::day{unsigned(*day)}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::string decimal_amount(Cents amount) {
    const unsigned long long magnitude =
        amount < 0 ? 0ULL - static_cast<unsigned long long>(amount) : amount;
    char text[40];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", amount < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

}  // namespace condpag
