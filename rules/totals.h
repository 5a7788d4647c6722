#pragma once
// Totals of the taxable and VAT shares of a payment term's installments, in percent.

#include <span>

#include "rules/value.h"

namespace condpag {

struct ShareTotals {
    double taxable = 0;
    double vat = 0;
};

// Plain double sums over the installment rows, in list order. A fraction share (form 0) is
// numerator / denominator x 100, 0 when either is null or the denominator is 0; a percentage
// (form 1) is its value, 0 when null. A row with any other form repeats the share of the row
// before it (0 for the first row).
ShareTotals TotaliQuote(std::span<const Record> installments);

// Both raw totals exactly 100, without normalising: three rows of 1/3 are not complete here.
bool TotaliCompleti(const ShareTotals& totals);

}  // namespace condpag
