// The rules a person sees while editing, one test per family and one row per rule: what a pick
// empties and opens, what a new installment copies, the validity marks, what each profile
// shows, the keyboard flows, the keys of the lists and the window's messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "editor/tests/session.h"
#include "framework/lookup_runner.h"
#include "windows/FRMCO_SOTTOTIPI.h"

namespace condpag {
namespace {

using Boxes = std::vector<EditBox FRMCO_CONDPAG::*>;
using F = FRMCO_CONDPAG;

// An installment and a shift period whose every optional column holds a value, so that a pick
// shows what it empties.
void store_full_term(Session& s) {
    s.run(
        {"INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG) VALUES ('PIENA', 'Piena')",
         "INSERT INTO CG65_PAGSLITANAL (CG65_CODPAG_CG62, CG65_DAMMGG, CG65_AMMGG, "
         "CG65_GGMMFIXSLIT, CG65_GGSLSUCC) VALUES ('PIENA', 801, 831, 110, 5)",
         "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_STIPOEFF, "
         "CG63_INDTIPODECOR, CG63_GGDECOR, CG63_GGMMFIX, CG63_PERCIMP, CG63_EL1FRIMP, "
         "CG63_EL2FRIMP, CG63_PERCIVA, CG63_EL1FRIVA, CG63_EL2FRIVA, CG63_INDIMPFIX, "
         "CG63_IMPORFIX, CG63_DAGGFIX1, CG63_AGGFIX1, CG63_GGSCADFIX1, CG63_DAGGFIX2, "
         "CG63_AGGFIX2, CG63_GGSCADFIX2) VALUES ('PIENA', 1, 1, 4, 30, 815, 100, 1, 1, 100, 1, 1, "
         "1, 50, 1, 15, 20, 16, 31, 5)"});
}

// Words separated by blanks.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

TEST(FieldRules, APickEmptiesWhatNoLongerAppliesAndOpensWhatDoes) {
    struct Case {
        const char* list;
        int picked;
        const char* emptied;  // installment columns, or CG65_ ones
        const char* open;     // boxes, after TXT_
        const char* closed;
    };
    const Case cases[] = {
        {"CMB_TIPODECORR", 1, "DAGGFIX1 AGGFIX1 GGSCADFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2 GGMMFIX",
         "GGDECOR", "GGMMFIX GGSCADFIX1 DAGGFIX1 AGGFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2"},
        {"CMB_TIPODECORR", 2, "DAGGFIX1 AGGFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2 GGDECOR GGMMFIX",
         "GGDECOR GGSCADFIX1", "GGMMFIX DAGGFIX1 AGGFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2"},
        {"CMB_TIPODECORR", 3, "DAGGFIX1 AGGFIX1 GGSCADFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2 GGDECOR",
         "GGMMFIX", "GGDECOR GGSCADFIX1 DAGGFIX1 AGGFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2"},
        {"CMB_TIPODECORR", 4, "GGDECOR GGMMFIX",
         "GGDECOR GGSCADFIX1 DAGGFIX1 AGGFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2", "GGMMFIX"},
        {"CMB_FLGFRPERCIMP", 0, "PERCIMP", "", ""},
        {"CMB_FLGFRPERCIMP", 1, "EL1FRIMP EL2FRIMP", "", ""},
        {"CMB_FLGFRPERCIVA", 0, "PERCIVA", "", ""},
        {"CMB_FLGFRPERCIVA", 1, "EL1FRIVA EL2FRIVA", "", ""},
        {"CMB_TIPOIMPFIX", 0, "IMPORFIX", "", "IMPFIX"},
        {"CMB_TIPOIMPFIX", 1, "", "IMPFIX", ""},
        {"CMB_TIPOIMPFIX", 2, "IMPORFIX", "", "IMPFIX"},
        {"CMB_TIPO", 1, "STIPOEFF", "", "SOTTOTIPO"},
        {"CMB_TIPO", 2, "STIPOEFF", "SOTTOTIPO", ""},
        {"CMB_TIPO", 6, "STIPOEFF", "", "SOTTOTIPO"},
        {"CMB_TIPO", 7, "", "SOTTOTIPO", ""},
        {"CMB_TIPO", 16, "", "SOTTOTIPO", ""},
        {"CMB_TIPO", 99, "STIPOEFF", "", "SOTTOTIPO"},
        {"CMB_TIPOSLIT", 1, "CG65_GGMMFIXSLIT", "PERSLITSLIT", "PERSLITGGMMSCAD"},
        {"CMB_TIPOSLIT", 2, "CG65_GGMMFIXSLIT", "PERSLITSLIT", "PERSLITGGMMSCAD"},
        {"CMB_TIPOSLIT", 4, "CG65_GGMMFIXSLIT", "PERSLITSLIT", "PERSLITGGMMSCAD"},
        {"CMB_TIPOSLIT", 3, "CG65_GGSLSUCC", "PERSLITGGMMSCAD", "PERSLITSLIT"},
        {"CMB_TIPOSLIT", 5, "", "PERSLITSLIT", "PERSLITGGMMSCAD"},
    };
    const std::vector<std::string> all = words(
        "STIPOEFF GGDECOR GGMMFIX PERCIMP EL1FRIMP EL2FRIMP PERCIVA EL1FRIVA EL2FRIVA IMPORFIX "
        "DAGGFIX1 AGGFIX1 GGSCADFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2 CG65_GGMMFIXSLIT CG65_GGSLSUCC");
    Session s;
    store_full_term(s);
    FRMCO_CONDPAG& w = s.open_on("PIENA");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " " + std::to_string(c.picked));
        ASSERT_TRUE(w.find_as<ComboBox>(c.list)->user_pick_value(c.picked));
        const std::vector<std::string> emptied = words(c.emptied);
        for (const std::string& name : all) {
            bool period = name.rfind("CG65_", 0) == 0;
            const Recordset& set = period ? w.Grst_RecordSet_CG65 : w.Grst_RecordSet_CG63;
            bool empty = std::find(emptied.begin(), emptied.end(), name) != emptied.end();
            EXPECT_EQ(set.Field(period ? name : "CG63_" + name).is_null(), empty) << name;
        }
        for (const auto& [names, on] : {std::pair{c.open, true}, std::pair{c.closed, false}}) {
            for (const std::string& name : words(names)) {
                const Control* box = w.find("TXT_" + name);
                ASSERT_NE(box, nullptr) << name;
                EXPECT_EQ(box->enabled(), on) << name;
                // Only the day/month boxes and the days carry a second switch of their own.
                bool second = name == "GGDECOR" || name == "GGMMFIX" || name == "PERSLITGGMMSCAD";
                EXPECT_EQ(box->enabled2(), second ? on : true) << name;
            }
        }
        // The share kind shows either the percentage or the fraction.
        for (const std::string share : {"IMP", "IVA"}) {
            if (c.list != "CMB_FLGFRPERC" + share) continue;
            EXPECT_EQ(w.find("TXT_" + share)->visible(), c.picked == 1) << share;
            EXPECT_EQ(w.find("TXT_NUM" + share)->visible(), c.picked == 0) << share;
            EXPECT_EQ(w.find("TXT_DEN" + share)->visible(), c.picked == 0) << share;
            // Picked again while the row is being changed.
            ASSERT_TRUE(w.find_as<ComboBox>(c.list)->user_pick_value(1 - c.picked));
            EXPECT_EQ(w.find("TXT_" + share)->visible(), c.picked == 0) << share;
            EXPECT_EQ(w.find("TXT_NUM" + share)->visible(), c.picked == 1) << share;
        }
        ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
        // Undone, the share boxes follow the stored percentages again.
        EXPECT_TRUE(w.TXT_IMP.visible() && w.TXT_IVA.visible());
        EXPECT_FALSE(w.TXT_NUMIMP.visible() || w.TXT_DENIVA.visible());
    }
    // Only picks empty: the stored rows are shown whole, and stay so.
    EXPECT_EQ(w.TXT_GGMMFIX.text(), "15/08");
    EXPECT_EQ(s.term("CG63", "CG63_GGDECOR, CG63_GGMMFIX, CG63_IMPORFIX, CG63_STIPOEFF", "PIENA"),
              (Rows{{"30", "815", "50", "1"}}));
}

