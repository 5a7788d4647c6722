#include "rules/generation.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "rules/control_names.h"
#include "rules/day_month.h"
#include "rules/records.h"
#include "rules/share_checks.h"

namespace condpag {

std::string GenerationRequest::text(std::string_view control) const {
    auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
}

std::string ControllaGenerazione(const ControlTexts& request) {
    auto empty = [&](std::string_view box) { return RTrimN(request.text(box)).empty(); };
    const std::string rule = RTrimN(request.text(ctl::CMB_TIPODECORR));
    if (rule == "1") {
        if (empty(ctl::TXT_GGDECOR) || CDecN(request.text(ctl::TXT_GGDECOR)) < 0) {
            return std::string(ctl::TXT_GGDECOR);
        }
    } else if (rule == "2") {
        if (empty(ctl::TXT_GGSCADFIX1)) return std::string(ctl::TXT_GGSCADFIX1);
        if (empty(ctl::TXT_GGDECOR)) return std::string(ctl::TXT_GGDECOR);
    } else if (rule == "3") {
        if (empty(ctl::TXT_GGMMFIX)) return std::string(ctl::TXT_GGMMFIX);
    } else if (rule == "4") {
        auto day = [&](std::string_view box) { return CDecN(request.text(box)); };
        std::string failed = ControllaIntervalli({day(ctl::TXT_DAGGFIX1), day(ctl::TXT_AGGFIX1),
                                                  day(ctl::TXT_GGSCADFIX1), day(ctl::TXT_DAGGFIX2),
                                                  day(ctl::TXT_AGGFIX2), day(ctl::TXT_GGSCADFIX2)});
        if (!failed.empty()) return failed;
    }
    return ControllaQuote(request);
}

namespace {

// A box written to a numeric column: its number, null when empty, nothing when no number.
std::optional<Value> numeric_box(const std::string& text) {
    std::string trimmed = RTrimN(text);
    if (trimmed.empty()) return Value();
    auto number = parse_number(trimmed);
    if (!number) return std::nullopt;
    return Value(*number);
}

// A choice list written to a code column: its code, nothing when no code is selected.
std::optional<Value> code_box(const std::string& text) {
    auto number = parse_number(RTrimN(text));
    if (!number) return std::nullopt;
    return Value(*number);
}

// A box whose empty text is written as null and any other text as its CDecN.
Value amount_box(const std::string& text) {
    if (RTrimN(text).empty()) return {};
    return Value(CDecN(text));
}

}  // namespace

std::vector<GeneratedRow> RigheGeneraRate(const ControlTexts& request, std::string_view codice,
                                          int numbering_base) {
    const double wanted = std::nearbyint(CDecN(request.text(ctl::TXT_NUMERORATE)));
    const int count = static_cast<int>(std::clamp(wanted, 0.0, double(kMaxGeneratedRows)));
    auto box = [&](std::string_view control) { return request.text(control); };

    // What does not change from one row to the next.
    const std::optional<Value> type = code_box(box(ctl::CMB_TIPO));
    const std::optional<Value> subtype = numeric_box(box(ctl::TXT_SOTTOTIPO));
    const std::optional<Value> calendar = code_box(box(ctl::CMB_CALENDARIO));
    const std::optional<Value> rule = code_box(box(ctl::CMB_TIPODECORR));
    const std::optional<Value> days = numeric_box(box(ctl::TXT_GGDECOR));
    const std::optional<Value> reference = code_box(box(ctl::CMB_DATARIF));
    std::optional<Value> fixed_date = MMGGdaGGMM(Value(TogliBarre(RTrimN(box(ctl::TXT_GGMMFIX)))));
    if (fixed_date->is_text()) fixed_date.reset();
    const std::optional<Value> taxable_form = code_box(box(ctl::CMB_FLGFRPERCIMP));
    const std::optional<Value> vat_form = code_box(box(ctl::CMB_FLGFRPERCIVA));
    const std::optional<Value> fixed_handling = code_box(box(ctl::CMB_TIPOIMPFIX));
    const bool month_rule = rule && RTrimN(*rule) == "1";
    const double first_days = CDecN(box(ctl::TXT_GGDECOR));

    std::vector<GeneratedRow> rows;
    rows.reserve(count);
    for (int i = 1; i <= count; ++i) {
        GeneratedRow row;
        row.reserve(25);
        auto put = [&](std::string_view column, const std::optional<Value>& value) {
            if (value) row.emplace_back(column, *value);
        };
        put(db::CG63_CODPAG_CG62, Value(RTrimN(codice)));
        put(db::CG63_PROG, Value(numbering_base + i));
        put(db::CG63_TIPOEFF, type);
        put(db::CG63_STIPOEFF, subtype);
        put(db::CG63_INDTIPOCALEND, calendar);
        put(db::CG63_INDTIPODECOR, rule);
        put(db::CG63_GGDECOR, month_rule ? Value(first_days + 30.0 * (i - 1)) : days);
        put(db::CG63_INDDATARIF, reference);
        put(db::CG63_GGMMFIX, fixed_date);
        put(db::CG63_FLGFRPERCIMP, taxable_form);
        put(db::CG63_PERCIMP, amount_box(box(ctl::TXT_IMP)));
        put(db::CG63_EL1FRIMP, amount_box(box(ctl::TXT_NUMIMP)));
        put(db::CG63_EL2FRIMP, amount_box(box(ctl::TXT_DENIMP)));
        put(db::CG63_FLGFRPERCIVA, vat_form);
        put(db::CG63_PERCIVA, amount_box(box(ctl::TXT_IVA)));
        put(db::CG63_EL1FRIVA, amount_box(box(ctl::TXT_NUMIVA)));
        put(db::CG63_EL2FRIVA, amount_box(box(ctl::TXT_DENIVA)));
        put(db::CG63_INDIMPFIX, fixed_handling);
        put(db::CG63_IMPORFIX, amount_box(box(ctl::TXT_IMPFIX)));
        put(db::CG63_DAGGFIX1, amount_box(box(ctl::TXT_DAGGFIX1)));
        put(db::CG63_AGGFIX1, amount_box(box(ctl::TXT_AGGFIX1)));
        put(db::CG63_GGSCADFIX1, amount_box(box(ctl::TXT_GGSCADFIX1)));
        put(db::CG63_DAGGFIX2, amount_box(box(ctl::TXT_DAGGFIX2)));
        put(db::CG63_AGGFIX2, amount_box(box(ctl::TXT_AGGFIX2)));
        put(db::CG63_GGSCADFIX2, amount_box(box(ctl::TXT_GGSCADFIX2)));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace condpag
