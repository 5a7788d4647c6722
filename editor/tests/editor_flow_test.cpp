// Field dependencies, keyboard flow, window life cycle, navigation, printing and the generation
// window, driven as a person drives them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "editor/tests/session.h"
#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"

namespace condpag {
namespace {

TEST(EditorFlow, InstallmentFieldsFollowTheirRulesOnlyAsFarAsEachRuleReaches) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("RB369");  // three installments of 1/3, 30-60-90 days by month
    // Showing a stored installment clears nothing and applies the enable rules.
    EXPECT_EQ(w.TXT_GGDECOR.text(), "30");
    EXPECT_TRUE(w.TXT_GGDECOR.enabled());
    EXPECT_FALSE(w.TXT_GGMMFIX.enabled());
    EXPECT_FALSE(w.TXT_GGSCADFIX1.enabled());
    EXPECT_FALSE(w.TXT_IMP.visible());
    EXPECT_TRUE(w.TXT_NUMIMP.visible());
    EXPECT_EQ(w.TXT_TOTIMP.text(), "100");
    EXPECT_FALSE(w.TotaliCompleti());  // 3 x 1/3 is not exactly 100 before normalising

    // Picks clear what no longer applies; a type outside the subtype range locks the subtype.
    ASSERT_TRUE(w.CMB_TIPODECORR.user_pick_value(2));
    EXPECT_EQ(w.TXT_GGDECOR.text(), "");
    EXPECT_TRUE(w.TXT_GGDECOR.enabled());
    EXPECT_TRUE(w.TXT_GGSCADFIX1.enabled());
    EXPECT_FALSE(w.TXT_DAGGFIX1.enabled());
    EXPECT_TRUE(w.Grst_RecordSet_CG63.Field("CG63_GGDECOR").is_null());
    ASSERT_TRUE(w.CMB_TIPO.user_pick_value(13));
    EXPECT_EQ(w.TXT_SOTTOTIPO.text(), "1");
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Assegno bancario");
    ASSERT_TRUE(w.CMB_TIPO.user_pick_value(1));
    EXPECT_EQ(w.TXT_SOTTOTIPO.text(), "");
    EXPECT_FALSE(w.TXT_SOTTOTIPO.enabled());
    ASSERT_TRUE(w.CMB_TIPO.user_pick_value(2));
    EXPECT_TRUE(w.TXT_SOTTOTIPO.enabled());
    ASSERT_TRUE(w.CMB_FLGFRPERCIMP.user_pick_value(1));
    EXPECT_TRUE(w.Grst_RecordSet_CG63.Field("CG63_EL1FRIMP").is_null());
    EXPECT_TRUE(w.TXT_IMP.visible());
    EXPECT_FALSE(w.TXT_NUMIMP.visible());
    ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(1));
    EXPECT_TRUE(w.TXT_IMPFIX.enabled());
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Annulla"));
    EXPECT_EQ(w.TXT_GGDECOR.text(), "30");
    EXPECT_FALSE(w.TXT_IMP.visible());

    // Leaving the last field of a stored installment suggests confirming it.
    w.CMB_TIPOIMPFIX.user_key(kKeyTab);
    EXPECT_EQ(w.focus(), &w.GRIDNAV_RATE);
    EXPECT_EQ(w.GRIDNAV_RATE.current_button(), "Conferma");

    // Deleting the second installment renumbers the rest.
    ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(1));
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Elimina"));
    ASSERT_EQ(w.GRID_CONDPAG.row_count(), 2);
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(1, "CG63_PROG"), "2");
    EXPECT_EQ(w.GRID_CONDPAG.cell_text(1, "CG63_GGDECOR"), "90");

    // A new third 1/3 leaves the raw totals short of 100: the flow suggests another one.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.TXT_NUMIMP.text(), "1");
    EXPECT_EQ(w.TXT_DENIMP.text(), "3");
    w.CMB_TIPOIMPFIX.user_key(kKeyTab);
    EXPECT_EQ(w.GRIDNAV_RATE.current_button(), "Nuovo");
    w.CMB_TIPOIMPFIX.user_key(kKeyTab, kShiftShift);  // a modifier runs nothing
    EXPECT_EQ(w.GRIDNAV_RATE.current_button(), "Nuovo");
}