TEST(FieldRules, ANewInstallmentCopiesTheLastOneAMonthLaterOnlyForTheMonthRule) {
    struct Case {
        int rule;
        const char* days_after;
        std::vector<std::pair<EditBox F::*, const char*>> typed;  // what the rule asks for
    };
    Session s;
    FRMCO_CONDPAG& w = s.open();
    for (const Case& c :
         {Case{1, "60", {{&F::TXT_GGDECOR, "30"}}}, Case{2, "", {{&F::TXT_GGSCADFIX1, "10"}}},
          Case{3, "30", {{&F::TXT_GGMMFIX, "15/08"}}},
          Case{4,
               "",
               {{&F::TXT_GGSCADFIX1, "10"}, {&F::TXT_DAGGFIX1, "1"}, {&F::TXT_AGGFIX1, "31"}}}}) {
        SCOPED_TRACE(c.rule);
        const std::string code = "COPIA" + std::to_string(c.rule);
        ASSERT_TRUE(w.INTERNAV.user_click("Nuovo") && w.TXT_CODICE.user_type(code) &&
                    w.GRIDNAV_RATE.user_click("Nuovo"));
        EXPECT_EQ(w.TXT_NUMRATA.text(), "1");
        EXPECT_EQ(w.CMB_TIPO.text(), "13");
        ASSERT_TRUE(w.CMB_TIPO.user_pick_value(14) && w.CMB_TIPODECORR.user_pick_value(c.rule));
        // A stored installment may hold days besides its fixed date; they are kept.
        w.FME_DETTAGLIO.SetFieldEvents(false);
        w.Grst_RecordSet_CG63.SetField("CG63_GGDECOR", c.rule == 3 ? Value(30) : Value());
        w.FME_DETTAGLIO.SetFieldEvents(true);
        for (const auto& [box, text] : c.typed) ASSERT_TRUE((w.*box).user_type(text));
        ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(1) && w.TXT_IMPFIX.user_type("10") &&
                    w.TXT_IMP.user_type("50") && w.TXT_IVA.user_type("50"));
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma") && w.GRIDNAV_RATE.user_click("Nuovo"))
            << s.last_message();
        EXPECT_EQ(w.TXT_NUMRATA.text(), "2");
        EXPECT_EQ(w.CMB_TIPODECORR.text(), std::to_string(c.rule));
        EXPECT_EQ(w.TXT_GGDECOR.text(), c.days_after);
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma") && w.INTERNAV.user_click("Conferma"))
            << s.last_message();
        EXPECT_EQ(s.term("CG63",
                         "CG63_PROG, CG63_TIPOEFF, CG63_INDTIPODECOR, CG63_GGDECOR, CG63_GGMMFIX, "
                         "CG63_GGSCADFIX1, CG63_INDIMPFIX, CG63_IMPORFIX, CG63_PERCIMP",
                         code)[1],
                  (std::vector<std::string>{"2", "14", std::to_string(c.rule), c.days_after,
                                            c.rule == 3 ? "815" : "", c.rule % 2 ? "" : "10", "1",
                                            "", "50"}));
    }
}

