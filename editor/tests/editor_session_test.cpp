// Whole sessions at the editor on a fresh demo database, driven through its controls as a person
// drives them; what the window stored is read back row by row.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "editor/tests/session.h"
#include "storage/demo_data.h"

namespace condpag {
namespace {

TEST(EditorSession, AddingAnInstallmentToAStoredTermIsSavedWithItsDescription) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_TRUE(s.go_to("RB3060") && w.CHK_DESAUTOM.user_check(true));
    EXPECT_FALSE(w.TXT_DESCRIZIONE.enabled());

    // The second installment drops to 25 % at 45 days; "Nuovo" confirms it, and the third one
    // follows it a month later.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(1) && w.TXT_IMP.user_type("25") &&
                w.TXT_IVA.user_type("25") && w.TXT_GGDECOR.user_type("45"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo")) << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "75");
    EXPECT_EQ(w.focus(), &w.CMB_TIPO);
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.focus(), &w.GRID_CONDPAG);
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");

    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.term("CG63", "CG63_PROG, CG63_GGDECOR, CG63_PERCIMP, CG63_PERCIVA", "RB3060"),
              (Rows{{"1", "30", "50", "50"}, {"2", "45", "25", "25"}, {"3", "75", "25", "25"}}));
    EXPECT_EQ(s.term("CG62", "CG62_DESCPAG, CG62_FLGDESC", "RB3060"),
              (Rows{{"Num.1 Rb (50%/50%) 30GG-FM + Num.2 R ...", "1"}}));

    // Deleting the second of three renumbers the rest and describes them again.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(1) && w.GRIDNAV_RATE.user_click("Elimina"));
    EXPECT_EQ(w.focus(), &w.GRID_CONDPAG);
    ASSERT_EQ(w.GRID_CONDPAG.row_count(), 2);
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(1, "CG63_PROG") + " " +
                  w.GRID_CONDPAG.cell_text(1, "CG63_GGDECOR"),
              "2 75");
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.1 Rb (50%/50%) 30GG-FM + Num.1 R ...");
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(0) && w.GRIDNAV_RATE.user_click("Elimina"));
    ASSERT_EQ(w.GRID_CONDPAG.row_count(), 1);
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_PROG"), "1");
}

TEST(EditorSession, ANewTermsInstallmentsNeedTheirDaysAndMayNotPass100) {
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RB3060");
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo") && w.TXT_CODICE.user_type("new3  ") &&
                w.TXT_DESCRIZIONE.user_type("Tre rate"));
    EXPECT_EQ(w.TXT_CODICE.text(), "NEW3");

    // The first installment needs its days.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo") && w.TXT_IMP.user_type("30") &&
                w.TXT_IVA.user_type("30"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "Rata non corretta");
    EXPECT_EQ(w.focus(), &w.TXT_GGDECOR);
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("30") && w.GRIDNAV_RATE.user_click("Conferma"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo") && w.GRIDNAV_RATE.user_click("Conferma"));
    }
    EXPECT_EQ(w.TXT_TOTIMP.text(), "90");

    // A fourth of 20 % would pass 100.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo") && w.TXT_IMP.user_type("20"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "La somma degli imponibili non puo' essere maggiore del 100%");
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Annulla"));
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 3);
}

