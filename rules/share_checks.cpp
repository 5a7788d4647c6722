#include "rules/share_checks.h"

#include <cmath>
#include <optional>

#include "rules/control_names.h"
#include "rules/day_month.h"

namespace condpag {

namespace {

// The number of a trimmed box text made a whole number, halves to even; nullopt when the box
// is empty or holds no number.
std::optional<double> whole_number(const std::string& text) {
    auto number = parse_number(RTrimN(text));
    if (!number) return std::nullopt;
    return std::nearbyint(*number);
}

bool valid_day(double value) { return DataValida(decimal_text(std::nearbyint(value)), 0); }

// The first failing box of one interval, or "" when its three days are valid.
std::string_view interval_failure(double from, double to, double due, std::string_view from_box,
                                  std::string_view to_box, std::string_view due_box) {
    if (!valid_day(from)) return from_box;
    if (!valid_day(to)) return to_box;
    if (!valid_day(due)) return due_box;
    return {};
}

}  // namespace

bool FrazioneValida(int selector, const ControlTexts& window) {
    auto numerator = whole_number(window.text(selector == 0 ? ctl::TXT_NUMIMP : ctl::TXT_NUMIVA));
    auto denominator = whole_number(window.text(selector == 0 ? ctl::TXT_DENIMP : ctl::TXT_DENIVA));
    return numerator && denominator && *denominator > 0 && *numerator <= *denominator;
}

bool PercentualeValida(int selector, const ControlTexts& window) {
    auto percent = whole_number(window.text(selector == 0 ? ctl::TXT_IMP : ctl::TXT_IVA));
    return percent && *percent >= 0 && *percent <= 100;
}

std::string ControllaIntervalli(const FixedDayIntervals& d) {
    std::string_view first = interval_failure(d.from1, d.to1, d.due1, ctl::TXT_DAGGFIX1,
                                              ctl::TXT_AGGFIX1, ctl::TXT_GGSCADFIX1);
    std::string_view second = interval_failure(d.from2, d.to2, d.due2, ctl::TXT_DAGGFIX2,
                                               ctl::TXT_AGGFIX2, ctl::TXT_GGSCADFIX2);
    if (!first.empty() && !second.empty()) return std::string(second);
    if (second.empty() && std::nearbyint(d.to2) < std::nearbyint(d.from2)) {
        return std::string(ctl::TXT_DAGGFIX2);
    }
    if (first.empty() && std::nearbyint(d.to1) < std::nearbyint(d.from1)) {
        return std::string(ctl::TXT_DAGGFIX1);
    }
    return {};
}

std::string ControllaQuote(const ControlTexts& window) {
    const std::string taxable_form = RTrimN(window.text(ctl::CMB_FLGFRPERCIMP));
    if (taxable_form == "0" && !FrazioneValida(0, window)) return std::string(ctl::TXT_NUMIMP);
    if (taxable_form == "1" && !PercentualeValida(0, window)) return std::string(ctl::TXT_IMP);
    const std::string vat_form = RTrimN(window.text(ctl::CMB_FLGFRPERCIVA));
    if (vat_form == "0" && !FrazioneValida(1, window)) return std::string(ctl::TXT_NUMIVA);
    if (vat_form == "1" && !PercentualeValida(1, window)) return std::string(ctl::TXT_IVA);
    return {};
}

}  // namespace condpag