TEST(FieldRules, DayBoxesAreMarkedWhenLeftOnlyUnderTheRulesThatUseThem) {
    struct Case {
        int rule;
        EditBox F::*box;
        const char* typed;
        bool marked_invalid;
    };
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RB60GF");  // start rule 4
    for (const Case& c :
         {Case{4, &F::TXT_GGSCADFIX2, "35", true}, Case{1, &F::TXT_GGSCADFIX2, "35", false},
          Case{4, &F::TXT_GGSCADFIX1, "32", true}, Case{2, &F::TXT_GGSCADFIX1, "32", true},
          Case{1, &F::TXT_GGSCADFIX1, "32", false}, Case{3, &F::TXT_GGMMFIX, "31/04", true},
          Case{1, &F::TXT_GGMMFIX, "31/04", false}, Case{3, &F::TXT_GGMMFIX, "29/02", false}}) {
        EditBox& box = w.*c.box;
        SCOPED_TRACE(box.name() + " " + c.typed + " rule " + std::to_string(c.rule));
        ASSERT_TRUE(w.CMB_TIPODECORR.user_pick_value(c.rule));
        box.enable(true);
        box.enable2(true);
        ASSERT_TRUE(box.user_type(c.typed) && w.user_focus(&w.CMB_CALENDARIO));
        EXPECT_EQ(box.valid(), !c.marked_invalid);
        ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
    }
    // The period limits and the fixed shift date are day/months, whatever the shift type.
    ASSERT_TRUE(s.go_to("RB30FM") && w.GRIDNAV_PERIODI.user_click("Nuovo"));
    ASSERT_TRUE(w.CMB_TIPOSLIT.user_pick_value(3));  // a fixed date
    for (EditBox* box : {&w.TXT_PERSLITDAGGMM, &w.TXT_PERSLITAGGMM, &w.TXT_PERSLITGGMMSCAD}) {
        for (const char* typed : {"31/02", "29/02"}) {
            ASSERT_TRUE(box->user_type(typed) && box->user_leave());
            EXPECT_EQ(box->valid(), typed[1] == '9') << box->name() << " " << typed;
        }
    }
}

