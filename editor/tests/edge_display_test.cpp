// What the editor shows at the edges of a term's life: the share totals of a term being begun,
// and what each list does with a row deleted before it was ever confirmed.

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

TEST(EdgeDisplay, ATermBegunShowsNoTotalsUntilAnInstallmentIsConfirmed) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    auto totals = [&w] { return w.TXT_TOTIMP.text() + "|" + w.TXT_TOTIVA.text(); };
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    EXPECT_EQ(totals(), "|");
    ASSERT_TRUE(w.TXT_CODICE.user_type("VUOTA") && w.TXT_DESCRIZIONE.user_type("Vuota"));
    // An installment confirmed, or only begun, and deleted: an unsaved one waits in its place
    // and nothing is totalled.
    for (bool confirmed : {true, false}) {
        SCOPED_TRACE(confirmed ? "confirmed" : "begun");
        if (confirmed) {
            ASSERT_TRUE(s.add_installment("30", "100")) << s.last_message();
            EXPECT_EQ(totals(), "100|100");
            ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(0));
        } else {
            ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
        }
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Elimina"));
        EXPECT_EQ(totals(), "|");
        EXPECT_EQ(w.FME_DETTAGLIO.Status(), FrameStatus::Insert);
        EXPECT_EQ(w.GRID_CONDPAG.row_count(), 1);
        EXPECT_EQ(w.TXT_NUMRATA.text() + "|" + w.TXT_GGDECOR.text(), "1|");
        EXPECT_EQ(w.focus(), &w.GRID_CONDPAG);  // renumbered, as after any deletion
    }
    // A language begun and deleted leaves its list empty, without a question.
    const std::size_t asked = s.messages.shown.size();
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo") && w.TXT_CODLINGUA.user_type("ENG") &&
                w.GRIDNAVL.user_click("Elimina"));
    EXPECT_EQ(w.FME_LINGUA.Status(), FrameStatus::View);
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 0);
    EXPECT_EQ(s.messages.shown.size(), asked) << s.all_messages();
    // The installment that waits is the one the term is saved with.
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("60") && w.TXT_IMP.user_type("100") &&
                w.TXT_IVA.user_type("100"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(totals(), "100|100");
    ASSERT_TRUE(s.save()) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_PROG, CG63_GGDECOR, CG63_PERCIMP FROM CG63_CONDPAGDET WHERE "
                      "CG63_CODPAG_CG62 = 'VUOTA'"),
              (Rows{{"1", "60", "100"}}));
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = 'VUOTA'"),
              (Rows{{"0"}}));
}

}  // namespace
}  // namespace condpag
