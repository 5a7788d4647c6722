// Shares given as fractions that add up to exactly 100 are never refused by the sum rule, however
// the term got there: a new installment completing the others, or a stored one changed to do so,
// with the totals shown with a decimal point or a decimal comma.

#include <gtest/gtest.h>

#include "rules/installment_checks.h"
#include "rules/normaliser.h"
#include "rules/tests/rows.h"
#include "rules/totals.h"

namespace condpag {
namespace {

// The message of the check, empty when the installment passes.
std::string refusal(const RoundingNormaliser& normaliser, const std::vector<Record>& stored,
                    const Record& old_share, const Record& new_share) {
    const std::string total = total_text(normaliser, TotaliQuote(stored).taxable);
    FakeEditor editor;
    editor.texts = {{"TXT_TOTIMP", total}, {"TXT_TOTIVA", total}};
    editor.is_new = old_share.empty();
    editor.remembered = old_share;
    editor.current = new_share;
    return std::string(FME_DETTAGLIO_ValidateRecord(editor, normaliser).message);
}

TEST(FractionSums, SharesThatMakeExactly100AreNeverRefused) {
    int refused = 0;
    for (char separator : {'.', ','}) {
        const RoundingNormaliser normaliser(6, separator);
        for (int q = 1; q <= 99; ++q) {
            for (int b = 0; b < q; ++b) {  // the others hold b/q, the installment (q - b)/q
                const Record others = fraction(b, q), completing = fraction(q - b, q);
                // a new installment completes the others
                if (!refusal(normaliser, {others}, {}, completing).empty()) ++refused;
                // a stored installment of a/r is changed to complete them (a sample of a)
                for (int r : {97, q}) {
                    for (int a = 1; a <= r; a += 1 + r / 8) {
                        const Record old_share = fraction(a, r);
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