// Undo drops header and detail edits alike. The host toolbar drives the header frame itself; it
// offers "Salva" by the header's status, so detail rows changed alone are saved from it.
TEST(EditorSession, UndoDropsEveryEditAndDetailRowsChangedAloneAreSavedFromTheHostToolbar) {
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RB3060");
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Cambiata") && s.edit_installment(0, "40") &&
                s.add_language("ENG", "Bank receipts"));
    ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Ri.Ba. 30-60 gg d.f.f.m.");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "30");
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 0);

    EXPECT_EQ(s.navigator.statuses.back(), FrameStatus::View);
    ASSERT_TRUE(s.edit_installment(0, "45")) << s.last_message();
    EXPECT_EQ(s.navigator.statuses.back(), FrameStatus::Change);
    ASSERT_TRUE(s.host.ActiveFrame()->Save()) << s.last_message();
    EXPECT_EQ(s.navigator.statuses.back(), FrameStatus::View);
    ASSERT_TRUE(s.go_to("RD") && s.add_language("DEU", "Bar")) << s.last_message();
    EXPECT_EQ(s.navigator.statuses.back(), FrameStatus::Change);
    ASSERT_TRUE(s.host.ActiveFrame()->Save()) << s.last_message();
    EXPECT_EQ(s.term("CG62", "CG62_DESCPAG", "RB3060"), (Rows{{"Ri.Ba. 30-60 gg d.f.f.m."}}));
    EXPECT_EQ(s.term("CG63", "CG63_GGDECOR", "RB3060"), (Rows{{"45"}, {"60"}}));
    EXPECT_EQ(s.query("SELECT CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR FROM "
                      "CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 IN ('RD', 'RB3060') ORDER BY "
                      "CG6B_CODICE_CG62, CG6B_LINGUA_MG52"),
              (Rows{{"RD", "DEU", "Bar"}, {"RD", "ENG", "Cash on invoice"}}));
    EXPECT_EQ(w.FME_CONDPAGDES.Status(), FrameStatus::View);
}

TEST(EditorSession, ShiftPeriodsAndLanguagesAreCheckedSavedAndShownAgain) {
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RB30FM");
    // A period upside down is refused on its lower limit.
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo"));
    EXPECT_EQ(w.focus(), &w.TXT_PERSLITDAGGMM);
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/04") && w.TXT_PERSLITAGGMM.user_type("01/03"));
    EXPECT_FALSE(w.GRIDNAV_PERIODI.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "Periodo di slittamento non corretto");
    EXPECT_EQ(w.focus(), &w.TXT_PERSLITDAGGMM);
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/12") && w.TXT_PERSLITAGGMM.user_type("31/12") &&
                w.CMB_TIPOSLIT.user_pick_value(3) && w.TXT_PERSLITGGMMSCAD.user_type("10/01"));
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.focus(), &w.GRID_PERSLIT);

    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    EXPECT_EQ(w.focus(), &w.TXT_CODLINGUA);
    ASSERT_TRUE(w.TXT_CODLINGUA.user_type("ENG") &&
                w.TXT_DESCRLINGUA.user_type("Bank receipt 30 days EOM") &&
                w.TXT_DESCRANALLINGUA.user_type("End of month"));
    EXPECT_EQ(w.TXT_DCODLINGUA.text(), "Inglese");
    ASSERT_TRUE(w.GRIDNAVL.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.focus(), &w.GRID_LINGUA);
    ASSERT_TRUE(s.save()) << s.last_message();

    EXPECT_EQ(
        s.term("CG65", "CG65_DAMMGG, CG65_AMMGG, CG65_INDTIPOSLIT, CG65_GGMMFIXSLIT", "RB30FM"),
        (Rows{{"801", "831", "1", ""}, {"1201", "1231", "3", "110"}}));
    EXPECT_EQ(s.term("CG6B", "CG6B_LINGUA_MG52, CG6B_DESCR, CG6B_DESCRANAL", "RB30FM"),
              (Rows{{"ENG", "Bank receipt 30 days EOM", "End of month"}}));
    ASSERT_TRUE(s.go_to("RD") && s.go_to("RB30FM"));
    ASSERT_EQ(w.GRID_PERSLIT.row_count(), 2);
    std::string shown;
    for (const char* column : {"CG65_DAMMGG", "CG65_GGMMFIXSLIT", "CG65_INDTIPOSLIT"}) {
        shown += w.GRID_PERSLIT.cell_text(1, column) + "|";
    }
    EXPECT_EQ(shown, "01/12|10/01|Stesso giorno scadenza al mese successivo|");
}