TEST(EditorFlow, TheWindowStartsAsTheHostAsksAndRegistersOnEveryActivation) {
    Session s(2);
    s.host.SetProgramMode(1);
    FRMCO_CONDPAG& w = s.open();
    EXPECT_EQ(w.FME_CONDPAGDES.Status(), 1);
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 0);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
    EXPECT_FALSE(w.TabCondPag.enabled());
    EXPECT_FALSE(w.CMD_GENERA.enabled());
    EXPECT_FALSE(w.INTERNAV.ButtonEnabled("Avanti"));
    EXPECT_TRUE(w.CHK_STORNOIVA.visible());
    EXPECT_EQ(s.global.ActiveInterface(), &s.host);

    // A second activation registers again and changes nothing else.
    size_t statuses = s.navigator.statuses.size();
    w.Form_Activate();
    EXPECT_GT(s.navigator.statuses.size(), statuses);
    EXPECT_EQ(std::count_if(w.INTERNAV.buttons().begin(), w.INTERNAV.buttons().end(),
                            [](const NavigatorButton& b) { return b.key == "CMD_STAMPA"; }),
              1);
    std::map<Control*, int> registered;
    std::map<int, int> codes;
    for (const LayoutEntry& entry : w.LAY_CONDPAG.registered()) {
        ++registered[entry.control];
        ++codes[entry.code];
    }
    EXPECT_EQ(registered.size(), w.LAY_CONDPAG.registered().size());  // each control once
    EXPECT_EQ(codes[15], 5);
    EXPECT_EQ(codes[14], 3);
    EXPECT_EQ(codes[12], 4);
    EXPECT_EQ(registered.count(&w.TXT_CODICE), 0u);

    // Tabs: the tab buttons follow the tab shown.
    s.go_to("RB3060");
    EXPECT_FALSE(w.INTERNAV.ButtonEnabled("Indietro"));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(w.INTERNAV.user_click("Avanti"));
    EXPECT_EQ(w.TabCondPag.tab(), 3);
    EXPECT_FALSE(w.INTERNAV.ButtonEnabled("Avanti"));
    EXPECT_TRUE(w.INTERNAV.ButtonEnabled("Indietro"));

    // Printing runs the print component under an interface of its own, then comes back.
    ASSERT_TRUE(w.INTERNAV.user_click("CMD_STAMPA"));
    ASSERT_EQ(s.global.runs.size(), 1u);
    EXPECT_EQ(s.global.runs[0].prog_id, "TREVANIX.CLSTREVANIX");
    EXPECT_EQ(s.global.runs[0].arguments.size(), 8u);
    EXPECT_NE(s.global.active_during_runs[0], &s.host);
    EXPECT_EQ(s.global.ActiveInterface(), &s.host);
    EXPECT_TRUE(s.host.IsActive());

    // Refusing to settle a pending change keeps the window open and says nothing to the host.
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("In sospeso"));
    s.messages.answers = {kAnswerCancel};
    bool cancel = false;
    w.Form_QueryUnload(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(s.events.calls.size(), 1u);  // only qxOpen
}

TEST(EditorFlow, ACallingProgramGetsTheChosenCodeBack) {
    Session s;
    s.host.SetIsCalled(true);
    std::string wanted = "RD30  ";
    s.window = std::make_unique<FRMCO_CONDPAG>();
    FRMCO_CONDPAG& w = *s.window;
    w.SetComponent(nullptr, [&] { return wanted; });
    w.SetInterface(&s.host);
    w.Form_Load();
    w.Form_Activate();
    EXPECT_EQ(w.FME_CONDPAGDES.Status(), 0);  // the code exists: it is shown
    EXPECT_EQ(w.TXT_CODICE.text(), "RD30");
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 1);
    ASSERT_TRUE(w.INTERNAV.user_click("Esporta"));
    ASSERT_EQ(s.host.transfers.size(), 1u);
    EXPECT_EQ(s.host.transfers[0], std::vector<Value>{Value("RD30")});
    EXPECT_TRUE(w.unloaded());
    EXPECT_TRUE(w.close_requested());
}

