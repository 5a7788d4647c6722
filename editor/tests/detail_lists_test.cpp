// The detail lists of a term around their edits and saves: what each list shows and offers after
// "Annulla", after a save and after its rows are deleted, and what is stored; and what the host
// hears of the window that holds them.

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

// After a save each list shows its rows again from the first, or, emptied, waits in insert
// status for a new first row.
TEST(DetailLists, AfterASaveEachListShowsItsFirstRowOrWaitsForANewOne) {
    using Change = bool (*)(FRMCO_CONDPAG&);
    struct Case {
        const char* term;
        int list;  // installments, shift periods, languages
        Change change;
        const char* shown;  // the list's key box after the save; "" for an emptied list
    };
    const Case cases[] = {
        {"MAV30", 0,
         [](FRMCO_CONDPAG& w) {
             return w.GRID_CONDPAG.user_select_row(0) && w.GRIDNAV_RATE.user_click("Elimina");
         },
         ""},
        {"RB30FM", 1,
         [](FRMCO_CONDPAG& w) {
             return w.GRID_PERSLIT.user_select_row(0) && w.GRIDNAV_PERIODI.user_click("Elimina");
         },
         ""},
        {"RD", 2,
         [](FRMCO_CONDPAG& w) {
             return w.GRID_LINGUA.user_select_row(0) && w.GRIDNAVL.user_click("Elimina");
         },
         ""},
        {"RB30FM", 1,
         [](FRMCO_CONDPAG& w) {
             return w.GRIDNAV_PERIODI.user_click("Nuovo") &&
                    w.TXT_PERSLITDAGGMM.user_type("01/03") &&
                    w.TXT_PERSLITAGGMM.user_type("31/03") && w.TXT_PERSLITSLIT.user_type("5") &&
                    w.GRIDNAV_PERIODI.user_click("Conferma");
         },
         "01/08"},
        {"RD", 2,
         [](FRMCO_CONDPAG& w) {
             return w.GRIDNAVL.user_click("Nuovo") && w.TXT_CODLINGUA.user_type("DEU") &&
                    w.TXT_DESCRLINGUA.user_type("Bar") && w.GRIDNAVL.user_click("Conferma");
         },
         "ENG"},
    };
    const char* counts[] = {"SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '",
                            "SELECT COUNT(*) FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = '",
                            "SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = '"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " " + std::to_string(c.list));
        Session s;
        FRMCO_CONDPAG& w = s.open();
        ASSERT_TRUE(s.go_to(c.term));
        const std::string count = counts[c.list] + std::string(c.term) + "'";
        const int before = std::stoi(s.query(count)[0][0]);
        ASSERT_TRUE(c.change(w)) << s.all_messages();
        ASSERT_TRUE(s.save()) << s.all_messages();
        const DataFrame* frames[] = {&w.FME_DETTAGLIO, &w.FME_PERSLIT, &w.FME_LINGUA};
        const EditBox* keys[] = {&w.TXT_NUMRATA, &w.TXT_PERSLITDAGGMM, &w.TXT_CODLINGUA};
        const bool emptied = std::string(c.shown).empty();
        EXPECT_EQ(frames[c.list]->Status(), emptied ? FrameStatus::Insert : FrameStatus::View);
        // A stored row's key stays closed; a new row's is typed (the number is never typed).
        EXPECT_EQ(keys[c.list]->text(), emptied && c.list == 0 ? "1" : c.shown);
        EXPECT_EQ(keys[c.list]->enabled(), emptied && c.list != 0);
        EXPECT_EQ(s.query(count), (Rows{{std::to_string(emptied ? 0 : before + 1)}}));
    }
}

// A window whose load failed does not take the host up when activated; a loaded one lets its
// layout resize it, takes the host up again as it closes and lets it go once unloaded.
TEST(WindowAndHost, OnlyALoadedWindowTakesTheHostUpAndItDoesSoAgainAsItCloses) {
    for (bool loads : {false, true}) {
        SCOPED_TRACE(loads);
        Session s;
        if (!loads) s.global.SetConnectionString("sqlite:/nessuna/cartella/condpag.db");
        FRMCO_CONDPAG& w = s.open();
        EXPECT_EQ(s.events.calls.size(), loads ? 1u : 0u);  // "qxOpen"
        EXPECT_EQ(s.host.ActiveFrame(), loads ? &w.FME_CONDPAGDES : nullptr);
        if (!loads) continue;
        EXPECT_TRUE(w.LAY_CONDPAG.query_resize());
        s.global.SetApplication(nullptr);
        s.global.SetActiveInterface(nullptr);
        bool cancel = false;
        w.Form_QueryUnload(cancel);
        EXPECT_EQ(s.global.Application(), &w);
        EXPECT_EQ(s.global.ActiveInterface(), &s.host);
        w.Form_Unload();
        EXPECT_EQ(s.global.Application(), nullptr);
        EXPECT_EQ(s.navigator.FormEvents(), nullptr);
        EXPECT_EQ(w.GRIDNAV_RATE.interface(), nullptr);
        EXPECT_NE(w.WindowConnection().State(), ObjectState::Open);
    }
}

}  // namespace
}  // namespace condpag
