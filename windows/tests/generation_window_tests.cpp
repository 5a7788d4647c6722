#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/tests/fake_editor.h"

namespace condpag::testing {
namespace {

// RB3060 holds two Ri.Ba. installments of 50 %.
struct Session {
    FakeEditor editor;
    FRMCO_GENMULTIPLA window;
    explicit Session(std::string code = "RB3060") : editor(std::move(code)) {
        window.set_owner(&editor);
        window.set_lookup_runner(&editor.lookups);
        window.Show();
    }
    // Types into the boxes and picks the lists' values in turn ("TXT_GGDECOR=30 CMB_TIPO=2");
    // whether each control exists and took its value.
    bool fill(const std::string& entries) {
        std::istringstream words(entries);
        bool taken = true;
        for (std::string word; words >> word;) {
            const size_t at = word.find('=');
            auto* list = window.find_as<ComboBox>(word.substr(0, at));
            auto* box = window.find_as<EditBox>(word.substr(0, at));
            if (list) taken = list->user_pick_value(Value(word.substr(at + 1))) && taken;
            if (box) taken = box->user_type(word.substr(at + 1)) && taken;
            taken = taken && (list || box);
        }
        return taken;
    }
};

TEST(GenerationWindow, FourQuartersOfRibaAreAppendedAfterTheExistingInstallments) {
    // Left unconfirmed in the editor: a new installment is dropped, a changed one is kept.
    for (const bool begun_new : {true, false}) {
        SCOPED_TRACE(begun_new ? "new installment begun" : "installment changed");
        Session s;
        FRMCO_GENMULTIPLA& w = s.window;
        if (begun_new) {
            ASSERT_TRUE(s.editor.FME_DETTAGLIO.New());
        } else {
            ASSERT_TRUE(s.editor.FME_DETTAGLIO.MoveLast());
            ASSERT_TRUE(s.editor.TXT_GGDECOR.user_type("45"));
        }
        s.editor.record_events = 0;

        ASSERT_TRUE(
            s.fill("TXT_NUMERORATE=4 CMB_TIPO=2 TXT_GGDECOR=30 CMB_DATARIF=5 "
                   "CMB_FLGFRPERCIMP=0 CMB_FLGFRPERCIVA=0 TXT_NUMIMP=1 TXT_NUMIVA=1 "
                   "TXT_DENIMP=4 TXT_DENIVA=4"));
        ASSERT_TRUE(w.CMD_GENERA.user_click());

        EXPECT_TRUE(w.result() && w.close_requested());
        EXPECT_EQ(s.editor.record_events, 0);
        EXPECT_EQ(s.editor.FME_DETTAGLIO.Status(), FrameStatus::View);
        EXPECT_TRUE(s.editor.FME_DETTAGLIO.BatchPending());

        // One more installment begun leaves the generated ones to be saved; the editor goes on
        // taking edits, and the rows reach the database when it saves its installments.
        EXPECT_TRUE(w.Unload());
        ASSERT_TRUE(s.editor.FME_DETTAGLIO.New());
        EXPECT_TRUE(s.editor.FME_DETTAGLIO.BatchPending());
        ASSERT_TRUE(s.editor.FME_DETTAGLIO.Undo());
        ASSERT_TRUE(s.editor.FME_DETTAGLIO.MoveLast());
        ASSERT_TRUE(s.editor.TXT_GGDECOR.user_type("125"));
        ASSERT_TRUE(s.editor.FME_DETTAGLIO.SaveRows());
        EXPECT_EQ(s.editor.stored("SELECT CG63_PROG, CG63_GGDECOR, CG63_TIPOEFF, CG63_INDDATARIF, "
                                  "CG63_EL1FRIMP, CG63_EL2FRIMP, CG63_PERCIMP FROM CG63_CONDPAGDET "
                                  "WHERE CG63_CODPAG_CG62 = 'RB3060' AND CG63_PROG > 2 ORDER BY "
                                  "CG63_PROG"),
                  (std::vector<std::vector<std::string>>{{"3", "30", "2", "5", "1", "4", ""},
                                                         {"4", "60", "2", "5", "1", "4", ""},
                                                         {"5", "90", "2", "5", "1", "4", ""},
                                                         {"6", "125", "2", "5", "1", "4", ""}}));
        EXPECT_EQ(
            s.editor.stored("SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = "
                            "'RB3060' AND CG63_PROG = 2"),
            (std::vector<std::vector<std::string>>{{begun_new ? "60" : "45"}}));
    }
}

TEST(GenerationWindow, RefusedValuesAreReportedAndAppendNothing) {
    // What is typed into the window besides three installments of 100 %, the box refused and
    // what the person is told.
    const std::string wrong = "Attenzione, rata non corretta";
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"", "TXT_GGDECOR", wrong},
        {"TXT_GGDECOR=30 CMB_FLGFRPERCIMP=0 TXT_NUMIMP=5 TXT_DENIMP=4", "TXT_NUMIMP", wrong},
        {"CMB_TIPODECORR=3", "TXT_GGMMFIX", wrong},
        {"TXT_GGDECOR=30 TXT_IVA=1x", "TXT_IVA",
         "Valore non valido: \"1x\". Scrivere un numero come 1.234,50 (oppure 1234,50)."},
    };
    for (const auto& [fill, refused, told] : cases) {
        SCOPED_TRACE(refused);
        Session s;
        FRMCO_GENMULTIPLA& w = s.window;
        s.fill("TXT_NUMERORATE=3 TXT_IMP=100 TXT_IVA=100 " + fill);
        w.CMD_GENERA.user_click();

        // A box that holds no number refuses to be left; the generation tells its own refusal.
        std::vector<std::string> shown = s.editor.host_messages.texts();
        for (const RoutedMessage& message : s.editor.messages) {
            shown.push_back(message.text);
            EXPECT_EQ(message.style, kStyleInformation);
        }
        EXPECT_EQ(shown, std::vector<std::string>{told});
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
    s.fill("TXT_GGDECOR=30 CMB_TIPODECORR=2");
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
    s.fill("TXT_IMP=50 CMB_FLGFRPERCIMP=0");
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
    s.fill("TXT_NUMERORATE=3 CMB_TIPOIMPFIX=0 CMB_TIPODECORR=1");
    w.CMB_TIPOIMPFIX.user_key(kKeyTab);
    EXPECT_EQ(w.focus(), &w.CMD_GENERA);

    w.CMD_ANNULLA.user_click();
    EXPECT_TRUE(w.close_requested() && !w.result());
    EXPECT_TRUE(w.Unload());
    EXPECT_EQ(s.editor.host.ActiveFrame(), nullptr);
}

}  // namespace
}  // namespace condpag::testing
