#pragma once
// The payment data of an Italian electronic invoice (its DatiPagamento block) for a payment term
// and an invoice, computed by the due-date preview so that both show the same dates and cents.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "rules/due_date_preview.h"
#include "rules/value.h"

namespace condpag {

// CondizioniPagamento: in installments, in one payment, advance followed by the balance.
enum class PaymentCondition { TP01, TP02, TP03 };

// ModalitaPagamento, MP01 to MP23 as the invoice schema numbers them.
enum class PaymentMode {
    MP01 = 1,
    MP02,
    MP03,
    MP04,
    MP05,
    MP06,
    MP07,
    MP08,
    MP09,
    MP10,
    MP11,
    MP12,
    MP13,
    MP14,
    MP15,
    MP16,
    MP17,
    MP18,
    MP19,
    MP20,
    MP21,
    MP22,
    MP23
};

std::string_view condition_code(PaymentCondition condition);  // "TP01"
std::string mode_code(PaymentMode mode);                      // "MP05"
// "MP05" (blanks around allowed, upper case only) or nullopt for anything the schema lacks.
std::optional<PaymentMode> parse_mode(std::string_view text);

// Where a payment mode comes from: the subtype's "Modalità fattura PA" (CG64_INDMODFATTURAPA),
// which wins when set, or else the installment's payment type (CG63_TIPOEFF).
enum class ModeSource { Subtype, PaymentType };

struct ModeRule {
    ModeSource source;
    int stored;  // the stored code of the subtype mode or of the payment type
    PaymentMode mode;
};

// The one table of modes: every subtype mode, and the payment types that say how the money
// moves. Types missing here (Tratta, Leasing, Rimessa diretta, "Solo descrittivo", ...) have no
// mode of their own.
std::span<const ModeRule> mode_rules();

// DataRiferimentoTerminiPagamento and GiorniTerminiPagamento: the days an installment counts
// from its reference date.
struct PaymentTerms {
    std::chrono::year_month_day from{};
    int days = 0;
};

// One DettaglioPagamento.
struct PaymentDetail {
    int installment = 0;  // CG63_PROG of the installment that carries the amount
    PaymentMode mode = PaymentMode::MP01;
    // Only for installments that count days from a reference date (start rule 1).
    std::optional<PaymentTerms> terms;
    std::chrono::year_month_day due{};
    Cents amount = 0;
};

struct PaymentData {
    PaymentCondition condition = PaymentCondition::TP02;
    std::vector<PaymentDetail> details;  // in due-date order
};

enum class PaymentDataProblem {
    InvalidInvoiceDate,
    NoInstallments,
    TaxableSharesNot100,
    VatSharesNot100,
    AskedAmountMissing,  // fixed amount asked in the document and not given
    NoMode,              // neither subtype nor type give a mode, and the caller gave none
    UnknownSubtypeMode,  // the subtype holds a mode code the table does not know
    NegativeAmount,
    AmountTooLarge,  // more than the schema's eleven integer digits
    NothingToPay,    // every installment comes to zero
};

struct PaymentDataError {
    PaymentDataProblem problem;
    int installment = 0;     // CG63_PROG, where one installment is at fault
    long long code = 0;      // the payment type, or the subtype's mode code
    std::string type_label;  // the payment type as the choice list names it
    double total = 0;        // the share total, for the share problems
};

// The message for the user, in Italian: "Rata 2 (Tratta): ...".
std::string describe(const PaymentDataError& error);

using PaymentDataResult = std::variant<PaymentData, PaymentDataError>;

// installments, shift_periods and subtypes as the due-date preview takes them (subtypes also with
// CG64_INDMODFATTURAPA). `fallback_mode` is given by the caller for the installments whose
// subtype and type give no mode; it never replaces a mode they give.
[[nodiscard]] PaymentDataResult payment_data(const std::vector<Record>& installments,
                                             const std::vector<Record>& shift_periods,
                                             const std::vector<Record>& subtypes,
                                             const ExampleInvoice& invoice,
                                             std::optional<PaymentMode> fallback_mode);

// The schema's forms: 2027-01-15 and 1234.50.
std::string iso_date(const std::chrono::year_month_day& date);
std::optional<std::chrono::year_month_day> parse_iso_date(std::string_view text);
std::string decimal_amount(Cents amount);

}  // namespace condpag
