#include "rules/totals.h"

#include "rules/records.h"

namespace condpag {

namespace {

// The share of one row, or nullopt when its form is neither fraction nor percentage. Columns
// are read as numbers; text that is no number reads as null.
std::optional<double> share_of(const Record& row, const ShareColumns& c) {
    const std::optional<double> kind = field(row, c.form).to_number();
    if (kind == 1) return field(row, c.percent).to_number().value_or(0.0);
    if (kind != 0) return std::nullopt;
    auto num = field(row, c.numerator).to_number();
    auto den = field(row, c.denominator).to_number();
    if (!num || !den || *den == 0) return 0.0;
    // Divided first, as the stored totals always were: three rows of 1/3 give 99.99999999999999.
    return *num / *den * 100;
}

}  // namespace

ShareTotals TotaliQuote(std::span<const Record> installments) {
    ShareTotals totals;
    double taxable = 0;
    double vat = 0;
    for (const Record& row : installments) {
        taxable = share_of(row, kTaxableShare).value_or(taxable);
        vat = share_of(row, kVatShare).value_or(vat);
        totals.taxable += taxable;
        totals.vat += vat;
    }
    return totals;
}

bool TotaliCompleti(const ShareTotals& totals) {
    return totals.taxable == 100 && totals.vat == 100;
}

}  // namespace condpag