// A stored term with a fixed due day/month: its values are shown in their formats, and a
// malformed day/month typed over it is refused at confirmation, its mark going with it.
TEST(EditorSession, StoredValuesAreShownInTheirFormatsAndAMalformedDayMonthIsRefused) {
    Session s;
    s.run(
        {"INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG, CG62_SCART26) VALUES "
         "('FIX', 'Data fissa', 1234.5)",
         "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_TIPOEFF, "
         "CG63_INDTIPODECOR, CG63_INDDATARIF, CG63_PERCIMP, CG63_PERCIVA, CG63_INDIMPFIX, "
         "CG63_IMPORFIX, CG63_GGMMFIX) VALUES ('FIX', 1, 5, 3, 6, 100, 100, 7, 50, 630)"});
    FRMCO_CONDPAG& w = s.open_on("RD");
    EXPECT_EQ(w.TXT_SCART26.text(), "0,00");
    EXPECT_EQ(w.TXT_SC1.text(), "0,00");  // a discount, "##0.00"
    ASSERT_TRUE(s.go_to("FIX"));
    EXPECT_EQ(w.TXT_SCART26.text(), "1.234,50");
    EXPECT_EQ(w.TXT_IMPFIX.text(), "50,00");
    std::string shown;
    for (const char* column : {"TIPOEFF", "GGMMFIX", "INDTIPODECOR", "INDDATARIF", "INDIMPFIX",
                               "IMPORFIX", "PERCIMP", "FLGFRPERCIMP"}) {
        shown += w.GRID_CONDPAG.cell_text(0, std::string("CG63_") + column) + "|";
    }
    EXPECT_EQ(shown, "Ces|30/06|Data fissa|Da rich. nel doc.|7|50,00|100|Percentuale|");
    EXPECT_EQ(w.TXT_GGMMFIX.text(), "30/06");

    const std::string stored_row = term_sql("CG63", "CG63_INDTIPOCALEND, CG63_GGMMFIX", "FIX");
    for (const char* typed : {"31/04", "ab", "1/3", "15085", "31125"}) {
        SCOPED_TRACE(typed);
        ASSERT_TRUE(s.go_to("FIX"));
        // Confirmed straight from the record navigator, the focus still in the box.
        ASSERT_TRUE(w.TXT_GGMMFIX.user_type(typed));
        EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
        EXPECT_EQ(w.focus(), &w.TXT_GGMMFIX);
        EXPECT_EQ(s.query(stored_row), (Rows{{"0", "630"}}));
        // Left first, and confirmed from the grid navigator.
        ASSERT_TRUE(w.user_focus(&w.CMB_CALENDARIO));
        EXPECT_FALSE(w.TXT_GGMMFIX.valid());
        EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
        // Undone, the stored value is shown again and goes through as it is.
        ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
        EXPECT_EQ(w.TXT_GGMMFIX.text(), "30/06");
        ASSERT_TRUE(w.CMB_CALENDARIO.user_pick_value(1) && s.save()) << s.last_message();
        EXPECT_EQ(s.query(stored_row), (Rows{{"1", "630"}}));
        ASSERT_TRUE(w.CMB_CALENDARIO.user_pick_value(0) && s.save()) << s.last_message();
    }
    // A mark left on one term does not follow the person to the next.
    ASSERT_TRUE(w.TXT_GGMMFIX.user_type("31/02") && w.user_focus(&w.CMB_CALENDARIO));
    s.messages.answers = {Answer::No};  // leave the change behind
    ASSERT_TRUE(s.go_to("RD") && s.go_to("FIX"));
    EXPECT_TRUE(w.TXT_GGMMFIX.valid());
    // An amount typed the Italian way is stored as the number it reads as.
    ASSERT_TRUE(w.TXT_GGMMFIX.user_type("15/08") && w.TXT_SCART26.user_type("2.000,5") && s.save())
        << s.last_message();
    EXPECT_EQ(s.query(stored_row), (Rows{{"0", "815"}}));
    EXPECT_EQ(s.term("CG62", "CG62_SCART26", "FIX"), (Rows{{"2000.5"}}));
    EXPECT_EQ(w.TXT_SCART26.text(), "2.000,50");
}

