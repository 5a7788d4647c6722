#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/choice_controls.h"
#include "framework/choice_lists.h"
#include "framework/data_format.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/layout_control.h"
#include "framework/lookup_runner.h"
#include "framework/navigators.h"
#include "rules/code_tables.h"

namespace condpag {
namespace {

struct Window : Form {
    Window() : Form("FRM_PROVA") {}
    EditBox TXT_CODICE{*this, "TXT_CODICE"};
    ComboBox CMB_TIPO{*this, "CMB_TIPO"};
    CheckBox CHK_DESAUTOM{*this, "CHK_DESAUTOM"};
    Label LBL_CODICE{*this, "LBL_CODICE", "Codice"};
    LookupBox TXT_SOTTOTIPO{*this, "TXT_SOTTOTIPO"};
    EditBox TXT_DECODSTIPO{*this, "TXT_DECODSTIPO"};
    GridNavigator GRIDNAV_RATE{*this, "GRIDNAV_RATE"};
};

// Counts every event of the window's controls by name, user events apart.
struct Recorder {
    std::vector<std::string> user, values;
    explicit Recorder(Window& w) {
        w.TXT_CODICE.Change.connect([this] { values.push_back("TXT_CODICE.Change"); });
        w.TXT_CODICE.Leave.connect([this] { user.push_back("TXT_CODICE.Leave"); });
        w.CMB_TIPO.ValueChanged.connect(
            [this](const std::string& v) { values.push_back("CMB_TIPO.ValueChanged " + v); });
        w.CMB_TIPO.Pick.connect([this] { user.push_back("CMB_TIPO.Pick"); });
        w.CHK_DESAUTOM.Change.connect([this] { values.push_back("CHK_DESAUTOM.Change"); });
        w.CHK_DESAUTOM.Click.connect([this] { user.push_back("CHK_DESAUTOM.Click"); });
        for (Control* c : {static_cast<Control*>(&w.TXT_CODICE), static_cast<Control*>(&w.CMB_TIPO),
                           static_cast<Control*>(&w.CHK_DESAUTOM)}) {
            c->Edited.connect([this, c] { user.push_back(c->name() + ".Edited"); });
        }
    }
};

TEST(Controls, CodeWritesRaiseOnlyValueEventsAndPersonsRaiseUserEvents) {
    Window w;
    ASSERT_TRUE(load_CMB_TIPO(w));
    Recorder events(w);

    w.TXT_CODICE.set_text("RD");
    w.CMB_TIPO.select_value(Value(13));
    w.CMB_TIPO.set_text("13");  // same code again: nothing
    w.CHK_DESAUTOM.set_text("1");
    EXPECT_TRUE(events.user.empty());
    EXPECT_EQ(events.values,
              (std::vector<std::string>{"TXT_CODICE.Change", "CMB_TIPO.ValueChanged 13",
                                        "CHK_DESAUTOM.Change"}));
    EXPECT_FALSE(w.TXT_CODICE.changed() || w.CMB_TIPO.changed() || w.CHK_DESAUTOM.changed());
    EXPECT_EQ(w.CMB_TIPO.code(), 13);
    EXPECT_EQ(w.CHK_DESAUTOM.text(), "1");

    events.values.clear();
    w.TXT_CODICE.set_max_length(3);
    w.TXT_CODICE.set_upper_case(true);
    EXPECT_TRUE(w.TXT_CODICE.user_type("abcd"));
    EXPECT_EQ(w.TXT_CODICE.text(), "ABC");
    EXPECT_TRUE(w.CMB_TIPO.user_pick_value(Value("5")));  // moving to the list leaves the box
    EXPECT_TRUE(w.CHK_DESAUTOM.user_click());
    EXPECT_EQ(events.user, (std::vector<std::string>{"TXT_CODICE.Edited", "TXT_CODICE.Leave",
                                                     "CMB_TIPO.Edited", "CMB_TIPO.Pick",
                                                     "CHK_DESAUTOM.Edited", "CHK_DESAUTOM.Click"}));
    EXPECT_TRUE(w.TXT_CODICE.changed() && w.CMB_TIPO.changed() && w.CHK_DESAUTOM.changed());
    EXPECT_EQ(w.CHK_DESAUTOM.text(), "0");

    // A value not in the list clears the selection; a disabled control refuses a person.
    w.CMB_TIPO.select_value(Value(42));
    EXPECT_EQ(w.CMB_TIPO.text(), "");
    EXPECT_EQ(w.CMB_TIPO.list_index(), -1);
    w.CMB_TIPO.enable(false);
    EXPECT_FALSE(w.CMB_TIPO.user_pick(0));
    w.TXT_CODICE.set_editable(false);
    EXPECT_FALSE(w.TXT_CODICE.user_type("X"));
    EXPECT_EQ(w.TXT_CODICE.text(), "ABC");
}

TEST(Controls, KeysMoveTheFocusThroughPendingEventsUnlessSwallowed) {
    Window w;
    load_CMB_TIPO(w);
    w.set_tab_order({&w.TXT_CODICE, &w.CMB_TIPO, &w.GRIDNAV_RATE});
    w.TXT_CODICE.SetTextFocus();
    Control* seen_after_events = nullptr;
    w.CMB_TIPO.KeyDown.connect([&](int&, int) {
        w.DoEvents();
        seen_after_events = w.focus();
    });
    int left = 0;
    w.TXT_CODICE.Leave.connect([&] { ++left; });

    EXPECT_EQ(w.TXT_CODICE.user_key(kKeyEnter, kShiftNone), kKeyEnter);
    EXPECT_EQ(w.focus(), &w.CMB_TIPO);
    EXPECT_EQ(left, 1);
    w.CMB_TIPO.user_key(kKeyTab, kShiftNone);
    EXPECT_EQ(seen_after_events, &w.GRIDNAV_RATE);

    // A swallowed key moves nothing; Validate can keep the focus in the box.
    w.TXT_CODICE.SetTextFocus();
    w.TXT_CODICE.KeyDown.connect([](int& key, int) { key = 0; });
    EXPECT_EQ(w.TXT_CODICE.user_key(kKeyTab, kShiftNone), 0);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
    w.TXT_CODICE.Validate.connect([](bool& cancel) { cancel = true; });
    EXPECT_FALSE(w.user_focus(&w.CMB_TIPO));
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
    EXPECT_EQ(left, 1);
    // Code moves the focus without a leave event; a hidden control never takes it.
    EXPECT_TRUE(w.set_focus(&w.CHK_DESAUTOM));
    w.CMB_TIPO.show(false);
    EXPECT_FALSE(w.set_focus(&w.CMB_TIPO));
    EXPECT_EQ(w.focus(), &w.CHK_DESAUTOM);
}

TEST(Controls, LoadersFillTheirListsFromTheCodeTables) {
    Window w;
    w.CMB_TIPO.AddItemData("vecchia", Value(1));
    for (const char* list :
         {"CMB_TIPO", "CMB_TIPODECORR", "CMB_CALENDARIO", "CMB_DATARIF", "CMB_FLGFRPERCIMP",
          "CMB_FLGFRPERCIVA", "CMB_TIPOIMPFIX", "CMB_TIPOSLIT"}) {
        Form other("FRM_ALTRA");
        ComboBox box(other, list);
        ASSERT_TRUE(load_choice_list(other, list)) << list;
        auto table = code_table(*table_of_choice_list(list));
        ASSERT_EQ(box.items().size(), table.size()) << list;
        for (size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(box.items()[i].label, table[i].list_label) << list;
            EXPECT_TRUE(same_code(Value(box.items()[i].value), Value(table[i].value))) << list;
        }
        EXPECT_FALSE(box.AutoOpen);
    }
    ASSERT_TRUE(load_CMB_TIPO(w));
    EXPECT_NE(w.CMB_TIPO.items().front().label, "vecchia");
    EXPECT_FALSE(load_CMB_TIPOSLIT(w));  // this window has no such list
}

TEST(Controls, DayMonthFormatConvertsBothWays) {
    StdDataFormat format;
    use_day_month(format);
    for (auto [stored, shown] : {std::pair{1231, "31/12"}, {815, "15/08"}, {301, "01/03 "}}) {
        EXPECT_EQ(RTrimN(format.format(Value(stored))), RTrimN(shown));
        EXPECT_TRUE(same_code(format.unformat(Value(shown)), Value(stored))) << shown;
    }
    EXPECT_TRUE(format.format(Value()).is_null());
    EXPECT_TRUE(format.unformat(Value("")).is_null());
}

TEST(Controls, LookupBoxDecodesCodesAndListsRowsThroughItsRunner) {
    struct Runner : LookupRunner {
        std::vector<std::string> statements;
        Expected<QueryResult> Run(const std::string& statement, const std::string&) override {
            statements.push_back(statement);
            QueryResult result{{"CODE", "DESCR"}, {}, {}};
            if (statement.find("'7'") != std::string::npos || statement == "LIST") {
                result.rows.push_back({Value(7), Value("Sette  ")});
            }
            return result;
        }
        std::optional<size_t> Choose(const LookupRequest&, const QueryResult&) override {
            return 0;
        }
    } runner;
    Window w;
    w.set_lookup_runner(&runner);
    w.TXT_SOTTOTIPO.StartDecode.connect([&](DecodeRequest& request) {
        request.statement = "DECODE '" + w.TXT_SOTTOTIPO.text() + "'";
        request.targets.push_back({"descr", &w.TXT_DECODSTIPO});
    });
    w.TXT_SOTTOTIPO.StartLookup.connect([](LookupRequest& request) { request.statement = "LIST"; });
    int items = 0;
    w.TXT_SOTTOTIPO.AfterItem.connect([&] { ++items; });

    w.TXT_SOTTOTIPO.set_text("7");  // a code shown by code is decoded at once, with no item
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Sette");
    EXPECT_EQ(items, 0);
    w.TXT_SOTTOTIPO.user_type("8");
    EXPECT_EQ(runner.statements.size(), 1u);  // typing decodes only on leaving
    w.user_focus(&w.CMB_TIPO);
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "");
    EXPECT_EQ(items, 1);
    EXPECT_TRUE(w.TXT_SOTTOTIPO.user_lookup());
    EXPECT_EQ(w.TXT_SOTTOTIPO.text(), "7");
    EXPECT_EQ(w.TXT_DECODSTIPO.text(), "Sette");
    EXPECT_EQ(items, 2);
    w.TXT_SOTTOTIPO.enable_lookup(false);
    EXPECT_FALSE(w.TXT_SOTTOTIPO.user_lookup());
}

TEST(Controls, NavigatorsAndLayoutKeepTheirButtonsAndRegistrations) {
    Window w;
    RecordNavigator nav(w, "INTERNAV");
    std::vector<std::string> clicks;
    nav.Click.connect([&](const std::string& key) { clicks.push_back(key); });
    nav.AddButton("CMD_STAMPA", "&Stampa", "Conferma");
    nav.AddButton("CMD_STAMPA", "&Stampa", "Conferma");
    std::string keys;
    for (const auto& b : nav.buttons()) keys += " " + b.key + " ";
    EXPECT_NE(keys.find(" Conferma  CMD_STAMPA "), std::string::npos) << keys;
    EXPECT_EQ(keys.find("CMD_STAMPA"), keys.rfind("CMD_STAMPA")) << keys;  // added once
    EXPECT_FALSE(nav.ButtonAvailable("Esporta"));                          // only in called mode
    nav.SetCalled(true);
    EXPECT_TRUE(nav.user_click("Esporta"));
    EXPECT_TRUE(nav.ExecuteCommand("Avanti"));  // code: no click
    nav.EnableButton("Avanti", false);
    EXPECT_FALSE(nav.user_click("Avanti"));
    EXPECT_EQ(clicks, std::vector<std::string>{"Esporta"});

    w.GRIDNAV_RATE.SelectButton("Conferma");
    EXPECT_EQ(w.GRIDNAV_RATE.current_button(), "Conferma");
    EXPECT_EQ(w.focus(), &w.GRIDNAV_RATE);
    EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));  // no frame to drive
    std::vector<std::string> pressed;
    w.GRIDNAV_RATE.AfterButtonClick.connect(
        [&](bool ok, const std::string& key) { pressed.push_back(key + std::to_string(ok)); });
    w.GRIDNAV_RATE.SelectButton("Esporta");
    w.GRIDNAV_RATE.user_key(kKeyEnter, kShiftNone);  // Enter presses the current button
    EXPECT_EQ(pressed, std::vector<std::string>{"Esporta1"});

    TabStrip tabs(w, "TabCondPag", {"Rate", "Note", "Periodi", "Lingue"});
    int tab_clicks = 0;
    tabs.Click.connect([&] { ++tab_clicks; });
    tabs.set_tab(3);
    tabs.set_tab(4);  // out of range
    EXPECT_EQ(tabs.tab(), 3);
    tabs.enable(false);
    EXPECT_FALSE(tabs.user_click(0));
    EXPECT_EQ(tab_clicks, 1);

    LayoutControl layout(w, "LAYOUT");
    layout.Registration.connect([&] {
        layout.Register(w.TXT_CODICE, 10);
        layout.Register(w.GRIDNAV_RATE, 12);
    });
    layout.Start();
    layout.Start();
    layout.Arrange();
    ASSERT_EQ(layout.registered().size(), 2u);
    EXPECT_EQ(layout.registered()[1].control, &w.GRIDNAV_RATE);
    EXPECT_EQ(layout.registered()[1].code, 12);
    EXPECT_EQ(layout.arrangements(), 1);
}

}  // namespace
}  // namespace condpag
