// Whole user sessions on the headless editor against a fresh demo database; what the window
// stored is read back through a connection of its own.

#include <gtest/gtest.h>

#include "editor/tests/session.h"
#include "storage/demo_data.h"

namespace condpag {
namespace {

// Types one installment's days and shares and confirms it.
bool enter_installment(FRMCO_CONDPAG& w, const std::string& days, const std::string& share) {
    return w.GRIDNAV_RATE.user_click("Nuovo") && w.TXT_GGDECOR.user_type(days) &&
           w.TXT_IMP.user_type(share) && w.TXT_IVA.user_type(share) &&
           w.GRIDNAV_RATE.user_click("Conferma");
}

TEST(EditorSession, AddingAnInstallmentToAStoredTermIsSavedWithItsDescription) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    EXPECT_EQ(s.events.calls.size(), 1u);  // qxOpen
    s.go_to("RB3060");
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 2);
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    ASSERT_TRUE(w.CHK_DESAUTOM.user_check(true));
    EXPECT_FALSE(w.TXT_DESCRIZIONE.enabled());

    // The second installment drops to 25 %, then a third one follows it a month later.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(1));
    ASSERT_TRUE(w.TXT_IMP.user_type("25"));
    ASSERT_TRUE(w.TXT_IVA.user_type("25"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "75");
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.TXT_NUMRATA.text(), "3");
    EXPECT_EQ(w.TXT_GGDECOR.text(), "90");
    EXPECT_EQ(w.TXT_IMP.text(), "25");
    EXPECT_EQ(w.CMB_TIPO.text(), "2");
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.1 Rb (50%/50%) 30GG-FM + Num.2 R ...");

    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_PROG, CG63_GGDECOR, CG63_PERCIMP, CG63_PERCIVA FROM "
                      "CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RB3060' ORDER BY CG63_PROG"),
              (Rows{{"1", "30", "50", "50"}, {"2", "60", "25", "25"}, {"3", "90", "25", "25"}}));
    EXPECT_EQ(s.query("SELECT CG62_DESCPAG, CG62_FLGDESC FROM CG62_CONDPAGDES WHERE "
                      "CG62_CODPAG = 'RB3060'"),
              (Rows{{"Num.1 Rb (50%/50%) 30GG-FM + Num.2 R ...", "1"}}));
}

TEST(EditorSession, ANewTermWhoseSharesDoNotReach100IsRefusedAndNothingIsWritten) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    EXPECT_FALSE(w.TabCondPag.enabled());  // no code yet
    ASSERT_TRUE(w.TXT_CODICE.user_type("new3  "));
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Tre rate"));
    EXPECT_EQ(w.TXT_CODICE.text(), "NEW3");
    EXPECT_TRUE(w.TabCondPag.enabled());

    // The first installment needs its days; the next ones copy it, 30 days later each.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.TXT_NUMRATA.text(), "1");
    EXPECT_EQ(w.CMB_TIPO.text(), "13");
    ASSERT_TRUE(w.TXT_IMP.user_type("30"));
    ASSERT_TRUE(w.TXT_IVA.user_type("30"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "Rata non corretta");
    EXPECT_EQ(w.focus(), &w.TXT_GGDECOR);
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma"));
    for (const char* days : {"60", "90"}) {
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
        EXPECT_EQ(w.TXT_GGDECOR.text(), days);
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma"));
    }
    EXPECT_EQ(w.TXT_TOTIMP.text(), "90");

    // A fourth of 20 % would pass 100.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_IMP.user_type("20"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "La somma degli imponibili non puo' essere maggiore del 100%");
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Annulla"));

    EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "Somma delle percentuali di imponibile diversa da 100");
    EXPECT_EQ(w.focus(), &w.TXT_IMP);
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'NEW3'"),
              (Rows{{"0"}}));
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'NEW3'"),
              (Rows{{"0"}}));
}

TEST(EditorSession, UndoDropsHeaderAndDetailEditsAndShowsWhatIsStored) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RB3060");
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Cambiata"));
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(0));
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("45"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma"));
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODLINGUA.user_type("ENG"));
    ASSERT_TRUE(w.TXT_DESCRLINGUA.user_type("Bank receipts"));
    ASSERT_TRUE(w.GRIDNAVL.user_click("Conferma"));
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 1);

    ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Ri.Ba. 30-60 gg d.f.f.m.");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "30");
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 0);
    EXPECT_EQ(s.query("SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = "
                      "'RB3060' ORDER BY CG63_PROG"),
              (Rows{{"30"}, {"60"}}));
}

