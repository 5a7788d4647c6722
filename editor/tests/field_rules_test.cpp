// The rules a person sees while editing, one test per family, one row per rule: what a pick
// empties, what a new installment copies, what each profile shows, the keyboard flows and the
// key checks of the lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editor/tests/session.h"
#include "storage/demo_data.h"

namespace condpag {
namespace {

// An installment whose every optional column holds a value, so that a pick shows what it empties.
void store_full_installment(Session& s) {
    auto connection = s.db.connect();
    ASSERT_TRUE(connection.ok());
    ASSERT_TRUE(insert_rows(*connection, "CG62_CONDPAGDES", {"CG62_CODPAG", "CG62_DESCPAG"},
                            {{"PIENA", "Tutto pieno"}}));
    ASSERT_TRUE(insert_rows(
        *connection, "CG63_CONDPAGDET",
        {"CG63_CODPAG_CG62",  "CG63_PROG",         "CG63_TIPOEFF",    "CG63_STIPOEFF",
         "CG63_INDTIPODECOR", "CG63_GGDECOR",      "CG63_INDDATARIF", "CG63_INDTIPOCALEND",
         "CG63_GGMMFIX",      "CG63_FLGFRPERCIMP", "CG63_PERCIMP",    "CG63_EL1FRIMP",
         "CG63_EL2FRIMP",     "CG63_FLGFRPERCIVA", "CG63_PERCIVA",    "CG63_EL1FRIVA",
         "CG63_EL2FRIVA",     "CG63_INDIMPFIX",    "CG63_IMPORFIX",   "CG63_DAGGFIX1",
         "CG63_AGGFIX1",      "CG63_GGSCADFIX1",   "CG63_DAGGFIX2",   "CG63_AGGFIX2",
         "CG63_GGSCADFIX2"},
        {{"PIENA", 1,   13, 1, 4, 30, 0, 0,  815, 1,  100, 1, 1,
          1,       100, 1,  1, 1, 50, 1, 15, 20,  16, 31,  5}}));
}

TEST(FieldRules, APickEmptiesWhatNoLongerAppliesAndNothingElse) {
    struct Case {
        ComboBox FRMCO_CONDPAG::*list;
        int picked;
        std::vector<const char*> emptied;
    };
    const std::vector<const char*> all = {
        "CG63_STIPOEFF",   "CG63_GGDECOR",  "CG63_GGMMFIX",  "CG63_PERCIMP",
        "CG63_EL1FRIMP",   "CG63_EL2FRIMP", "CG63_PERCIVA",  "CG63_EL1FRIVA",
        "CG63_EL2FRIVA",   "CG63_IMPORFIX", "CG63_DAGGFIX1", "CG63_AGGFIX1",
        "CG63_GGSCADFIX1", "CG63_DAGGFIX2", "CG63_AGGFIX2",  "CG63_GGSCADFIX2"};
    const std::vector<const char*> intervals = {"CG63_DAGGFIX1", "CG63_AGGFIX1", "CG63_GGSCADFIX1",
                                                "CG63_DAGGFIX2", "CG63_AGGFIX2", "CG63_GGSCADFIX2"};
    auto plus = [](std::vector<const char*> v, std::vector<const char*> more) {
        v.insert(v.end(), more.begin(), more.end());
        return v;
    };
    const Case cases[] = {
        {&FRMCO_CONDPAG::CMB_TIPODECORR, 1, plus(intervals, {"CG63_GGMMFIX"})},
        {&FRMCO_CONDPAG::CMB_TIPODECORR,
         2,
         {"CG63_DAGGFIX1", "CG63_AGGFIX1", "CG63_DAGGFIX2", "CG63_AGGFIX2", "CG63_GGSCADFIX2",
          "CG63_GGDECOR", "CG63_GGMMFIX"}},
        {&FRMCO_CONDPAG::CMB_TIPODECORR, 3, plus(intervals, {"CG63_GGDECOR"})},
        {&FRMCO_CONDPAG::CMB_TIPODECORR, 4, {"CG63_GGDECOR", "CG63_GGMMFIX"}},
        {&FRMCO_CONDPAG::CMB_FLGFRPERCIMP, 0, {"CG63_PERCIMP"}},
        {&FRMCO_CONDPAG::CMB_FLGFRPERCIMP, 1, {"CG63_EL1FRIMP", "CG63_EL2FRIMP"}},
        {&FRMCO_CONDPAG::CMB_FLGFRPERCIVA, 0, {"CG63_PERCIVA"}},
        {&FRMCO_CONDPAG::CMB_FLGFRPERCIVA, 1, {"CG63_EL1FRIVA", "CG63_EL2FRIVA"}},
        {&FRMCO_CONDPAG::CMB_TIPOIMPFIX, 0, {"CG63_IMPORFIX"}},
        {&FRMCO_CONDPAG::CMB_TIPOIMPFIX, 1, {}},
        {&FRMCO_CONDPAG::CMB_TIPOIMPFIX, 2, {"CG63_IMPORFIX"}},
        {&FRMCO_CONDPAG::CMB_TIPO, 1, {"CG63_STIPOEFF"}},
        {&FRMCO_CONDPAG::CMB_TIPO, 2, {"CG63_STIPOEFF"}},
        {&FRMCO_CONDPAG::CMB_TIPO, 10, {}},
        {&FRMCO_CONDPAG::CMB_TIPO, 99, {"CG63_STIPOEFF"}},
    };
    Session s;
    store_full_installment(s);
    FRMCO_CONDPAG& w = s.open();
    s.go_to("PIENA");
    for (const Case& c : cases) {
        ComboBox& list = w.*c.list;
        SCOPED_TRACE(list.name() + " " + std::to_string(c.picked));
        ASSERT_TRUE(list.user_pick_value(c.picked));
        for (const char* column : all) {
            bool emptied = std::find(c.emptied.begin(), c.emptied.end(),
                                     std::string_view(column)) != c.emptied.end();
            EXPECT_EQ(w.Grst_RecordSet_CG63.Field(column).is_null(), emptied) << column;
        }
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Annulla"));
    }
    // Only picks empty: the stored installment is shown whole, and stays so.
    EXPECT_EQ(s.query("SELECT CG63_GGDECOR, CG63_GGMMFIX, CG63_IMPORFIX, CG63_STIPOEFF FROM "
                      "CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'PIENA'"),
              (Rows{{"30", "815", "50", "1"}}));
}

TEST(FieldRules, ANewInstallmentCopiesTheLastOneAMonthLaterOnlyForTheMonthRule) {
    struct Case {
        int rule;
        const char* days_after;
    };
    for (const Case& c : {Case{1, "60"}, Case{2, ""}, Case{3, "30"}, Case{4, ""}}) {
        SCOPED_TRACE(c.rule);
        Session s;
        FRMCO_CONDPAG& w = s.open();
        ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
        ASSERT_TRUE(w.TXT_CODICE.user_type("COPIA"));
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
        ASSERT_TRUE(w.CMB_TIPODECORR.user_pick_value(c.rule));
        // Rule 3 keeps the days a stored installment had; typed before the pick they go.
        if (c.rule != 3) {
            ASSERT_TRUE(w.TXT_GGDECOR.user_type(c.rule == 1 ? "30" : ""));
        }
        if (c.rule == 3) {
            w.FME_DETTAGLIO.SetFieldEvents(false);
            w.Grst_RecordSet_CG63.SetField("CG63_GGDECOR", 30);
            w.FME_DETTAGLIO.SetFieldEvents(true);
            ASSERT_TRUE(w.TXT_GGMMFIX.user_type("15/08"));
        }
        if (c.rule == 2 || c.rule == 4) {
            ASSERT_TRUE(w.TXT_GGSCADFIX1.user_type("10"));
        }
        if (c.rule == 4) {
            ASSERT_TRUE(w.TXT_DAGGFIX1.user_type("1"));
            ASSERT_TRUE(w.TXT_AGGFIX1.user_type("31"));
        }
        ASSERT_TRUE(w.TXT_IMP.user_type("50"));
        ASSERT_TRUE(w.TXT_IVA.user_type("50"));
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
        EXPECT_EQ(w.CMB_TIPODECORR.text(), std::to_string(c.rule));
        EXPECT_EQ(w.TXT_GGDECOR.text(), c.days_after);
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
        ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
        Rows days = s.query(
            "SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'COPIA' ORDER BY "
            "CG63_PROG");
        ASSERT_EQ(days.size(), 2u);
        EXPECT_EQ(days[1][0], c.days_after);
    }
}

TEST(FieldRules, ProfilesDecideTheVatReversalBox) {
    for (int profile : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(profile);
        Session s(profile);
        FRMCO_CONDPAG& w = s.open();
        EXPECT_EQ(w.CHK_STORNOIVA.visible(), profile == 2);
        EXPECT_EQ(w.LBL_STORNOIVA.visible(), profile == 2);
    }
}

TEST(FieldRules, MessagesNameTheirProcedureAndClosingTellsTheHost) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    w.ShowMessage("Testo", 64, "Informazione", "ContaRate");
    EXPECT_EQ(s.last_message(), "Testo\rFunzione: ContaRate");
    bool cancel = true;
    w.Form_QueryUnload(cancel);
    EXPECT_FALSE(cancel);
    ASSERT_EQ(s.events.calls.size(), 2u);
    EXPECT_EQ(s.events.calls.back().open_flag, 0);  // qxClose
}

TEST(FieldRules, KeyboardFlowsOfTheListsSuggestTheNextButton) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RB369");
    // Installments: Enter in the fixed-amount list moves on and suggests, as Tab does.
    w.CMB_TIPOIMPFIX.user_key(kKeyEnter);
    EXPECT_EQ(w.focus(), &w.GRIDNAV_RATE);
    EXPECT_EQ(w.GRIDNAV_RATE.current_button(), "Conferma");
    // Shift periods: Tab out of the days of shift.
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo"));
    ASSERT_TRUE(w.user_focus(&w.TXT_PERSLITSLIT));
    w.TXT_PERSLITSLIT.user_key(kKeyTab);
    EXPECT_EQ(w.GRIDNAV_PERIODI.current_button(), "Nuovo");
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Annulla"));
    ASSERT_TRUE(w.GRID_PERSLIT.user_select_row(0));
    ASSERT_TRUE(w.user_focus(&w.TXT_PERSLITSLIT));
    w.TXT_PERSLITSLIT.user_key(kKeyTab);
    EXPECT_EQ(w.GRIDNAV_PERIODI.current_button(), "Conferma");
    // Languages: Enter in the analytic description of a new row.
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    int key = kKeyEnter;
    ASSERT_TRUE(w.user_focus(&w.TXT_DESCRANALLINGUA));
    w.TXT_DESCRANALLINGUA_KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(w.GRIDNAVL.current_button(), "Nuovo");
}

