#pragma once
// Field checks shared by the editor and the generation window: the share boxes and the two
// intervals of fixed due days.

#include <string>
#include <string_view>

#include "rules/editor_view.h"

namespace condpag {

// Selector 0 reads TXT_NUMIMP / TXT_DENIMP, 1 reads TXT_NUMIVA / TXT_DENIVA. True for whole
// numbers (halves to even) with a denominator above 0 and a numerator not above it.
bool FrazioneValida(int selector, const ControlTexts& window);

// Selector 0 reads TXT_IMP, 1 reads TXT_IVA. True when the number, rounded to a whole number
// (halves to even), lies in 0..100: 100.5 passes here, the sum check refuses it later.
bool PercentualeValida(int selector, const ControlTexts& window);

// The two intervals of fixed due days, each bound a whole number (0 for empty). One interval
// whose three days are valid suffices. Answers the control to focus, or "" when they pass.
struct FixedDayIntervals {
    double from1, to1, due1, from2, to2, due2;
};
std::string ControllaIntervalli(const FixedDayIntervals& days);

// The share boxes of the installment shown: the control to focus, or "".
// Share form "0" checks the fraction, "1" the percentage, anything else nothing.
std::string ControllaQuote(const ControlTexts& window);

}  // namespace condpag
