// The editor at the edges of its rules: single-installment profiles, validity marks, the order
// of a save, malformed day/month values, shares in thirds and numbers written as text.

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

// The host toolbar drives the header frame itself, not the window's record navigator.
bool toolbar(Session& s, const std::string& key) {
    DataFrame* frame = s.host.ActiveFrame();
    if (frame == nullptr) return false;
    if (key == "Nuovo") return frame->New();
    if (key == "Salva") return frame->Save();
    return false;
}

TEST(EditorEdges, SingleInstallmentProfilesGiveANewTermItsOneInstallmentOf100) {
    // A term shown read-only first: "Nuovo" from the window or from the host toolbar alike.
    for (bool from_toolbar : {false, true}) {
        SCOPED_TRACE(from_toolbar ? "host toolbar" : "record navigator");
        Session s(1);
        FRMCO_CONDPAG& w = s.open();
        s.go_to("RB3060");
        ASSERT_TRUE(w.FME_CONDPAGDES.ReadOnly());
        ASSERT_TRUE(from_toolbar ? toolbar(s, "Nuovo") : w.INTERNAV.user_click("Nuovo"));
        ASSERT_TRUE(w.TXT_CODICE.user_type("UNA"));
        EXPECT_EQ(w.TXT_CODICE.text(), "UNA");
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Una rata"));
        EXPECT_EQ(w.FME_DETTAGLIO.Status(), kStatusInsert);
        EXPECT_EQ(w.TXT_IMP.text(), "100");
        EXPECT_EQ(w.TXT_IVA.text(), "100");
        EXPECT_FALSE(w.TXT_IMP.enabled());
        EXPECT_FALSE(w.CMB_TIPOIMPFIX.enabled());
        EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));  // never a second one
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
        ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
        EXPECT_EQ(s.query("SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'UNA'"),
                  (Rows{{"Una rata"}}));
        EXPECT_EQ(s.query("SELECT CG63_PROG, CG63_GGDECOR, CG63_FLGFRPERCIMP, CG63_PERCIMP, "
                          "CG63_FLGFRPERCIVA, CG63_PERCIVA, CG63_INDIMPFIX FROM CG63_CONDPAGDET "
                          "WHERE CG63_CODPAG_CG62 = 'UNA'"),
                  (Rows{{"1", "30", "1", "100", "1", "100", "1"}}));
    }
}

}  // namespace
}  // namespace condpag