TEST(FieldRules, ProfilesDecideWhatTheWindowOffers) {
    for (int profile : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(profile);
        Session s(profile);
        FRMCO_CONDPAG& w = s.open();
        const bool single = profile == 1 || profile == 4;
        EXPECT_EQ(w.CHK_STORNOIVA.visible(), profile == 2);
        EXPECT_EQ(w.LBL_STORNOIVA.visible(), profile == 2);
        EXPECT_EQ(w.CMD_GENERA.visible(), !single);
        // A term of two installments is shown read-only where a term has one.
        ASSERT_TRUE(s.go_to("RB3060"));
        EXPECT_EQ(w.FME_CONDPAGDES.ReadOnly(), single);
        EXPECT_EQ(w.FME_DETTAGLIO.ReadOnly(), single);
        EXPECT_EQ(w.GRIDNAV_RATE.enabled(), !single);
        EXPECT_FALSE(w.CMD_GENERA.enabled() && single);
        ASSERT_TRUE(s.go_to("RD30"));
        EXPECT_FALSE(w.FME_DETTAGLIO.ReadOnly());
        EXPECT_EQ(w.GRIDNAV_RATE.ButtonEnabled("Nuovo"), !single);
        if (single) continue;
        // Installments of a term share their type and subtype under profile 3 only.
        ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo") && w.CMB_TIPO.user_pick_value(14) &&
                    w.TXT_IMP.user_type("0") && w.TXT_IVA.user_type("0"));
        EXPECT_EQ(w.GRIDNAV_RATE.user_click("Conferma"), profile != 3);
        EXPECT_EQ(s.last_message(), profile != 3 ? ""
                                                 : "Non è consentito salvare rate con tipi e "
                                                   "sottotipi differenti per la condizione di "
                                                   "pagamento corrente");
        EXPECT_EQ(w.focus(), profile != 3 ? &w.GRID_CONDPAG : static_cast<Control*>(&w.CMB_TIPO));
    }
}