TEST(FieldRules, KeysOfStoredRowsStayAndNewOnesAreLookedUpAtOnce) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RD");  // one language
    EXPECT_FALSE(w.TXT_CODLINGUA.enabled());
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    EXPECT_TRUE(w.TXT_CODLINGUA.enabled());
    ASSERT_TRUE(w.GRIDNAVL.user_click("Annulla"));
    s.go_to("RB30FM");  // one period, 01/08-31/08
    EXPECT_FALSE(w.TXT_PERSLITDAGGMM.enabled());
    // A new period with stored limits shows the stored one when its limit is left.
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/08"));
    ASSERT_TRUE(w.TXT_PERSLITAGGMM.user_type("31/08"));
    ASSERT_TRUE(w.user_focus(&w.CMB_TIPOSLIT));
    EXPECT_EQ(w.FME_PERSLIT.Status(), kStatusView);
    EXPECT_EQ(w.GRID_PERSLIT.row_count(), 1);
    // No list takes rows while the term is searched.
    ASSERT_TRUE(w.INTERNAV.user_click("Cerca"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 0);
}

TEST(FieldRules, RowsEnteredBeforeTheCodeChangesAreSavedUnderTheFinalCode) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODICE.user_type("PRIMA"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
    ASSERT_TRUE(w.TXT_IMP.user_type("100"));
    ASSERT_TRUE(w.TXT_IVA.user_type("100"));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma")) << s.last_message();
    ASSERT_TRUE(w.TXT_CODICE.user_type("DOPO"));
    ASSERT_TRUE(w.user_focus(&w.TXT_DESCRIZIONE));
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG63_CODPAG_CG62, CG63_PROG FROM CG63_CONDPAGDET WHERE "
                      "CG63_CODPAG_CG62 IN ('PRIMA', 'DOPO')"),
              (Rows{{"DOPO", "1"}}));
}

}  // namespace
}  // namespace condpag
