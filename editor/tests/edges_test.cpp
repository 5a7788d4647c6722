// The editor at the edges of its rules: single-installment profiles, validity marks, the order
// of a save, malformed day/month values, shares in thirds and numbers written as text.

#include <gtest/gtest.h>

#include "editor/tests/session.h"
#include "storage/demo_data.h"

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

// A term with one installment on a fixed date, 30/06.
void store_fixed_date_term(Session& s) {
    auto connection = s.db.connect();
    ASSERT_TRUE(connection.ok());
    ASSERT_TRUE(insert_rows(*connection, "CG62_CONDPAGDES", {"CG62_CODPAG", "CG62_DESCPAG"},
                            {{"FIX", "Data fissa"}}));
    ASSERT_TRUE(
        insert_rows(*connection, "CG63_CONDPAGDET",
                    {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_INDTIPODECOR",
                     "CG63_INDDATARIF", "CG63_INDTIPOCALEND", "CG63_FLGFRPERCIMP", "CG63_PERCIMP",
                     "CG63_FLGFRPERCIVA", "CG63_PERCIVA", "CG63_INDIMPFIX", "CG63_GGMMFIX"},
                    {{"FIX", 1, 2, 3, 0, 0, 1, 100, 1, 100, 0, 630}}));
}

TEST(EditorEdges, AMalformedDayMonthIsRefusedAtConfirmationAndItsMarkGoesWithIt) {
    Session s;
    store_fixed_date_term(s);
    FRMCO_CONDPAG& w = s.open();
    const std::string stored_row =
        "SELECT CG63_INDTIPOCALEND, CG63_GGMMFIX FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = "
        "'FIX'";
    for (const char* typed : {"31/04", "ab", "1/3", "15085", "31125"}) {
        SCOPED_TRACE(typed);
        s.go_to("FIX");
        // Confirmed straight from the record navigator, the focus still in the box.
        ASSERT_TRUE(w.TXT_GGMMFIX.user_type(typed));
        EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
        EXPECT_EQ(w.focus(), &w.TXT_GGMMFIX);
        EXPECT_EQ(s.query(stored_row), (Rows{{"0", "630"}}));
        // Left first, and confirmed from the grid navigator.
        ASSERT_TRUE(w.user_focus(&w.CMB_CALENDARIO));
        EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
        // Undone, the stored value is shown again and goes through as it is.
        ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
        EXPECT_EQ(w.TXT_GGMMFIX.text(), "30/06");
        ASSERT_TRUE(w.CMB_CALENDARIO.user_pick_value(1));
        ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
        EXPECT_EQ(s.query(stored_row), (Rows{{"1", "630"}}));
        ASSERT_TRUE(w.CMB_CALENDARIO.user_pick_value(0));
        ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    }
    // A mark left on one term does not follow the person to the next.
    s.go_to("FIX");
    ASSERT_TRUE(w.TXT_GGMMFIX.user_type("31/02"));
    ASSERT_TRUE(w.user_focus(&w.CMB_CALENDARIO));
    s.messages.answers = {kAnswerNo};  // leave the change behind
    s.go_to("RD");
    s.go_to("FIX");
    EXPECT_TRUE(w.TXT_GGMMFIX.valid());
    ASSERT_TRUE(w.CMB_CALENDARIO.user_pick_value(1));
    EXPECT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
}

TEST(EditorEdges, SharesThatAddUpTo100InThirdsAreNeverRefused) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RB369");  // three installments of 1/3
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(2));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Elimina"));
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(1));
    ASSERT_TRUE(w.TXT_NUMIMP.user_type("2"));
    ASSERT_TRUE(w.TXT_NUMIVA.user_type("2"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_PROG, CG63_EL1FRIMP, CG63_EL2FRIMP FROM CG63_CONDPAGDET WHERE "
                      "CG63_CODPAG_CG62 = 'RB369' ORDER BY CG63_PROG"),
              (Rows{{"1", "1", "3"}, {"2", "2", "3"}}));
}

TEST(EditorEdges, SmallPercentagesAreWrittenInFullAndReadBack) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODICE.user_type("PICCO"));
    ASSERT_TRUE(w.CHK_DESAUTOM.user_check(true));
    const char* shares[] = {"0.0001", "99.9999"};
    for (const char* share : shares) {
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
        ASSERT_TRUE(w.TXT_IMP.user_type(share));
        ASSERT_TRUE(w.TXT_IVA.user_type(share));
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    }
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.1 Rd (0,000%/0,000%) 30GG-DF + N ...");
    // The first installment is changed again: its share reads back.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(0));
    EXPECT_EQ(w.TXT_IMP.text(), "0,0001");
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("20"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_GGDECOR, CG63_PERCIMP FROM CG63_CONDPAGDET WHERE "
                      "CG63_CODPAG_CG62 = 'PICCO' ORDER BY CG63_PROG"),
              (Rows{{"20", "0.0001"}, {"30", "99.9999"}}));
}

}  // namespace
}  // namespace condpag