TEST(EditorSession, SharesInThirdsAndSmallPercentagesAreStoredAndReadBack) {
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RB369");  // three installments of 1/3
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    EXPECT_FALSE(w.TotaliCompleti());  // not exactly 100 before normalising
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(2) && w.GRIDNAV_RATE.user_click("Elimina") &&
                w.GRID_CONDPAG.user_select_row(1) && w.TXT_NUMIMP.user_type("2") &&
                w.TXT_NUMIVA.user_type("2"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    ASSERT_TRUE(s.save()) << s.last_message();
    EXPECT_EQ(s.term("CG63", "CG63_PROG, CG63_EL1FRIMP, CG63_EL2FRIMP", "RB369"),
              (Rows{{"1", "1", "3"}, {"2", "2", "3"}}));

    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo") && w.TXT_CODICE.user_type("PICCO") &&
                w.CHK_DESAUTOM.user_check(true));
    ASSERT_TRUE(s.add_installment("30", "0.0001") && s.add_installment("30", "99.9999"))
        << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.1 Rd (0,000%/0,000%) 30GG-DF + N ...");
    // The first installment is changed again: its share reads back.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(0));
    EXPECT_EQ(w.TXT_IMP.text(), "0,0001");
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("20") && w.GRIDNAV_RATE.user_click("Conferma") && s.save())
        << s.last_message();
    EXPECT_EQ(s.term("CG63", "CG63_GGDECOR, CG63_PERCIMP", "PICCO"),
              (Rows{{"20", "0.0001"}, {"30", "99.9999"}}));
}

// Where a person starts: the host's mode, or the code a calling program hands over (trimmed on
// the right only); a term shown keeps its code box locked and shows its installments, and the
// calling program gets it back.
TEST(EditorSession, TheWindowStartsWhereTheHostAsks) {
    struct Case {
        int mode;
        bool called;
        const char *handed, *code;
        FrameStatus status;
        long rows;  // installments shown
    };
    for (const Case& c : {Case{0, false, "", "RD", FrameStatus::View, 1},
                          Case{1, false, "", "", FrameStatus::Search, 0},
                          Case{2, false, "", "", FrameStatus::Insert, 0},
                          Case{7, false, "", "RD", FrameStatus::View, 1},
                          Case{1, true, "RD30  ", "RD30", FrameStatus::View, 1},
                          Case{0, true, " RD30 ", " RD30", FrameStatus::Insert, 0},
                          Case{0, true, "   ", "", FrameStatus::Insert, 0}}) {
        SCOPED_TRACE(std::to_string(c.mode) + " '" + c.handed + "'");
        Session s;
        s.host.SetProgramMode(c.mode);
        s.host.SetIsCalled(c.called);
        s.host.SetWindowModal(c.called);
        s.host.SetPlace(c.mode * 300, 0);
        FRMCO_CONDPAG& w = s.open(c.handed);
        EXPECT_EQ(w.FME_CONDPAGDES.Status(), c.status);
        EXPECT_EQ(w.TXT_CODICE.text(), c.code);
        EXPECT_EQ(w.GRID_CONDPAG.row_count(), c.rows);
        const bool open = c.status != FrameStatus::View;
        EXPECT_EQ(w.TXT_CODICE.enabled(), open);
        EXPECT_EQ(w.focus(), open ? static_cast<Control*>(&w.TXT_CODICE) : &w.CHK_DESAUTOM);
        const bool tabs = c.status == FrameStatus::View || *c.code != '\0';
        for (bool on :
             {w.TabCondPag.enabled(), w.CMD_GENERA.enabled(), w.INTERNAV.ButtonEnabled("Avanti")}) {
            EXPECT_EQ(on, tabs);
        }
        EXPECT_FALSE(w.INTERNAV.ButtonEnabled("Indietro"));
        EXPECT_TRUE(s.messages.shown.empty()) << s.all_messages();
        // Only the language list exports and prints; it exports only to a calling program.
        for (const GridNavigator* list : {&w.GRIDNAV_RATE, &w.GRIDNAV_PERIODI, &w.GRIDNAVL}) {
            for (const NavigatorButton& b : list->buttons()) {
                if (b.key != "Esporta" && b.key != "Stampa") continue;
                EXPECT_EQ(b.visible, list == &w.GRIDNAVL && (c.called || b.key == "Stampa"))
                    << list->name() << " " << b.key;
            }
        }
        // A modal window places itself where the host says, 200 twips in when it says nothing.
        const int left = c.called ? (c.mode == 0 ? 200 : c.mode * 300) : 0;
        EXPECT_EQ(std::vector({w.WindowLeft, w.WindowTop, w.WindowWidth, w.WindowHeight}),
                  c.called ? std::vector({left, 200, 11820, 7035}) : std::vector({0, 0, 0, 0}));
        // The calling program gets the term shown back, and the window closes.
        if (!c.called || c.status != FrameStatus::View) continue;
        ASSERT_TRUE(w.INTERNAV.user_click("Esporta"));
        EXPECT_EQ(s.host.transfers, std::vector<std::vector<Value>>{{Value(c.code)}});
        EXPECT_TRUE(w.unloaded() && w.close_requested());
    }
}

