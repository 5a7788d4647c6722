#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/choice_controls.h"
#include "framework/choice_lists.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/navigators.h"
#include "rules/code_tables.h"

namespace condpag {
namespace {

struct Window : Form {
    Window() : Form("FRM_PROVA") {}
    EditBox TXT_CODICE{*this, "TXT_CODICE"};
    ComboBox CMB_TIPO{*this, "CMB_TIPO"};
    CheckBox CHK_DESAUTOM{*this, "CHK_DESAUTOM"};
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

    EXPECT_TRUE(w.TXT_CODICE.user_type("ABC"));
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

// Code moves the focus without a leave event; a hidden control never takes it.
TEST(Controls, CodeMovesTheFocusWithoutALeaveAndNeverToAHiddenControl) {
    Window w;
    w.TXT_CODICE.SetTextFocus();
    int left = 0;
    w.TXT_CODICE.Leave.connect([&] { ++left; });
    EXPECT_TRUE(w.set_focus(&w.CHK_DESAUTOM));
    EXPECT_EQ(left, 0);
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

TEST(Controls, NavigatorsAndTabsRefuseWhatIsNotAvailable) {
    Window w;
    RecordNavigator nav(w, "INTERNAV");
    std::vector<std::string> clicks;
    nav.Click.connect([&](const std::string& key) { clicks.push_back(key); });
    EXPECT_FALSE(nav.ButtonAvailable("Esporta"));  // only in called mode
    nav.SetCalled(true);
    EXPECT_TRUE(nav.user_click("Esporta"));
    EXPECT_TRUE(nav.ExecuteCommand("Avanti"));  // code: no click
    nav.EnableButton("Avanti", false);
    EXPECT_FALSE(nav.user_click("Avanti"));
    EXPECT_EQ(clicks, std::vector<std::string>{"Esporta"});

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
}

}  // namespace
}  // namespace condpag
