// Shares given as fractions that add up to exactly 100 are never refused by the sum rule, however
// the term got there: a new installment completing the others, or a stored one changed to do so,
// with the totals shown with a decimal point or a decimal comma.

#include <gtest/gtest.h>

#include <map>

#include "rules/installment_checks.h"
#include "rules/normaliser.h"
#include "rules/tests/rows.h"
#include "rules/totals.h"

namespace condpag {
namespace {

// The window as the installment check reads it: the totals shown and the installment confirmed.
struct Window : EditorView {
    std::string total;
    bool is_new = true;
    Record current, remembered;
    std::string text(std::string_view control) const override {
        if (control == "TXT_TOTIMP" || control == "TXT_TOTIVA") return total;
        if (control == "CMB_FLGFRPERCIMP" || control == "CMB_FLGFRPERCIVA") return "0";
        if (control == "TXT_NUMIMP" || control == "TXT_NUMIVA") {
            return field(current, "CG63_EL1FRIMP").to_text();
        }
        return field(current, "CG63_EL2FRIMP").to_text();
    }
    bool installment_is_new() const override { return is_new; }
    int installation_profile() const override { return 0; }
    const Record& current_installment() const override { return current; }
    std::vector<Record> installments() const override { return {}; }
    const Record& remembered_installment() const override { return remembered; }
    const Record& header() const override { return remembered; }
};

Record share(int numerator, int denominator) {
    return rata({{"CG63_FLGFRPERCIMP", 0},
                 {"CG63_EL1FRIMP", numerator},
                 {"CG63_EL2FRIMP", denominator},
                 {"CG63_FLGFRPERCIVA", 0},
                 {"CG63_EL1FRIVA", numerator},
                 {"CG63_EL2FRIVA", denominator}});
}

// The message of the check, empty when the installment passes.
std::string refusal(const RoundingNormaliser& normaliser, const std::vector<Record>& stored,
                    const Record& old_share, const Record& new_share) {
    Window window;
    window.total = total_text(normaliser, TotaliQuote(stored).taxable);
    window.is_new = old_share.empty();
    window.remembered = old_share;
    window.current = new_share;
    return std::string(FME_DETTAGLIO_ValidateRecord(window, normaliser).message);
}

TEST(FractionSums, SharesThatMakeExactly100AreNeverRefused) {
    int refused = 0;
    for (char separator : {'.', ','}) {
        const RoundingNormaliser normaliser(6, separator);
        for (int q = 1; q <= 99; ++q) {
            for (int b = 0; b < q; ++b) {  // the others hold b/q, the installment (q - b)/q
                const Record others = share(b, q), completing = share(q - b, q);
                // a new installment completes the others
                if (!refusal(normaliser, {others}, {}, completing).empty()) ++refused;
                // a stored installment of a/r is changed to complete them (a sample of a)
                for (int r : {97, q}) {
                    for (int a = 1; a <= r; a += 1 + r / 8) {
                        const Record old_share = share(a, r);
                        if (!refusal(normaliser, {others, old_share}, old_share, completing)
                                 .empty()) {
                            ADD_FAILURE() << b << "/" << q << " + " << a << "/" << r << " -> "
                                          << q - b << "/" << q << " with '" << separator << "'";
                            if (++refused > 5) return;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(refused, 0);
}

}  // namespace
}  // namespace condpag