TEST(EditorSession, TheWindowRegistersOnEveryActivation) {
    Session s(2);
    s.host.SetProgramMode(1);
    FRMCO_CONDPAG& w = s.open();
    EXPECT_EQ(s.global.ActiveInterface(), &s.host);

    // A second activation registers again and changes nothing else.
    size_t statuses = s.navigator.statuses.size();
    w.Form_Activate();
    EXPECT_GT(s.navigator.statuses.size(), statuses);
    EXPECT_EQ(std::count_if(w.INTERNAV.buttons().begin(), w.INTERNAV.buttons().end(),
                            [](const NavigatorButton& b) { return b.key == "CMD_STAMPA"; }),
              1);
    std::map<Control*, int> registered;
    for (const LayoutEntry& entry : w.LAY_CONDPAG.registered()) ++registered[entry.control];
    EXPECT_EQ(registered.size(), w.LAY_CONDPAG.registered().size());  // each control once

    // Tabs: the focus follows the tab shown.
    ASSERT_TRUE(s.go_to("RB3060"));
    for (const Control* expected :
         std::initializer_list<const Control*>{&w.TXT_DESCANAL, &w.CMB_TIPOSLIT, &w.GRID_LINGUA}) {
        ASSERT_TRUE(w.INTERNAV.user_click("Avanti"));
        EXPECT_EQ(w.focus()->name(), expected->name());
    }
    // Back on a tab whose list has a row begun, the focus goes to the row's first box.
    for (auto [list, first] : {std::pair<GridNavigator*, Control*>{&w.GRIDNAVL, &w.TXT_CODLINGUA},
                               {&w.GRIDNAV_PERIODI, &w.TXT_PERSLITDAGGMM}}) {
        ASSERT_TRUE(list->user_click("Nuovo") && w.INTERNAV.user_click("Indietro") &&
                    w.INTERNAV.user_click("Avanti"));
        EXPECT_EQ(w.focus(), first);
        w.Form_DblClick();
        EXPECT_EQ(s.last_message(), "Inserimento");  // a language row is begun
        ASSERT_TRUE(w.INTERNAV.user_click("Indietro"));
    }
    // A new term from the host's toolbar starts on the first tab, at its code.
    ASSERT_TRUE(s.host.ActiveFrame()->New());
    EXPECT_EQ(w.TabCondPag.tab(), 0);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
}

}  // namespace
}  // namespace condpag