TEST(FieldRules, KeyboardFlowsSuggestTheNextButton) {
    Session s;
    store_full_term(s);
    FRMCO_CONDPAG& w = s.open();
    // A stored installment: Tab or Enter out of its last boxes suggests confirming it; a key
    // with a modifier runs nothing.
    ASSERT_TRUE(s.go_to("PIENA"));
    for (int shift : {kShiftShift, kShiftCtrl, kShiftNone}) {
        for (Control* box :
             std::initializer_list<Control*>{&w.TXT_GGSCADFIX2, &w.TXT_IMPFIX, &w.CMB_TIPOIMPFIX}) {
            SCOPED_TRACE(box->name() + " " + std::to_string(shift));
            ASSERT_TRUE(w.user_focus(box));
            box->user_key(box == &w.TXT_GGSCADFIX2 ? kKeyTab : kKeyEnter, shift);
            EXPECT_EQ(w.GRIDNAV_RATE.current_button(), shift == 0 ? "Conferma" : "");
        }
    }
    // A new installment: "Conferma" once the shares add up to exactly 100, else "Nuovo"; three
    // thirds are not exactly 100 before normalising.
    for (const char* code : {"BB3060", "RB369"}) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(s.go_to(code));
        ASSERT_TRUE(w.GRID_CONDPAG.user_select_row(w.GRID_CONDPAG.row_count() - 1) &&
                    w.GRIDNAV_RATE.user_click("Elimina") && w.GRIDNAV_RATE.user_click("Nuovo"));
        w.CMB_TIPOIMPFIX.user_key(kKeyTab);
        EXPECT_EQ(w.focus(), &w.GRIDNAV_RATE);
        EXPECT_EQ(w.GRIDNAV_RATE.current_button(), code[0] == 'B' ? "Conferma" : "Nuovo");
        ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
    }

    // Header: Enter in its last box goes to the installment; in the analytic description, on.
    ASSERT_TRUE(s.go_to("RB369") && w.user_focus(&w.TXT_SCART26));
    EXPECT_EQ(w.TXT_SCART26.user_key(kKeyEnter), 0);
    EXPECT_EQ(w.focus()->name(), "CMB_TIPO");
    w.TXT_DESCANAL.user_key(kKeyEnter, kShiftCtrl);
    EXPECT_EQ(w.TabCondPag.tab(), 0);
    w.TXT_DESCANAL.user_key(kKeyEnter);
    EXPECT_EQ(w.TabCondPag.tab(), 1);

    // Shift periods: Enter or Tab out of the fixed date or the days of shift, no modifier,
    // suggests "Conferma" for a stored row and "Nuovo" for a new one.
    for (int shift : {kShiftShift, 0}) {
        for (int key : {kKeyTab, kKeyEnter}) {
            for (bool stored : {true, false}) {
                SCOPED_TRACE(std::to_string(stored) + std::to_string(key) + std::to_string(shift));
                ASSERT_TRUE(stored ? w.GRID_PERSLIT.user_select_row(1)  // shift type 3: fixed date
                                   : w.GRIDNAV_PERIODI.user_click("Nuovo"));
                EditBox& box = stored ? w.TXT_PERSLITGGMMSCAD : w.TXT_PERSLITSLIT;
                const std::string suggested = stored ? "Conferma" : "Nuovo";
                const std::string other = stored ? "Nuovo" : "Conferma";
                w.GRIDNAV_PERIODI.SelectButton(other);
                ASSERT_TRUE(w.user_focus(&box));
                box.user_key(key, shift);
                EXPECT_EQ(w.GRIDNAV_PERIODI.current_button(), shift == 0 ? suggested : other);
                if (!stored) {
                    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Annulla"));
                }
            }
        }
    }

    // Languages: Enter in the analytic description, whatever the modifiers; Tab goes on.
    ASSERT_TRUE(s.go_to("BB3060") && w.user_focus(&w.TXT_DESCRANALLINGUA));
    EXPECT_EQ(w.TXT_DESCRANALLINGUA.user_key(kKeyEnter, kShiftShift), 0);
    EXPECT_EQ(w.GRIDNAVL.current_button(), "Conferma");
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    w.GRIDNAVL.SelectButton("Conferma");
    ASSERT_TRUE(w.user_focus(&w.TXT_DESCRANALLINGUA));
    EXPECT_EQ(w.TXT_DESCRANALLINGUA.user_key(kKeyEnter), 0);
    EXPECT_EQ(w.GRIDNAVL.current_button(), "Nuovo");
    ASSERT_TRUE(w.user_focus(&w.TXT_DESCRANALLINGUA));
    EXPECT_EQ(w.TXT_DESCRANALLINGUA.user_key(kKeyTab), kKeyTab);
}