TEST(EditorSession, DeletionIsRefusedForATermInUseAndCleansEveryTableOtherwise) {
    Session s;
    {
        auto connection = s.db.connect();
        ASSERT_TRUE(connection.ok());
        ASSERT_TRUE(insert_rows(
            *connection, "CG65_PAGSLITANAL",
            {"CG65_CODPAG_CG62", "CG65_DAMMGG", "CG65_AMMGG", "CG65_INDTIPOSLIT", "CG65_GGSLSUCC"},
            {{"RD", 801, 831, 1, 0}}));
    }
    FRMCO_CONDPAG& w = s.open();
    s.go_to("BB30");
    EXPECT_FALSE(w.INTERNAV.user_click("Elimina"));
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ(s.messages.shown.back().title, "Eliminazione impossibile");
    EXPECT_EQ(s.messages.shown.back().style, 16);
    EXPECT_EQ(s.last_message(),
              "La condizione di pagamento risulta utilizzata in Anagrafica clienti.\r\n"
              "Controllare il cliente 1002 Ferramenta Bianchi S.p.A..");
    EXPECT_EQ(w.TXT_CODICE.text(), "BB30");
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'BB30'"),
              (Rows{{"1"}}));

    s.go_to("RD");
    EXPECT_EQ(w.GRID_PERSLIT.row_count(), 1);
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 1);
    ASSERT_TRUE(w.INTERNAV.user_click("Elimina")) << s.last_message();
    EXPECT_NE(w.TXT_CODICE.text(), "RD");
    for (const char* sql :
         {"SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'RD'",
          "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RD'",
          "SELECT COUNT(*) FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = 'RD'",
          "SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = 'RD'"}) {
        EXPECT_EQ(s.query(sql), (Rows{{"0"}})) << sql;
    }
}

TEST(EditorSession, ACodeWithAQuoteIsSavedReloadedAndDeleted) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODICE.user_type("A'B"));
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Con apice"));
    ASSERT_TRUE(enter_installment(w, "0", "100")) << s.last_message();
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_CODPAG_CG62, CG63_PROG FROM CG63_CONDPAGDET WHERE "
                      "CG63_CODPAG_CG62 = 'A''B'"),
              (Rows{{"A'B", "1"}}));

    s.go_to("RD");
    s.go_to("A'B");
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 1);
    ASSERT_TRUE(w.INTERNAV.user_click("Elimina")) << s.last_message();
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'A''B'"),
              (Rows{{"0"}}));
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'A''B'"),
              (Rows{{"0"}}));
}

TEST(EditorSession, ShiftPeriodsAndLanguagesAreCheckedSavedAndShownAgain) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RB30FM");
    EXPECT_FALSE(w.TXT_PERSLITDAGGMM.enabled());  // a stored period keeps its limits

    // A period upside down is refused on its lower limit.
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo"));
    EXPECT_TRUE(w.TXT_PERSLITDAGGMM.enabled());
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/04"));
    ASSERT_TRUE(w.TXT_PERSLITAGGMM.user_type("01/03"));
    EXPECT_FALSE(w.GRIDNAV_PERIODI.user_click("Conferma"));
    EXPECT_EQ(s.last_message(), "Periodo di slittamento non corretto");
    EXPECT_EQ(w.focus(), &w.TXT_PERSLITDAGGMM);
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("31/02"));
    ASSERT_TRUE(w.TXT_PERSLITAGGMM.user_type("31/12"));
    EXPECT_FALSE(w.TXT_PERSLITDAGGMM.valid());
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/12"));
    ASSERT_TRUE(w.CMB_TIPOSLIT.user_pick_value(3));
    EXPECT_TRUE(w.TXT_PERSLITGGMMSCAD.enabled());
    EXPECT_FALSE(w.TXT_PERSLITSLIT.enabled());
    ASSERT_TRUE(w.TXT_PERSLITGGMMSCAD.user_type("10/01"));
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Conferma")) << s.last_message();

    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODLINGUA.user_type("ENG"));
    ASSERT_TRUE(w.TXT_DESCRLINGUA.user_type("Bank receipt 30 days EOM"));
    EXPECT_EQ(w.TXT_DCODLINGUA.text(), "Inglese");
    ASSERT_TRUE(w.GRIDNAVL.user_click("Conferma")) << s.last_message();
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();

    // A language the term already has shows the stored row instead of a second one.
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODLINGUA.user_type("ENG"));
    ASSERT_TRUE(w.user_focus(&w.TXT_DESCRLINGUA));
    EXPECT_EQ(w.FME_LINGUA.Status(), 0);
    EXPECT_EQ(w.TXT_DESCRLINGUA.text(), "Bank receipt 30 days EOM");
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 1);

    EXPECT_EQ(s.query("SELECT CG65_DAMMGG, CG65_AMMGG, CG65_INDTIPOSLIT, CG65_GGMMFIXSLIT FROM "
                      "CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = 'RB30FM' ORDER BY CG65_DAMMGG"),
              (Rows{{"801", "831", "1", ""}, {"1201", "1231", "3", "110"}}));
    EXPECT_EQ(s.query("SELECT CG6B_LINGUA_MG52, CG6B_DESCR FROM CG6B_CONDPAGLING WHERE "
                      "CG6B_CODICE_CG62 = 'RB30FM'"),
              (Rows{{"ENG", "Bank receipt 30 days EOM"}}));

    s.go_to("RD");
    s.go_to("RB30FM");
    ASSERT_EQ(w.GRID_PERSLIT.row_count(), 2);
    EXPECT_EQ(w.GRID_PERSLIT.cell_text(1, "CG65_DAMMGG"), "01/12");
    EXPECT_EQ(w.GRID_PERSLIT.cell_text(1, "CG65_GGMMFIXSLIT"), "10/01");
    EXPECT_EQ(w.GRID_PERSLIT.cell_text(1, "CG65_INDTIPOSLIT"),
              "Stesso giorno scadenza al mese successivo");
}

