// The detail lists of a term around their edits and saves: what each list shows and offers after
// "Annulla", after a save and after its rows are deleted, and what is stored.

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

// A new term's one installment dropped with "Annulla" is offered again, forced to the whole
// amount, so that the term still gets it ("Nuovo" adds none in this mode).
TEST(DetailLists, AnUndoneSingleInstallmentIsOfferedAgain) {
    struct Case {
        int profile;
        bool code_first;  // the code typed before the installment is dropped, or after
    };
    for (const Case& c : {Case{1, true}, Case{4, false}}) {
        SCOPED_TRACE(c.profile);
        Session s(c.profile);
        FRMCO_CONDPAG& w = s.open();
        ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
        if (c.code_first) {
            ASSERT_TRUE(w.TXT_CODICE.user_type("UNA"));
        }
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("60"));
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Annulla"));
        EXPECT_EQ(w.FME_DETTAGLIO.Status(), FrameStatus::Insert);
        EXPECT_EQ(w.GRID_CONDPAG.row_count(), 1);
        EXPECT_EQ(w.TXT_IMP.text(), "100,0000");
        EXPECT_EQ(w.TXT_GGDECOR.text(), "");
        EXPECT_EQ(w.TXT_TOTIMP.text(), "");  // a new term shows no totals until confirmed
        EXPECT_FALSE(w.TXT_IMP.enabled());
        EXPECT_FALSE(w.GRIDNAV_RATE.ButtonEnabled("Nuovo"));
        if (!c.code_first) {
            ASSERT_TRUE(w.TXT_CODICE.user_type("UNA"));
        }
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Una rata"));
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
        ASSERT_TRUE(s.save()) << s.all_messages();
        EXPECT_EQ(s.query("SELECT CG63_CODPAG_CG62, CG63_PROG, CG63_GGDECOR, CG63_FLGFRPERCIMP, "
                          "CG63_PERCIMP, CG63_FLGFRPERCIVA, CG63_PERCIVA, CG63_INDIMPFIX FROM "
                          "CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'UNA'"),
                  (Rows{{"UNA", "1", "30", "1", "100", "1", "100", "1"}}));
    }
}

}  // namespace
}  // namespace condpag