TEST(FieldRules, KeysOfStoredRowsStayAndNewOnesAreLookedUpAtOnce) {
    Session s;
    FRMCO_CONDPAG& w = s.open_on("RD");  // one language
    EXPECT_FALSE(w.TXT_CODLINGUA.enabled() || w.TXT_CODLINGUA.lookup_enabled());
    ASSERT_TRUE(w.GRIDNAVL.user_click("Nuovo"));
    EXPECT_TRUE(w.TXT_CODLINGUA.enabled() && w.TXT_CODLINGUA.lookup_enabled());
    // A language the term already has shows the stored row instead of a second one.
    ASSERT_TRUE(w.TXT_CODLINGUA.user_type("ENG") && w.user_focus(&w.TXT_DESCRLINGUA));
    EXPECT_EQ(w.FME_LINGUA.Status(), FrameStatus::View);
    EXPECT_EQ(w.TXT_DESCRLINGUA.text(), "Cash on invoice");
    EXPECT_EQ(w.GRID_LINGUA.row_count(), 1);

    // The language list is the host's, and a chosen language is decoded.
    LookupRequest languages;
    w.TXT_CODLINGUA_StartLookup(languages);
    DecodeRequest decode;
    w.TXT_CODLINGUA_StartDecode(decode);
    for (const std::string& host_text : {languages.host_text, decode.host_text}) {
        EXPECT_EQ(host_text, s.db.connection_string());
    }
    EXPECT_FALSE(languages.title.empty() || languages.columns.empty() ||
                 w.TXT_CODLINGUA.lookup_name().empty());
    EXPECT_TRUE(std::ranges::any_of(s.query(languages.statement), [](const auto& row) {
        return row.at(0) == "ENG";
    })) << languages.statement;

    ASSERT_TRUE(s.go_to("RB30FM"));                 // one period, 01/08-31/08
    ASSERT_TRUE(w.TXT_PERSLITSLIT.user_type("5"));  // a stored period changed keeps its limits
    EXPECT_EQ(w.FME_PERSLIT.Status(), FrameStatus::Change);
    EXPECT_FALSE(w.TXT_PERSLITDAGGMM.enabled());
    EXPECT_FALSE(w.TXT_PERSLITAGGMM.enabled());
    ASSERT_TRUE(w.INTERNAV.user_click("Annulla"));
    // A new period with stored limits shows the stored one when its limit is left.
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo"));
    EXPECT_TRUE(w.TXT_PERSLITAGGMM.enabled());
    ASSERT_TRUE(w.TXT_PERSLITDAGGMM.user_type("01/08") && w.TXT_PERSLITAGGMM.user_type("31/08") &&
                w.user_focus(&w.CMB_TIPOSLIT));
    EXPECT_EQ(w.FME_PERSLIT.Status(), FrameStatus::View);
    EXPECT_EQ(w.GRID_PERSLIT.row_count(), 1);
    // No list takes rows while the term is searched.
    ASSERT_TRUE(w.INTERNAV.user_click("Cerca"));
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.GRID_CONDPAG.row_count(), 0);

    // Rows entered before the code changes are saved under the code finally typed.
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo") && w.TXT_CODICE.user_type("PRIMA") &&
                s.add_installment("30", "100") && s.add_language("ENG", "First"))
        << s.last_message();
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Nuovo") && w.TXT_PERSLITDAGGMM.user_type("01/08") &&
                w.TXT_PERSLITAGGMM.user_type("31/08"));
    ASSERT_TRUE(w.GRIDNAV_PERIODI.user_click("Conferma") && w.TXT_CODICE.user_type("DOPO") &&
                w.user_focus(&w.TXT_DESCRIZIONE) && w.INTERNAV.user_click("Conferma"))
        << s.last_message();
    for (const char* table : {"CG63", "CG65", "CG6B"}) {
        EXPECT_EQ(
            s.term(table, "COUNT(*)", "PRIMA")[0][0] + s.term(table, "COUNT(*)", "DOPO")[0][0],
            "01")
            << table;
    }
    EXPECT_EQ(s.term("CG62", "CG62_FLGDESC, CG62_FLGSTORNOIVA, CG62_FLGDISGG", "DOPO"),
              (Rows{{"0", "0", "0"}}));  // a new term starts with every flag off
}