TEST(EditorSession, GridsDecodeStoredCodesAndDayMonthFieldsStoreWhatIsTyped) {
    Session s;
    {
        auto connection = s.db.connect();
        ASSERT_TRUE(connection.ok());
        ASSERT_TRUE(insert_rows(*connection, "CG62_CONDPAGDES",
                                {"CG62_CODPAG", "CG62_DESCPAG", "CG62_FLGDESC"},
                                {{"FIX", "Data fissa", 0}}));
        ASSERT_TRUE(
            insert_rows(*connection, "CG63_CONDPAGDET",
                        {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_INDTIPODECOR",
                         "CG63_INDDATARIF", "CG63_FLGFRPERCIMP", "CG63_PERCIMP",
                         "CG63_FLGFRPERCIVA", "CG63_PERCIVA", "CG63_INDIMPFIX", "CG63_GGMMFIX"},
                        {{"FIX", 1, 2, 3, 6, 1, 100, 1, 100, 7, 630}}));
    }
    FRMCO_CONDPAG& w = s.open();
    s.go_to("FIX");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_TIPOEFF"), "Rb");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_GGMMFIX"), "30/06");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_INDTIPODECOR"), "Data fissa");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_INDDATARIF"), "Da rich. nel doc.");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(0, "CG63_INDIMPFIX"), "7");
    EXPECT_EQ(w.TXT_GGMMFIX.text(), "30/06");
    EXPECT_TRUE(w.TXT_GGMMFIX.enabled());
    EXPECT_FALSE(w.TXT_GGDECOR.enabled());

    // A day/month that does not exist is marked and keeps the installment from being confirmed.
    ASSERT_TRUE(w.TXT_GGMMFIX.user_type("31/02"));
    ASSERT_TRUE(w.user_focus(&w.CMB_CALENDARIO));
    EXPECT_FALSE(w.TXT_GGMMFIX.valid());
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(w.focus(), &w.TXT_GGMMFIX);
    EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
    EXPECT_EQ(s.query("SELECT CG63_GGMMFIX FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'FIX'"),
              (Rows{{"630"}}));

    ASSERT_TRUE(w.TXT_GGMMFIX.user_type("15/08"));
    ASSERT_TRUE(w.user_focus(&w.CMB_CALENDARIO));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_GGMMFIX FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'FIX'"),
              (Rows{{"815"}}));
}

TEST(EditorSession, SingleInstallmentProfilesShowTermsWithSeveralInstallmentsReadOnly) {
    for (int profile : {0, 1, 4}) {
        SCOPED_TRACE(profile);
        Session s(profile);
        FRMCO_CONDPAG& w = s.open();
        bool single = profile != 0;
        EXPECT_EQ(w.CMD_GENERA.visible(), !single);
        s.go_to("RB3060");
        EXPECT_EQ(w.FME_CONDPAGDES.ReadOnly(), single);
        EXPECT_EQ(w.FME_DETTAGLIO.ReadOnly(), single);
        EXPECT_EQ(w.GRIDNAV_RATE.enabled(), !single);
        s.go_to("RD30");
        EXPECT_FALSE(w.FME_DETTAGLIO.ReadOnly());
        EXPECT_TRUE(w.GRIDNAV_RATE.enabled());
        EXPECT_EQ(w.GRIDNAV_RATE.ButtonEnabled("Nuovo"), !single);
        EXPECT_EQ(w.GRIDNAV_RATE.user_click("Nuovo"), !single);
    }
}

}  // namespace
}  // namespace condpag
