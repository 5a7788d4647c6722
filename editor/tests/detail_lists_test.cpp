// The detail lists of a term around their edits and saves: a new term's installments at the edges
// (single-installment mode, rows dropped or deleted before they were confirmed, the totals), what
// each list shows and offers after a save and after its rows are deleted, and what is stored; and
// what the host hears of the window that holds them.

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

// However a single-installment term is begun, its one installment is forced to 100 % and locked
// there; dropped with "Annulla" (before or after the code is typed) it is offered again, so that
// the term still gets it, and the term is stored with it.
TEST(EdgeInput, ANewSingleInstallmentTermIsStoredWithItsOneInstallment) {
    enum class Begun { Navigator, ToolbarAfterReadOnly, ProgramMode, CallingProgram };
    struct Case {
        int profile;
        Begun begun;
    };
    for (const Case& c : {Case{1, Begun::Navigator}, Case{4, Begun::ToolbarAfterReadOnly},
                          Case{1, Begun::ProgramMode}, Case{4, Begun::CallingProgram}}) {
        SCOPED_TRACE(std::to_string(c.profile) + "/" + std::to_string(static_cast<int>(c.begun)));
        Session s(c.profile);
        s.host.SetProgramMode(c.begun == Begun::ProgramMode ? 2 : 0);
        s.host.SetIsCalled(c.begun == Begun::CallingProgram);
        FRMCO_CONDPAG& w = s.open("UNA  ");
        if (c.begun == Begun::Navigator || c.begun == Begun::ToolbarAfterReadOnly) {
            ASSERT_TRUE(s.go_to("RB3060"));  // two installments: read-only here
            ASSERT_TRUE(c.begun == Begun::Navigator ? w.INTERNAV.user_click("Nuovo")
                                                    : s.host.ActiveFrame()->New());
        }
        auto type_code = [&] {
            ASSERT_TRUE(w.TXT_CODICE.user_type("UNA"));
            w.TXT_CODICE.user_key(kKeyTab);
        };
        if (c.begun != Begun::CallingProgram && c.begun != Begun::ProgramMode) type_code();
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("60") && w.GRIDNAV_RATE.user_click("Annulla"));
        EXPECT_EQ(w.FME_DETTAGLIO.Status(), FrameStatus::Insert);
        EXPECT_EQ(w.GRID_CONDPAG.row_count(), 1);
        EXPECT_EQ(w.TXT_GGDECOR.text(), "");
        // A new term shows no totals until its installment is confirmed.
        EXPECT_EQ(w.TXT_TOTIMP.text() + "|" + w.TXT_TOTIVA.text(), "|");
        if (c.begun == Begun::ProgramMode) type_code();
        EXPECT_EQ(w.TXT_CODICE.text(), "UNA");
        EXPECT_TRUE(w.TabCondPag.enabled());
        EXPECT_EQ(w.TXT_IMP.text() + "|" + w.TXT_IVA.text(), "100,0000|100,0000");
        for (Control* locked :
             std::initializer_list<Control*>{&w.TXT_IMP, &w.TXT_IVA, &w.CMB_FLGFRPERCIMP,
                                             &w.CMB_FLGFRPERCIVA, &w.CMB_TIPOIMPFIX}) {
            EXPECT_FALSE(locked->enabled()) << locked->name();
        }
        EXPECT_FALSE(w.GRIDNAV_RATE.ButtonEnabled("Nuovo"));
        EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Una rata"));
        // The installment shown at 100 % is the term's: confirming the term checks it.
        EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
        EXPECT_EQ(s.last_message(), "Rata non corretta");
        EXPECT_EQ(w.focus(), &w.TXT_GGDECOR);
        EXPECT_EQ(s.term("CG62", "COUNT(*)", "UNA"), (Rows{{"0"}}));
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30") && w.INTERNAV.user_click("Conferma"))
            << s.all_messages();
        EXPECT_EQ(s.term("CG62", "CG62_DESCPAG", "UNA"), (Rows{{"Una rata"}}));
        EXPECT_EQ(s.term("CG63",
                         "CG63_PROG, CG63_GGDECOR, CG63_FLGFRPERCIMP, CG63_PERCIMP, "
                         "CG63_FLGFRPERCIVA, CG63_PERCIVA, CG63_INDIMPFIX",
                         "UNA"),
                  (Rows{{"1", "30", "1", "100", "1", "100", "1"}}));
        // No installment is left under another code (or none), belonging to no term.
        EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 NOT IN "
                          "(SELECT CG62_CODPAG FROM CG62_CONDPAGDES)"),
                  (Rows{{"0"}}));
    }
}

// A term begun shows no totals until an installment is confirmed. An installment begun before
// the code is typed is re-keyed by the code; its "Annulla" still drops it, and what the person
// dropped is never stored with the term.
TEST(EdgeDisplay, ATermBegunShowsNoTotalsUntilAnInstallmentIsConfirmed) {
    Session s;
    const std::string installments_before = s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET")[0][0];
    FRMCO_CONDPAG& w = s.open();
    auto totals = [&w] { return w.TXT_TOTIMP.text() + "|" + w.TXT_TOTIVA.text(); };
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo") && w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(totals(), "|");
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("45") && w.TXT_CODICE.user_type("VUOTA"));
    w.TXT_CODICE.user_key(kKeyTab);
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Vuota") && w.GRIDNAV_RATE.user_click("Annulla"));
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 0);
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
    EXPECT_EQ(s.term("CG63", "CG63_PROG, CG63_GGDECOR, CG63_PERCIMP", "VUOTA"),
              (Rows{{"1", "60", "100"}}));
    EXPECT_EQ(s.query("SELECT COUNT(*) - " + installments_before + " FROM CG63_CONDPAGDET"),
              (Rows{{"1"}}));
    EXPECT_EQ(s.term("CG6B", "COUNT(*)", "VUOTA"), (Rows{{"0"}}));
}

// After a save each list shows its rows again from the first, or, emptied, waits in insert
// status for a new first row.
TEST(DetailLists, AfterASaveEachListShowsItsFirstRowOrWaitsForANewOne) {
    using Change = bool (*)(FRMCO_CONDPAG&);
    struct Case {
        const char* term;
        int list;           // installments, shift periods, languages
        Change change;      // none: the list's first row deleted
        const char* shown;  // the list's key box after the save; "" for an emptied list
    };
    const Case cases[] = {
        {"MAV30", 0, nullptr, ""},
        {"RB30FM", 1, nullptr, ""},
        {"RD", 2, nullptr, ""},
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
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.term) + " " + std::to_string(c.list));
        Session s;
        FRMCO_CONDPAG& w = s.open();
        ASSERT_TRUE(s.go_to(c.term));
        const std::string count =
            term_sql(std::array{"CG63", "CG65", "CG6B"}[c.list], "COUNT(*)", c.term);
        const int before = std::stoi(s.query(count)[0][0]);
        Grid* grids[] = {&w.GRID_CONDPAG, &w.GRID_PERSLIT, &w.GRID_LINGUA};
        GridNavigator* navigators[] = {&w.GRIDNAV_RATE, &w.GRIDNAV_PERIODI, &w.GRIDNAVL};
        ASSERT_TRUE(c.change ? c.change(w)
                             : grids[c.list]->user_select_row(0) &&
                                   navigators[c.list]->user_click("Elimina"))
            << s.all_messages();
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
