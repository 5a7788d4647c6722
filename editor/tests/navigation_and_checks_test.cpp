// What the person sees of the record checks and the navigators: a value refused
// on confirmation whatever the focus did, and where each button leads.

#include <gtest/gtest.h>

#include <functional>

#include "editor/tests/session.h"
#include "framework/lookup_runner.h"

namespace condpag {
namespace {

using F = FRMCO_CONDPAG;

// The term as stored: its installments' days, its periods and its Art. 26
// discounts.
Rows stored_term(Session& s, const std::string& code) {
    Rows rows = s.term("CG63", "CG63_INDTIPODECOR, CG63_GGSCADFIX1, CG63_GGSCADFIX2", code);
    for (auto& row : s.term("CG65", "COUNT(*)", code)) rows.push_back(row);
    for (auto& row : s.term("CG62", "CG62_SCPERCART26, CG62_SCART26", code)) rows.push_back(row);
    return rows;
}

// Confirmed straight from the record navigator, the focus still in the box just
// typed: the check judges the text shown, and the refusal names it.
TEST(NavigationAndChecks, ATermConfirmedWithAWrongValueIsRefusedAndNothingIsStored) {
    struct Case {
        const char* term;
        std::function<bool(F&)> begin;
        EditBox F::*typed_in;
        const char* typed;
        EditBox F::*focused;
        const char* message;
    };
    const Case cases[] = {
        {"RD30", [](F& w) { return w.CMB_TIPODECORR.user_pick_value(2); }, &F::TXT_GGSCADFIX1, "35",
         &F::TXT_GGSCADFIX1, "Valore non valido: \"35\"."},
        {"RB60GF", [](F&) { return true; }, &F::TXT_GGSCADFIX2, "35", &F::TXT_GGSCADFIX2,
         "Valore non valido: \"35\"."},
        {"RB30FM",
         [](F& w) {
             return w.GRIDNAV_PERIODI.user_click("Nuovo") &&
                    w.TXT_PERSLITDAGGMM.user_type("01/12") &&
                    w.TXT_PERSLITAGGMM.user_type("31/12") && w.CMB_TIPOSLIT.user_pick_value(3);
         },
         &F::TXT_PERSLITGGMMSCAD, "31/04", &F::TXT_PERSLITGGMMSCAD,
         "Valore non valido: \"31/04\"."},
        {"RD30", [](F& w) { return w.TXT_PERCSCART26.user_type("5"); }, &F::TXT_SCART26, "1",
         &F::TXT_PERCSCART26, "Lo sconto art. 26 non può essere indicato sia a % che ad importo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Session s;
        F& w = s.open();
        const Rows before = stored_term(s, c.term);
        ASSERT_TRUE(s.go_to(c.term));
        ASSERT_TRUE(c.begin(w));
        ASSERT_TRUE((w.*c.typed_in).user_type(c.typed));
        EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
        EXPECT_EQ(s.last_message(), c.message);
        EXPECT_EQ(w.focus(), &(w.*c.focused));
        EXPECT_EQ(stored_term(s, c.term), before);
    }
}

// The tab strip, the generation button and the tab buttons open on a term
// shown, or on a new one once it has its code; the tab buttons stop at the
// first and the last tab.
TEST(NavigationAndChecks, TabsOpenOnlyOnATermWithItsCode) {
    struct Case {
        int profile;
        int tab;             // moved to with "Avanti" on a stored term first
        const char* action;  // "Cerca", "Nuovo", "Nuovo" with a code typed, or another term
        bool tabs, generation, back, forward;
    };
    const Case cases[] = {
        {0, 2, "Cerca", false, false, false, false},    {0, 2, "Nuovo", false, false, false, false},
        {0, 2, "Nuovo NUOVA", true, true, false, true}, {0, 1, "RD30", true, true, true, true},
        {0, 3, "RD30", true, true, true, false},        {1, 2, "RD30", true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + std::to_string(c.tab));
        Session s(c.profile);
        F& w = s.open_on("RB30FM");
        for (int i = 0; i < c.tab; ++i) ASSERT_TRUE(w.INTERNAV.user_click("Avanti"));
        const std::string action = c.action;
        if (action == "RD30") {
            ASSERT_TRUE(s.go_to("RD30"));
        } else {
            ASSERT_TRUE(w.INTERNAV.user_click(action.substr(0, 5)));
            if (action.size() > 5) {
                ASSERT_TRUE(w.TXT_CODICE.user_type(action.substr(6)));
                w.TXT_CODICE.user_key(kKeyTab);
            }
        }
        EXPECT_EQ(w.TabCondPag.enabled(), c.tabs);
        EXPECT_EQ(w.CMD_GENERA.enabled(), c.generation);
        EXPECT_EQ(w.INTERNAV.ButtonEnabled("Indietro"), c.back);
        EXPECT_EQ(w.INTERNAV.ButtonEnabled("Avanti"), c.forward);
    }
}

// Printing runs the print component under a fresh interface of the host, marked
// as called, and then gives the window its own back; a failed print the person
// leaves keeps the window inactive and the host holds nothing of the run.
TEST(NavigationAndChecks, PrintingHandsTheHostToThePrintComponentAndBack) {
    struct Case {
        bool language_grid;  // "Stampa" of GRIDNAVL, else "CMD_STAMPA" of INTERNAV
        bool fails;
        ErrorChoice answer;
    };
    const Case cases[] = {{false, false, ErrorChoice::Leave},
                          {true, false, ErrorChoice::Leave},
                          {false, true, ErrorChoice::GoOn},
                          {true, true, ErrorChoice::Leave}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.language_grid) + (c.fails ? " fails" : ""));
        Session s;
        F& w = s.open_on("BB3060");
        bool handed_over = false;
        s.global.during_run = [&] {
            Cinterface* printing = s.global.ActiveInterface();
            handed_over = printing != nullptr && printing != &s.host && printing->IsActive() &&
                          printing->IsCalled() && s.global.SecondInterface() == printing &&
                          !s.host.IsActive();
        };
        if (c.fails) s.global.next_run_result = Error{"Stampante non disponibile", ""};
        s.messages.error_choices = {c.answer};
        if (c.language_grid) {
            for (int i = 0; i < 3; ++i) ASSERT_TRUE(w.INTERNAV.user_click("Avanti"));
            ASSERT_TRUE(w.GRIDNAVL.user_click("Stampa"));
        } else {
            ASSERT_TRUE(w.INTERNAV.user_click("CMD_STAMPA"));
        }
        EXPECT_TRUE(handed_over);
        ASSERT_EQ(s.global.runs.size(), 1u);
        EXPECT_EQ(s.global.runs[0].prog_id, "TREVANIX.CLSTREVANIX");
        const Value yes(-1);
        EXPECT_EQ(s.global.runs[0].arguments, (std::vector<Value>{yes, 2, 0, 0, 0, 0, yes, yes}));
        const bool back = c.answer == ErrorChoice::GoOn || !c.fails;
        EXPECT_EQ(s.global.ActiveInterface(), back ? &s.host : nullptr);
        EXPECT_EQ(s.host.IsActive(), back);
        EXPECT_EQ(s.global.SecondInterface(), nullptr);
        EXPECT_EQ(s.messages.shown.empty() ? "" : s.messages.shown.back().title,
                  c.fails ? "InvocaStampa:" : "");
    }
}

// Coded cells show their labels and day/month cells GG/MM; an unlisted code
// shows nothing, or its own text where the list has no closed set. Enter in the
// language list goes to the description of the language shown, and stays in the
// list while a language is being added.
TEST(NavigationAndChecks, GridsShowWhatIsStoredAndEnterInTheLanguagesOpensTheDescription) {
    Session s;
    s.run({"INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG) VALUES ('GRI', 'Griglie')",
           "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_TIPOEFF, "
           "CG63_INDDATARIF, CG63_PERCIMP, CG63_PERCIVA, CG63_INDIMPFIX) VALUES ('GRI', 1, 17, 9, "
           "33.5, 66.25, 3)",
           "INSERT INTO CG65_PAGSLITANAL (CG65_CODPAG_CG62, CG65_DAMMGG, CG65_AMMGG, "
           "CG65_INDTIPOSLIT, CG65_GGMMFIXSLIT, CG65_GGSLSUCC) VALUES ('GRI', 101, 0, 7, 1231, 0)",
           "INSERT INTO CG6B_CONDPAGLING (CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR) VALUES "
           "('GRI', 'ENG', 'Grids')"});
    F& w = s.open_on("GRI");
    const std::pair<const char*, const char*> cells[] = {
        {"CG63_TIPOEFF", ""},      {"CG63_INDDATARIF", ""},
        {"CG63_INDIMPFIX", "3"},   {"CG63_INDTIPODECOR", "Mese commerc."},
        {"CG63_PERCIMP", "33,5"},  {"CG63_PERCIVA", "66,25"},
        {"CG65_DAMMGG", "01/01"},  {"CG65_AMMGG", "00/00"},
        {"CG65_INDTIPOSLIT", "7"}, {"CG65_GGMMFIXSLIT", "31/12"}};
    for (const auto& [column, shown] : cells) {
        const Grid& grid = column[3] == '3' ? w.GRID_CONDPAG : w.GRID_PERSLIT;
        EXPECT_EQ(grid.cell_text(0, column), shown) << column;
    }
    auto captions = [](const Grid& grid) {
        std::string shown;
        for (const GridColumn& c : grid.columns()) shown += c.shown ? c.caption + "|" : "";
        return shown;
    };
    EXPECT_EQ(captions(w.GRID_PERSLIT), "Limite inf.|Limite sup.|Tipo slitt.|Data fissa|GG succ.|");
    EXPECT_EQ(captions(w.GRID_LINGUA), "Codice lingua|Descrizione lingua|");
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(w.INTERNAV.user_click("Avanti"));
    for (bool adding : {false, true}) {
        SCOPED_TRACE(adding);
        if (adding) {
            ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
        }
        ASSERT_TRUE(w.user_focus(&w.GRID_LINGUA));
        // A stored language's Enter is taken by the window; a new one's is left to the grid.
        EXPECT_EQ(w.GRID_LINGUA.user_key(kKeyEnter), adding ? kKeyEnter : 0);
        EXPECT_EQ(w.focus(), adding ? static_cast<Control*>(&w.GRID_LINGUA) : &w.TXT_DESCRLINGUA);
    }
}

// The code's list offers the stored terms; the one chosen is found and shown.
TEST(NavigationAndChecks, TheCodeListOffersTheStoredTerms) {
    Session s;
    F& w = s.open();
    auto* runner = dynamic_cast<HeadlessLookupRunner*>(w.lookup_runner());
    ASSERT_NE(runner, nullptr);
    ASSERT_TRUE(w.INTERNAV.user_click("Cerca"));
    runner->script = {1};
    ASSERT_TRUE(w.TXT_CODICE.user_lookup() && w.INTERNAV.user_click("Trova"));
    EXPECT_EQ(w.TXT_CODICE.text() + "|" + w.TXT_DESCRIZIONE.text(),
              "BB30|Bonifico bancario 30 gg d.f.");
    ASSERT_EQ(runner->shown.size(), 1u);
    EXPECT_EQ(runner->shown[0].host_text, w.ConnectionString());
    EXPECT_EQ(s.query(runner->shown[0].statement).size(),
              s.query("SELECT * FROM CG62_CONDPAGDES").size());
    EXPECT_FALSE(runner->shown[0].title.empty() || runner->shown[0].columns.empty() ||
                 w.TXT_CODICE.lookup_name().empty());
}

}  // namespace
}  // namespace condpag
