#pragma once
// Numbers and dates as an Italian clerk types and reads them. Amounts are typed "1.234,50",
// "1234,50" or "1234.50" and shown "#,##0.00" ("1.234,50"); other decimals are shown in their
// shortest form with a decimal comma ("33,3333"). Dates are typed "dd/mm/yyyy" (or ISO
// "yyyy-mm-dd") and shown "dd/mm/yyyy". Pure functions: no locale, no throw.

#include <string>
#include <string_view>

#include "rules/expected.h"

namespace condpag {

// A typed decimal: blanks around and a leading sign allowed. With a comma, the comma is the
// decimal separator and dots may group the thousands ("1.234.567,5"); without one, a single
// dot is the decimal point ("1234.50") and several dots group the thousands ("1.234.567").
// Anything else is refused with a message that quotes the text. An empty text is refused too:
// whoever allows an empty box checks for it first.
[[nodiscard]] Expected<double> LeggiImporto(std::string_view text);

// A display format of digits: '#' and '0', a ',' asking for grouped thousands, a '.' followed by
// the decimals always shown. "##0.00": 2 -> "2,00"; "##0.0000": 50 -> "50,0000";
// "#,##0.00": 1234.5 -> "1.234,50".
std::string FormattaNumero(double number, std::string_view format);
// "#,##0.00": 1234.5 -> "1.234,50", -0.5 -> "-0,50".
std::string FormattaImporto(double amount);
// Shortest exact decimal with a comma: 33.3333 -> "33,3333", 100 -> "100".
std::string FormattaDecimale(double number);

struct Data {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    friend bool operator==(const Data&, const Data&) = default;
};

// "dd/mm/yyyy" (one or two digits for day and month) or "yyyy-mm-dd"; a day that the month
// does not have is refused.
[[nodiscard]] Expected<Data> LeggiData(std::string_view text);
// "dd/mm/yyyy" and "yyyy-mm-dd".
std::string FormattaData(const Data& date);
std::string FormattaDataIso(const Data& date);

}  // namespace condpag
