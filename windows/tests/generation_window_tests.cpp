#include <gtest/gtest.h>

#include <tuple>

#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/tests/fake_editor.h"

namespace condpag::testing {
namespace {

// RB3060 holds two Ri.Ba. installments of 50 %.
struct Session {
    FakeEditor editor{"RB3060"};
    FRMCO_GENMULTIPLA window;
    Session() {
        window.set_owner(&editor);
        window.set_lookup_runner(&editor.lookups);
        window.Show();
    }
};

TEST(GenerationWindow, FourQuartersOfRibaAreAppendedAfterTheExistingInstallments) {
    Session s;
    FRMCO_GENMULTIPLA& w = s.window;
    // A new installment begun in the editor and left unconfirmed is dropped by the generation.
    ASSERT_TRUE(s.editor.FME_DETTAGLIO.New());
    s.editor.record_events = 0;

    ASSERT_TRUE(w.TXT_NUMERORATE.user_type("4"));
    ASSERT_TRUE(w.CMB_TIPO.user_pick_value(2));
    ASSERT_TRUE(w.TXT_GGDECOR.user_type("30"));
    ASSERT_TRUE(w.CMB_DATARIF.user_pick_value(5));
    for (ComboBox* kind : {&w.CMB_FLGFRPERCIMP, &w.CMB_FLGFRPERCIVA}) {
        ASSERT_TRUE(kind->user_pick_value(0));
    }
    for (EditBox* box : {&w.TXT_NUMIMP, &w.TXT_NUMIVA}) ASSERT_TRUE(box->user_type("1"));
    for (EditBox* box : {&w.TXT_DENIMP, &w.TXT_DENIVA}) ASSERT_TRUE(box->user_type("4"));
    ASSERT_TRUE(w.CMD_GENERA.user_click());

    EXPECT_TRUE(w.result() && w.close_requested());
    EXPECT_EQ(s.editor.record_events, 0);
    EXPECT_EQ(s.editor.FME_DETTAGLIO.Status(), FrameStatus::View);
    EXPECT_TRUE(s.editor.FME_DETTAGLIO.BatchPending());
    EXPECT_EQ(s.editor.GRID_CONDPAG.row_count(), 6);

    // The rows reach the database when the editor saves its installments.
    EXPECT_TRUE(w.Unload());
    ASSERT_TRUE(s.editor.FME_DETTAGLIO.SaveRows());
    EXPECT_EQ(s.editor.stored("SELECT CG63_PROG, CG63_GGDECOR, CG63_TIPOEFF, CG63_INDDATARIF, "
                              "CG63_EL1FRIMP, CG63_EL2FRIMP, CG63_PERCIMP FROM CG63_CONDPAGDET "
                              "WHERE CG63_CODPAG_CG62 = 'RB3060' AND CG63_PROG > 2 ORDER BY "
                              "CG63_PROG"),
              (std::vector<std::vector<std::string>>{{"3", "30", "2", "5", "1", "4", ""},
                                                     {"4", "60", "2", "5", "1", "4", ""},
                                                     {"5", "90", "2", "5", "1", "4", ""},
                                                     {"6", "120", "2", "5", "1", "4", ""}}));
}

TEST(GenerationWindow, RefusedValuesAreReportedAndAppendNothing) {
    // What is typed into the window (box, text; a list's value picked) and the box refused.
    using Fill = std::vector<std::pair<std::string, std::string>>;
    const std::vector<std::pair<Fill, std::string>> cases = {
        {{}, "TXT_GGDECOR"},
        {{{"TXT_GGDECOR", "30"},
          {"CMB_FLGFRPERCIMP", "0"},
          {"TXT_NUMIMP", "5"},
          {"TXT_DENIMP", "4"}},
         "TXT_NUMIMP"},
        {{{"CMB_TIPODECORR", "3"}}, "TXT_GGMMFIX"},
    };
    for (const auto& [fill, refused] : cases) {
        SCOPED_TRACE(refused);
        Session s;
        FRMCO_GENMULTIPLA& w = s.window;
        w.TXT_NUMERORATE.user_type("3");
        w.TXT_IMP.user_type("100");
        w.TXT_IVA.user_type("100");
        for (const auto& [name, text] : fill) {
            if (auto* list = w.find_as<ComboBox>(name)) list->user_pick_value(Value(text));
            if (auto* box = w.find_as<EditBox>(name)) box->user_type(text);
        }
        ASSERT_TRUE(w.CMD_GENERA.user_click());

        ASSERT_EQ(s.editor.messages.size(), 1u);
        EXPECT_EQ(s.editor.messages[0].text, "Attenzione, rata non corretta");
        EXPECT_EQ(s.editor.messages[0].style, kStyleInformation);
        EXPECT_EQ(w.focus(), w.find(refused));
        EXPECT_EQ(s.editor.installments.RecordCount(), 2);
        EXPECT_FALSE(w.result() || w.close_requested());
    }
}

TEST(GenerationWindow, DefaultsAndFieldDependencies) {
    Session s;
    FRMCO_GENMULTIPLA& w = s.window;
    EXPECT_EQ(w.focus(), &w.TXT_NUMERORATE);
    EXPECT_EQ(w.CMB_DATARIF.text(), "1");
    EXPECT_FALSE(w.CMD_GENERA.enabled());
    EXPECT_FALSE(w.TXT_GGMMFIX.enabled());
    EXPECT_EQ(s.editor.host.ActiveFrame(), &w.FME_GENMULTIPLA);

    // The number box decides whether "&Genera" can run.
    w.TXT_NUMERORATE.user_type("3");
    w.user_focus(&w.CMB_TIPO);
    EXPECT_TRUE(w.CMD_GENERA.enabled());
    w.TXT_NUMERORATE.user_type("");
    w.user_focus(&w.CMB_TIPO);
    EXPECT_FALSE(w.CMD_GENERA.enabled());
    // Start rule 2 empties the days but keeps them open; rule 4 opens the intervals only.
    w.TXT_GGDECOR.user_type("30");
    w.CMB_TIPODECORR.user_pick_value(2);
    EXPECT_EQ(w.TXT_GGDECOR.text(), "");
    EXPECT_TRUE(w.TXT_GGDECOR.enabled());
    EXPECT_TRUE(w.TXT_GGSCADFIX1.enabled());
    EXPECT_FALSE(w.TXT_DAGGFIX1.enabled());
    w.TXT_GGSCADFIX1.user_type("35");
    w.user_focus(&w.CMB_DATARIF);
    EXPECT_FALSE(w.TXT_GGSCADFIX1.valid());
    w.CMB_TIPODECORR.user_pick_value(4);
    EXPECT_FALSE(w.TXT_GGDECOR.enabled());
    EXPECT_FALSE(w.TXT_GGMMFIX.enabled());
    for (EditBox* box : {&w.TXT_DAGGFIX1, &w.TXT_AGGFIX1, &w.TXT_GGSCADFIX1, &w.TXT_DAGGFIX2,
                         &w.TXT_AGGFIX2, &w.TXT_GGSCADFIX2}) {
        EXPECT_TRUE(box->enabled()) << box->name();
    }
    // A value shown by code enables but never empties.
    w.TXT_DAGGFIX1.user_type("1");
    w.CMB_TIPODECORR.select_value(3);
    EXPECT_EQ(w.TXT_DAGGFIX1.text(), "1");
    EXPECT_FALSE(w.TXT_DAGGFIX1.enabled());
    EXPECT_TRUE(w.TXT_GGMMFIX.enabled());
    w.CMB_TIPODECORR.user_pick_value(3);
    EXPECT_EQ(w.TXT_DAGGFIX1.text(), "");

    // The fixed day/month is shown as GG/MM however it was typed.
    w.TXT_GGMMFIX.user_type("1508");
    w.user_focus(&w.CMB_FLGFRPERCIMP);
    EXPECT_EQ(w.TXT_GGMMFIX.text(), "15/08");
    EXPECT_TRUE(w.TXT_GGMMFIX.valid());
    w.TXT_GGMMFIX.user_type("31/02");
    w.user_focus(&w.CMB_FLGFRPERCIMP);
    EXPECT_FALSE(w.TXT_GGMMFIX.valid());

    // Share form picked in the list: fraction boxes in place of the percentage, emptied.
    w.TXT_IMP.user_type("50");
    w.CMB_FLGFRPERCIMP.user_pick_value(0);
    EXPECT_FALSE(w.TXT_IMP.visible());
    EXPECT_TRUE(w.TXT_NUMIMP.visible());
    EXPECT_EQ(w.TXT_IMP.text(), "");

    // Payment types: below 7 the subtype goes (the box stays open for 2), above it is decoded,
    // and the management key opens the subtypes of the type shown.
    w.CMB_TIPO.user_pick_value(14);
    w.TXT_SOTTOTIPO.user_type("1");
    w.user_focus(&w.CMB_TIPO);
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Bonifico SEPA");
    std::string shown_type;
    long shown_rows = -1;
    w.set_modal_runner([&](ModalWindow& opened) {
        auto& subtypes = dynamic_cast<FRMCO_SOTTOTIPI&>(opened);
        subtypes.Show();
        shown_type = subtypes.CMB_TIPO.text();
        shown_rows = subtypes.GRID_SOTTOTIPI.row_count();
        subtypes.Unload();
    });
    w.TXT_SOTTOTIPO.user_function_key("Kgestione");
    EXPECT_EQ(shown_type, "14");
    EXPECT_EQ(shown_rows, 2);
    LookupRequest list;
    w.TXT_SOTTOTIPO_StartLookup(list);
    EXPECT_EQ(list.title, "Elenco sottotipi effetto del tipo Bonifico Bancario");
    EXPECT_EQ(s.editor.stored(list.statement).size(), 2u);
    for (const auto& [type, subtype, open] :
         {std::tuple{99, "1", true}, std::tuple{2, "", true}, std::tuple{1, "", false}}) {
        w.CMB_TIPO.user_pick_value(type);
        EXPECT_EQ(w.TXT_SOTTOTIPO.text(), subtype) << type;
        EXPECT_EQ(w.TXT_SOTTOTIPO.enabled(), open) << type;
    }

    // Tab out of the last field lands on "&Annulla" and moves on to "&Genera".
    w.TXT_NUMERORATE.user_type("3");
    w.CMB_TIPOIMPFIX.user_pick_value(0);
    w.CMB_TIPODECORR.user_pick_value(1);
    w.CMB_TIPOIMPFIX.user_key(kKeyTab);
    EXPECT_EQ(w.focus(), &w.CMD_GENERA);

    w.CMD_ANNULLA.user_click();
    EXPECT_TRUE(w.close_requested() && !w.result());
    EXPECT_TRUE(w.Unload());
    EXPECT_EQ(s.editor.host.ActiveFrame(), nullptr);
}

}  // namespace
}  // namespace condpag::testing
