#include "rules/installment_checks.h"

#include <cmath>
#include <optional>

#include "rules/control_names.h"
#include "rules/day_month.h"
#include "rules/profile.h"
#include "rules/records.h"
#include "rules/share_checks.h"

namespace condpag {

namespace {

bool is_code(const Value& value, std::string_view code) { return RTrimN(value) == code; }

// 100 x numerator / denominator in extended precision, as a double; nullopt for a zero
// denominator, so that the step that needs it is skipped.
std::optional<double> fraction_percent(const Value& numerator, const Value& denominator) {
    const long double den = CDecN(denominator);
    if (den == 0) return std::nullopt;
    const double result = static_cast<double>(100.0L * CDecN(numerator) / den);
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

// The stored share of an installment being changed: nullopt when it cannot be computed.
std::optional<double> old_share(const Record& row, const ShareColumns& c) {
    if (is_code(field(row, c.form), "0")) {
        return fraction_percent(field(row, c.numerator), field(row, c.denominator));
    }
    return CDecN(field(row, c.percent));
}

// The share being confirmed: a fraction normalised, a percentage as typed.
std::optional<double> new_share(const Record& row, const ShareColumns& c,
                                const NumberNormaliser& normaliser) {
    if (is_code(field(row, c.form), "0")) {
        auto share = fraction_percent(field(row, c.numerator), field(row, c.denominator));
        if (!share) return std::nullopt;
        return normalised(normaliser, *share);
    }
    return CDecN(field(row, c.percent));
}

// The other installments share one payment type and subtype with this one.
bool uniform_types(const EditorView& editor) {
    const Record& current = editor.current_installment();
    const double prog = CDecN(field(current, db::CG63_PROG));
    const double type = CDecN(field(current, db::CG63_TIPOEFF));
    const double subtype = CDecN(field(current, db::CG63_STIPOEFF));
    for (const Record& row : editor.installments()) {
        if (CDecN(field(row, db::CG63_PROG)) == prog) continue;
        if (CDecN(field(row, db::CG63_TIPOEFF)) != type ||
            CDecN(field(row, db::CG63_STIPOEFF)) != subtype) {
            return false;
        }
    }
    return true;
}

std::string share_box(std::string_view form, std::string_view fraction_box,
                      std::string_view percent_box) {
    if (form == "0") return std::string(fraction_box);
    if (form == "1") return std::string(percent_box);
    return {};
}

}  // namespace

std::string ControllaRata(const EditorView& editor) {
    const Record& row = editor.current_installment();
    const std::string rule = RTrimN(field(row, db::CG63_INDTIPODECOR));
    auto empty = [&](std::string_view column) { return RTrimN(field(row, column)).empty(); };
    if (rule == "1") {
        if (empty(db::CG63_GGDECOR) || CDecN(field(row, db::CG63_GGDECOR)) < 0) {
            return std::string(ctl::TXT_GGDECOR);
        }
    } else if (rule == "2") {
        if (empty(db::CG63_GGSCADFIX1)) return std::string(ctl::TXT_GGSCADFIX1);
    } else if (rule == "3") {
        if (empty(db::CG63_GGMMFIX)) return std::string(ctl::TXT_GGMMFIX);
    } else if (rule == "4") {
        auto day = [&](std::string_view column) { return CDecN(field(row, column)); };
        std::string failed = ControllaIntervalli({day(db::CG63_DAGGFIX1), day(db::CG63_AGGFIX1),
                                                  day(db::CG63_GGSCADFIX1), day(db::CG63_DAGGFIX2),
                                                  day(db::CG63_AGGFIX2), day(db::CG63_GGSCADFIX2)});
        if (!failed.empty()) return failed;
    }
    return ControllaQuote(editor);
}

std::string ControllaTotali(const EditorView& editor) {
    if (CDecN(editor.text(ctl::TXT_TOTIMP)) != 100) {
        return share_box(RTrimN(editor.text(ctl::CMB_FLGFRPERCIMP)), ctl::TXT_NUMIMP, ctl::TXT_IMP);
    }
    if (CDecN(editor.text(ctl::TXT_TOTIVA)) != 100) {
        return share_box(RTrimN(editor.text(ctl::CMB_FLGFRPERCIVA)), ctl::TXT_NUMIVA, ctl::TXT_IVA);
    }
    return {};
}

std::string ControllaPeriodo(const ControlTexts& editor) {
    const std::string from = RTrimN(editor.text(ctl::TXT_PERSLITDAGGMM));
    const std::string to = RTrimN(editor.text(ctl::TXT_PERSLITAGGMM));
    if (!DataValida(from, 1)) return std::string(ctl::TXT_PERSLITDAGGMM);
    if (!DataValida(to, 1)) return std::string(ctl::TXT_PERSLITAGGMM);
    if (!DataNonPrecedente(from, to, 1)) return std::string(ctl::TXT_PERSLITDAGGMM);
    return {};
}

Verdict FME_DETTAGLIO_ValidateRecord(const EditorView& editor, const NumberNormaliser& normaliser,
                                     Verdict passed_in) {
    if (!passed_in.control.empty()) return passed_in;
    if (std::string control = ControllaRata(editor); !control.empty()) {
        return {control, std::string(kRataNonCorretta)};
    }

    // Totals of the other installments: the shown totals hold the stored shares of a changed
    // installment, so its remembered shares come off first.
    double taxable = CDecN(editor.text(ctl::TXT_TOTIMP));
    double vat = CDecN(editor.text(ctl::TXT_TOTIVA));
    if (!editor.installment_is_new()) {
        const Record& before = editor.remembered_installment();
        taxable = normalised(normaliser, taxable - old_share(before, kTaxableShare).value_or(0.0));
        vat = normalised(normaliser, vat - old_share(before, kVatShare).value_or(0.0));
    }

    const Record& row = editor.current_installment();
    taxable =
        normalised(normaliser, taxable + new_share(row, kTaxableShare, normaliser).value_or(0.0));
    vat = normalised(normaliser, vat + new_share(row, kVatShare, normaliser).value_or(0.0));
    if (taxable > 100) {
        return {is_code(field(row, db::CG63_FLGFRPERCIMP), "0") ? std::string(ctl::TXT_NUMIMP)
                                                                : std::string(ctl::TXT_IMP),
                std::string(kSommaImponibiliOltre100)};
    }
    if (vat > 100) {
        return {is_code(field(row, db::CG63_FLGFRPERCIVA), "0") ? std::string(ctl::TXT_NUMIVA)
                                                                : std::string(ctl::TXT_IVA),
                std::string(kSommaIvaOltre100)};
    }

    if (uniform_types_required(editor.installation_profile()) && !uniform_types(editor)) {
        const bool has_subtype = CDecN(field(row, db::CG63_STIPOEFF)) != 0;
        return {std::string(has_subtype ? ctl::TXT_SOTTOTIPO : ctl::CMB_TIPO),
                std::string(kTipiSottotipiDiversi)};
    }
    return {};
}

Verdict FME_PERSLIT_ValidateRecord(const ControlTexts& editor, Verdict passed_in) {
    if (!passed_in.control.empty()) return passed_in;
    if (std::string control = ControllaPeriodo(editor); !control.empty()) {
        return {control, std::string(kPeriodoNonCorretto)};
    }
    return {};
}

Verdict FME_CONDPAGDES_ValidateRecord(const EditorView& editor, Verdict passed_in) {
    if (!passed_in.control.empty()) return passed_in;
    if (std::string control = ControllaTotali(editor); !control.empty()) {
        const bool taxable = control == ctl::TXT_NUMIMP || control == ctl::TXT_IMP;
        return {control, std::string(taxable ? kImponibileDiversoDa100 : kIvaDiversaDa100)};
    }
    const Record& header = editor.header();
    if (CDecN(field(header, db::CG62_SCPERCART26)) != 0 &&
        CDecN(field(header, db::CG62_SCART26)) != 0) {
        return {std::string(ctl::TXT_PERCSCART26), std::string(kScontoArt26Doppio)};
    }
    return {};
}

}  // namespace condpag
