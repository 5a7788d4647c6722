#pragma once
// How the rows of a payment term read outside the editor's grids (the listing printed and
// `condpag list`): codes as their grid labels, shares as a fraction or a percentage, day/month
// values as GG/MM. One form for every listing, the one the grids show.

#include <string>

#include "rules/records.h"
#include "rules/value.h"

namespace condpag {

// One installment (a CG63 row), cell by cell; an unset column reads "".
struct InstallmentCells {
    std::string number;         // CG63_PROG
    std::string type;           // grid label of CG63_TIPOEFF
    std::string subtype;        // CG63_STIPOEFF
    std::string start_rule;     // grid label of CG63_INDTIPODECOR
    std::string days;           // CG63_GGDECOR
    std::string reference;      // grid label of CG63_INDDATARIF
    std::string taxable_share;  // see share_text
    std::string vat_share;
    std::string fixed_handling;  // grid label of CG63_INDIMPFIX (an unlisted code as stored)
    std::string fixed_amount;    // CG63_IMPORFIX
    // The two intervals of days of the month with their fixed due day, days with two digits.
    std::string first_from, first_to, first_due_day;
    std::string second_from, second_to, second_due_day;
    std::string fixed_day_month;  // CG63_GGMMFIX as GG/MM
};
InstallmentCells installment_cells(const Record& row);

// One shift period (a CG65 row), cell by cell.
struct PeriodCells {
    std::string lower;       // CG65_DAMMGG as GG/MM
    std::string upper;       // CG65_AMMGG as GG/MM
    std::string type;        // grid label of CG65_INDTIPOSLIT (an unlisted code as stored)
    std::string fixed_date;  // CG65_GGMMFIXSLIT as GG/MM
    std::string days;        // CG65_GGSLSUCC
};
PeriodCells period_cells(const Record& row);

// A share as the installment holds it: "1/3" for a fraction, "50%" for a percentage. A share
// whose form is neither reads "", as the grid shows its form cell empty.
std::string share_text(const Record& row, const ShareColumns& share);

// A number as the window's fields show it, with a decimal comma; an amount as "#,##0.00". A
// value that is no number reads as stored, right-trimmed.
std::string decimal_text(const Value& stored);
std::string amount_text(const Value& stored);

// A stored day/month (100 x month + day) as GG/MM: 1231 reads "31/12"; unset reads "".
std::string day_month_text(const Value& stored);

}  // namespace condpag
