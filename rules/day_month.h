#pragma once
// Day/month values: stored as 100 x month + day (MMGG), typed and shown as GG/MM, worked on as
// GGMM. Bare days of the month are shown with two digits. Every check uses the leap year 1996,
// bare days as days of December 1996. Pure functions: no record set, no window, no throw.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "rules/value.h"

namespace condpag {

// Stored MMGG -> working GGMM text: 315 -> "1503". Null stays null; a blank value gives "".
Value GGMMdaMMGG(const Value& stored);
// Working GGMM text -> value to store: "1503" -> 315. Null or blank gives null.
Value MMGGdaGGMM(const Value& working);
// Mode 0: a bare day with two digits (5 -> "05"); mode 1: GG/MM (1503 -> "15/03").
// Null stays null; a blank value gives "". Any other mode leaves the right-trimmed text as is.
Value FormattaGGMM(const Value& value, int mode);
// The right-trimmed text without any "/": "15/03" -> "1503".
std::string TogliBarre(std::string_view text);

// A share text as a percentage: "" -> 0, "1/3" -> 33.33.., "40" -> 40. Nullopt when a part is
// no number or the denominator is 0; whoever needs the share then fails as a whole.
std::optional<double> FrazioneInPercentuale(std::string_view text);

// The message shown when a date check is asked for in a mode the system does not know.
struct Notice {
    std::string_view text;
    std::string_view title;
    int style;  // message-box style: 16 stop icon, 64 information icon
};
using NoticeSink = std::function<void(const Notice&)>;
inline constexpr Notice kModoDataSconosciuto{"Caso non contemplato in MDLCO_CONDPAG.DataValida!",
                                             "Informazione!", 16};

// A typed bare day (mode 0, 1 to 31) or day/month (mode 1, GG/MM of 1996). Blank text is
// valid in any mode. Other text in a mode other than 0 and 1 is not; a mode outside 0..3
// first tells `notify`.
bool DataValida(std::string_view text, int mode, const NoticeSink& notify = {});

// True when the day (mode 0) or day/month (mode 1) of `second` is the same as or later than
// that of `first`; false when either does not form a date.
bool DataNonPrecedente(std::string_view first, std::string_view second, int mode);

}  // namespace condpag
