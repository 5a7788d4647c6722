#pragma once
// Checks run when a data frame asks whether its current record may be confirmed: an installment,
// a shift period, a whole payment term. Each answers the control to focus and the message; the
// frame shows the message. Steps that meet an unusable value are skipped, never thrown.

#include <string>
#include <string_view>

#include "rules/editor_view.h"
#include "rules/normaliser.h"

namespace condpag {

struct [[nodiscard]] Verdict {
    std::string control;  // control to focus; "" for none
    std::string message;  // message to show; "" for none
    bool ok() const { return control.empty() && message.empty(); }
};

inline constexpr std::string_view kRataNonCorretta = "Rata non corretta";
inline constexpr std::string_view kSommaImponibiliOltre100 =
    "La somma degli imponibili non puo' essere maggiore del 100%";
inline constexpr std::string_view kSommaIvaOltre100 =
    "La somma dell'IVA non puo' essere maggiore del 100%";
inline constexpr std::string_view kTipiSottotipiDiversi =
    "Non è consentito salvare rate con tipi e sottotipi differenti per la condizione di "
    "pagamento corrente";
inline constexpr std::string_view kImponibileDiversoDa100 =
    "Somma delle percentuali di imponibile diversa da 100";
inline constexpr std::string_view kIvaDiversaDa100 = "Somma delle percentuali d'IVA diversa da 100";
inline constexpr std::string_view kScontoArt26Doppio =
    "Lo sconto art. 26 non può essere indicato sia a % che ad importo";
inline constexpr std::string_view kPeriodoNonCorretto = "Periodo di slittamento non corretto";

// Field check of the installment being confirmed: its days by start rule, then its shares as
// the boxes show them. Answers the control to focus, or "".
std::string ControllaRata(const EditorView& editor);

// Both totals shown (TXT_TOTIMP, TXT_TOTIVA) must be 100; the focus goes to the share box of
// the form shown, or nowhere when no form is shown.
std::string ControllaTotali(const EditorView& editor);

// Field check of the shift period shown: both limits valid day/months, upper not before lower.
std::string ControllaPeriodo(const ControlTexts& editor);

// The record events. A control already found wanting by the frame is handed back untouched.
Verdict FME_DETTAGLIO_ValidateRecord(const EditorView& editor, const NumberNormaliser& normaliser,
                                     Verdict passed_in = {});
Verdict FME_PERSLIT_ValidateRecord(const ControlTexts& editor, Verdict passed_in = {});
Verdict FME_CONDPAGDES_ValidateRecord(const EditorView& editor, Verdict passed_in = {});

}  // namespace condpag