TEST(EditorFlow, GeneratedInstallmentsAreConfirmedWithTheTermAtOnce) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ModalSecondaryWindows windows([](ModalWindow& window) {
        window.Show();
        auto& g = dynamic_cast<FRMCO_GENMULTIPLA&>(window);
        ASSERT_TRUE(g.TXT_NUMERORATE.user_type("4"));
        ASSERT_TRUE(g.CMB_TIPO.user_pick_value(2));
        ASSERT_TRUE(g.TXT_GGDECOR.user_type("30"));
        ASSERT_TRUE(g.CMB_DATARIF.user_pick_value(5));
        ASSERT_TRUE(g.CMB_FLGFRPERCIMP.user_pick_value(0));
        ASSERT_TRUE(g.TXT_NUMIMP.user_type("1"));
        ASSERT_TRUE(g.TXT_DENIMP.user_type("4"));
        ASSERT_TRUE(g.CMB_FLGFRPERCIVA.user_pick_value(0));
        ASSERT_TRUE(g.TXT_NUMIVA.user_type("1"));
        ASSERT_TRUE(g.TXT_DENIVA.user_type("4"));
        ASSERT_TRUE(g.CMD_GENERA.user_click());
        window.Unload();
    });
    w.SetSecondaryWindows(&windows);
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODICE.user_type("GEN4"));
    ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Scritta a mano"));
    ASSERT_TRUE(w.CHK_DESAUTOM.user_check(true));
    EXPECT_TRUE(w.CMD_GENERA.enabled());
    ASSERT_TRUE(w.CMD_GENERA.user_click());
    EXPECT_EQ(w.FME_CONDPAGDES.Status(), 0) << s.last_message();
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.4 Rb (25%/25%) 30-60-90-120GG-FM");
    EXPECT_EQ(s.query("SELECT CG63_PROG, CG63_GGDECOR, CG63_EL1FRIMP, CG63_EL2FRIMP FROM "
                      "CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'GEN4' ORDER BY CG63_PROG"),
              (Rows{{"1", "30", "1", "4"},
                    {"2", "60", "1", "4"},
                    {"3", "90", "1", "4"},
                    {"4", "120", "1", "4"}}));
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.last_message();
    EXPECT_EQ(s.query("SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'GEN4'"),
              (Rows{{"Num.4 Rb (25%/25%) 30-60-90-120GG-FM"}}));
}

TEST(EditorFlow, ASubtypeAddedFromTheSubtypeBoxIsOfferedForItsPaymentType) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ModalSecondaryWindows windows([](ModalWindow& window) {
        window.Show();
        auto& sub = dynamic_cast<FRMCO_SOTTOTIPI&>(window);
        ASSERT_TRUE(sub.GRIDNAV.user_click("Nuovo"));
        ASSERT_TRUE(sub.TXT_CODICE.user_type("7"));
        ASSERT_TRUE(sub.TXT_DESCRIZIONE.user_type("Bonifico estero"));
        ASSERT_TRUE(sub.TXT_GGOFFSET.user_type("5"));
        ASSERT_TRUE(sub.GRIDNAV.user_click("Conferma"));
        EXPECT_TRUE(window.Unload());
    });
    w.SetSecondaryWindows(&windows);
    s.go_to("BB3060");
    ASSERT_EQ(w.CMB_TIPO.text(), "14");
    w.TXT_SOTTOTIPO.user_function_key("Kgestione");

    LookupRequest list;
    w.TXT_SOTTOTIPO_StartLookup(list);
    EXPECT_FALSE(list.cancel);
    Rows offered = s.query(list.statement);
    EXPECT_NE(std::find(offered.begin(), offered.end(),
                        std::vector<std::string>{"7", "Bonifico estero", "5"}),
              offered.end())
        << list.statement;
    // Another payment type does not offer it.
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG64_SOTTOTIPO WHERE CG64_CODSTIPOEFF = 7 AND "
                      "CG64_TIPOEFF <> 14"),
              (Rows{{"0"}}));
}

}  // namespace
}  // namespace condpag