TEST(FieldRules, SubtypesAreLookedUpForTheStoredPaymentType) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ModalSecondaryWindows windows([](ModalWindow& window) {
        window.Show();
        auto& sub = dynamic_cast<FRMCO_SOTTOTIPI&>(window);
        ASSERT_TRUE(sub.GRIDNAV.user_click("Nuovo") && sub.TXT_CODICE.user_type("7") &&
                    sub.TXT_DESCRIZIONE.user_type("Bonifico estero") &&
                    sub.TXT_GGOFFSET.user_type("5"));
        ASSERT_TRUE(sub.GRIDNAV.user_click("Conferma"));
        EXPECT_TRUE(window.Unload());
    });
    w.SetSecondaryWindows(&windows);
    ASSERT_TRUE(s.go_to("BB3060"));
    ASSERT_EQ(w.CMB_TIPO.text(), "14");
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Bonifico SEPA");
    w.TXT_SOTTOTIPO.user_function_key("Kgestione");

    // The list the subtype box's button shows, looked at and left.
    auto* runner = dynamic_cast<HeadlessLookupRunner*>(w.lookup_runner());
    ASSERT_NE(runner, nullptr);
    runner->script = {std::nullopt};
    ASSERT_FALSE(w.TXT_SOTTOTIPO.user_lookup());
    ASSERT_EQ(runner->shown.size(), 1u);
    const LookupRequest& list = runner->shown[0];
    EXPECT_EQ(list.title, "Elenco sottotipi effetto del tipo 14");
    EXPECT_EQ(list.host_text, s.db.connection_string());
    ASSERT_EQ(list.columns.size(), 3u);  // code, description, days, as the list shows them
    EXPECT_EQ(list.columns[2].caption, "GG");
    EXPECT_EQ(w.TXT_SOTTOTIPO.lookup_name(), "Lkp_SottoTipiEffettiGG");
    EXPECT_TRUE(std::ranges::count(s.query(list.statement),
                                   std::vector<std::string>{"7", "Bonifico estero", "5"}))
        << list.statement;
    // Picking a type with subtypes decodes the code again for it.
    ASSERT_TRUE(w.CMB_TIPO.user_pick_value(2) && w.TXT_SOTTOTIPO.user_type("1") &&
                w.CMB_TIPO.user_pick_value(13));
    EXPECT_EQ(w.TXT_SOTTOTIPO.text(), "1");
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Assegno bancario");
}

TEST(FieldRules, MessagesNameTheirProcedureAndTheHostHearsOfOpenAndClose) {
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ASSERT_EQ(s.events.calls.size(), 1u);
    EXPECT_EQ(s.events.calls.back().open_flag, 1);  // qxOpen
    w.ShowMessage("Testo", kStyleInformation, "Informazione", "ContaRate");
    EXPECT_EQ(s.last_message(), "Testo\rFunzione: ContaRate");
    w.Form_DblClick();
    EXPECT_EQ(s.last_message(), "Modifica");
    // Leaving a changed term asks, in the window's words.
    ASSERT_TRUE(s.go_to("RD") && w.TXT_DESCRIZIONE.user_type("Cambiata"));
    s.messages.answers = {Answer::No};
    ASSERT_TRUE(s.go_to("RD30"));
    s.expect_told({"Salvare le modifiche apportate alla condizione di pagamento?"});
    // Closing settles the pending change first; the host hears of it and may still keep the
    // window open.
    struct Close {
        Answer settle;
        bool vetoed, closes;
    };
    for (const Close& c : {Close{Answer::Cancel, false, false}, Close{Answer::No, true, false},
                           Close{Answer::No, false, true}}) {
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Cambiata"));
        s.messages.answers = {c.settle};
        s.events.veto_close = c.vetoed;
        const size_t heard = s.events.calls.size();
        bool cancel = c.closes;
        w.Form_QueryUnload(cancel);
        EXPECT_EQ(cancel, !c.closes);
        ASSERT_EQ(s.events.calls.size(), heard + (c.settle == Answer::Cancel ? 0 : 1));
        EXPECT_EQ(s.events.calls.back().open_flag, c.settle == Answer::Cancel);  // 0: qxClose
    }

    // A language decoded by a window that has no decode service says so, naming the handler.
    FRMCO_CONDPAG unloaded;
    unloaded.SetInterface(&s.host);
    DecodeRequest decode;
    unloaded.TXT_CODLINGUA_StartDecode(decode);
    EXPECT_EQ(s.last_message().rfind("Errore in TXT_CODLINGUA_StartDecode ", 0), 0u)
        << s.last_message();
    EXPECT_TRUE(decode.statement.empty());
}

}  // namespace
}  // namespace condpag
