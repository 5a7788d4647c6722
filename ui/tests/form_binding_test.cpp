// The binding proved through the widgets: what the controls hold shows, what a person does with
// the widgets reaches the controls' user entry points.

#include "ui/form_binding.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "framework/choice_controls.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/grid.h"
#include "framework/lookup_runner.h"
#include "framework/navigators.h"
#include "storage/testing/demo_database.h"
#include "ui/grid_model.h"
#include "ui/lookup_dialog.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

struct TestWindow : Form {
    TestWindow() : Form("TEST") {}
    EditBox code{*this, "TXT_CODICE"};
    EditBox day{*this, "TXT_GGMMFIX"};
    LookupBox language{*this, "TXT_CODLINGUA"};
    EditBox language_name{*this, "TXT_DCODLINGUA"};
    ComboBox kind{*this, "CMB_TIPO"};
    CheckBox flag{*this, "CHK_DESAUTOM"};
    TabStrip tabs{*this, "TabCondPag", {"Rate", "Descrizione", "Slittamenti", "Lingue"}};
    Grid grid{*this, "GRID_CONDPAG"};
    GridNavigator navigator{*this, "GRIDNAV_RATE"};
    RecordNavigator record{*this, "INTERNAV"};
};

class FormBindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(connection) << database.error();
        // The window handles the language box's management key: the box offers it too.
        window.language.FunctionKey.connect([this](const std::string& key) {
            if (key == "Kgestione") ++managed;
        });
        binding = std::make_unique<FormBinding>(window);
        auto* column = new QVBoxLayout(&host);
        for (Control* control : window.controls())
            column->addWidget(binding->widget(*control, &host));
        host.resize(500, 700);
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    template <typename W>
    W* find(const char* name) {
        return host.findChild<W*>(name);
    }

    QApplication& app = testing::application();  // before any widget
    condpag::testing::DemoDatabase database;
    Expected<Connection> connection = database.connect();
    TestWindow window;
    QWidget host;
    std::unique_ptr<FormBinding> binding;
    int managed = 0;
};

TEST_F(FormBindingTest, EditBoxesShowTheirStateAndTakeWhatIsTyped) {
    auto* code = find<QLineEdit>("TXT_CODICE");
    window.code.set_max_length(5);
    window.code.set_upper_case(true);
    int edits = 0;
    window.code.Edited.connect([&] { ++edits; });
    // The window keeps codes without trailing blanks; typing a blank between words still works.
    window.code.Change.connect([&] {
        std::string text = window.code.text();
        while (!text.empty() && text.back() == ' ') text.pop_back();
        window.code.set_text(text);
    });
    QTest::mouseClick(code, Qt::LeftButton);
    QTest::keyClicks(code, "a b'cdef");
    EXPECT_EQ(window.code.text(), "A B'C");
    EXPECT_EQ(code->text(), "A B'C");
    EXPECT_EQ(edits, 5);

    window.day.set_text("31/02");
    window.day.set_valid(false);
    auto* day = find<QLineEdit>("TXT_GGMMFIX");
    EXPECT_EQ(day->text(), "31/02");
    EXPECT_TRUE(day->property("invalid").toBool());
    window.day.set_valid(true);
    EXPECT_FALSE(day->property("invalid").toBool());
    window.day.enable2(false);
    EXPECT_FALSE(day->isEnabled());
    window.day.enable2(true);
    window.day.set_editable(false);
    EXPECT_TRUE(day->isReadOnly());
    window.day.show(false);
    EXPECT_TRUE(day->isHidden());
}

TEST_F(FormBindingTest, FocusAndKeysFollowTheWindow) {
    auto* code = find<QLineEdit>("TXT_CODICE");
    auto* day = find<QLineEdit>("TXT_GGMMFIX");
    int leaves = 0;
    window.code.Leave.connect([&] { ++leaves; });
    std::vector<std::pair<int, int>> keys;
    bool swallow_enter = false;
    window.day.KeyDown.connect([&](int& key, int shift) {
        keys.emplace_back(key, shift);
        if (key == kKeyEnter && swallow_enter) key = 0;
    });

    QTest::mouseClick(code, Qt::LeftButton);
    EXPECT_EQ(window.focus(), &window.code);
    QTest::keyClick(code, Qt::Key_Tab);  // the window's tab order: code, then day
    EXPECT_EQ(window.focus(), &window.day);
    EXPECT_TRUE(day->hasFocus());
    EXPECT_EQ(leaves, 1);

    swallow_enter = true;
    QTest::keyClick(day, Qt::Key_Return);
    EXPECT_EQ(window.focus(), &window.day) << "a swallowed Enter moves nothing";
    swallow_enter = false;
    QTest::keyClick(day, Qt::Key_Return);
    EXPECT_EQ(window.focus(), &window.language);
    EXPECT_TRUE(find<QLineEdit>("TXT_CODLINGUA")->hasFocus());
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], std::make_pair(kKeyEnter, 0));

    window.code.SetTextFocus();  // the window moves the focus itself
    EXPECT_TRUE(code->hasFocus());
    window.code.enable(false);
    QTest::mouseClick(code, Qt::LeftButton);
    QTest::mouseClick(day, Qt::LeftButton);
    EXPECT_EQ(window.focus(), &window.day);
}

TEST_F(FormBindingTest, ChoicesTicksTabsGridAndNavigator) {
    window.kind.AddItemData("Rimessa diretta", Value(1));
    window.kind.AddItemData("Ricevuta bancaria", Value(2));
    window.kind.AddItemData("Bonifico", Value(3));
    auto* combo = find<QComboBox>("CMB_TIPO");
    window.kind.select_value(Value("2"));
    EXPECT_EQ(combo->currentIndex(), 1);
    window.flag.set_checked(true);
    EXPECT_TRUE(find<QCheckBox>("CHK_DESAUTOM")->isChecked());

    auto* tabs = find<QTabWidget>("TabCondPag");
    tabs->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(window.tabs.tab(), 2);
    window.tabs.enable(false);
    EXPECT_FALSE(tabs->tabBar()->isEnabled());
    tabs->tabBar()->setCurrentIndex(0);  // refused by the strip: the page stays
    EXPECT_EQ(tabs->currentIndex(), 2);

    Recordset terms;
    const std::string source =
        "SELECT CG62_CODPAG, CG62_FLGDESC FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG";
    ASSERT_TRUE(terms.Open(source, *connection));
    window.grid.CellDisplay.connect([](const std::string& column, std::string& text) {
        if (column == "CG62_FLGDESC") text = text == "1" ? "Sì" : "No";
    });
    std::vector<long> selected;
    window.grid.RowSelected.connect([&](long row) {
        selected.push_back(row);
        terms.SetAbsolutePosition(row + 1);
    });
    window.grid.layout().AddColumn("CG62_CODPAG", "Codice", 1, 1200, true);
    window.grid.layout().AddColumn("CG62_FLGDESC", "Automatica", 1, 900, true);
    window.grid.layout().Apply();
    window.grid.set_recordset(&terms);
    auto* view = find<QTableView>("GRID_CONDPAG");
    ASSERT_EQ(view->model()->rowCount(), terms.RecordCount());
    EXPECT_EQ(view->columnWidth(0), 80);
    QString shown = view->model()->index(0, 1).data().toString();
    EXPECT_TRUE(shown == "Sì" || shown == "No") << shown.toStdString();
    QRect second = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
    QApplication::processEvents();
    EXPECT_EQ(selected, std::vector<long>{1});
    EXPECT_EQ(view->currentIndex().row(), 1);
    // A set closed and opened again within one event keeps its rows shown throughout; one left
    // closed shows nothing once the event is over.
    const int count = view->model()->rowCount();
    terms.Close();
    window.grid.refresh();
    EXPECT_EQ(view->model()->rowCount(), count);
    ASSERT_TRUE(terms.Open(source, *connection));
    window.grid.refresh();
    QApplication::processEvents();
    EXPECT_EQ(view->model()->rowCount(), count);
    terms.Close();
    window.grid.refresh();
    QApplication::processEvents();
    EXPECT_EQ(view->model()->rowCount(), 0);
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    // Other columns laid out over rows already shown: captions and cells both follow.
    ASSERT_TRUE(terms.Open(source, *connection));
    window.grid.refresh();
    window.grid.layout().AddColumn("CG62_CODPAG", "Condizione", 1, 1500, true);
    window.grid.layout().Apply();
    EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString(), "Condizione");
    EXPECT_EQ(view->model()->index(0, 2).data(), view->model()->index(0, 0).data());
    EXPECT_EQ(view->verticalHeader()->count(), terms.RecordCount());

    std::vector<std::string> pressed;
    window.navigator.ButtonClick.connect([&](const std::string& key) { pressed.push_back(key); });
    EXPECT_TRUE(find<QToolButton>("INTERNAV.Esporta")->isHidden()) << "shown only when called";
    EXPECT_FALSE(find<QToolButton>("INTERNAV.Avanti")->isHidden());
    window.navigator.EnableButton("Nuovo", false);
    EXPECT_FALSE(find<QToolButton>("GRIDNAV_RATE.Nuovo")->isEnabled());
    // Clicked, the navigator takes the window's focus: its current button takes the widget's.
    QTest::mouseClick(find<QToolButton>("GRIDNAV_RATE.Conferma"), Qt::LeftButton);
    window.navigator.SelectButton("Esporta");
    EXPECT_TRUE(find<QToolButton>("GRIDNAV_RATE.Esporta")->hasFocus());
    QTest::keyClick(find<QToolButton>("GRIDNAV_RATE.Esporta"), Qt::Key_Return);
    EXPECT_EQ(pressed, (std::vector<std::string>{"Conferma", "Esporta"}));
    EXPECT_EQ(window.focus(), &window.navigator);
}

TEST_F(FormBindingTest, LookupListFiltersAndFillsTheBox) {
    QtLookupRunner runner(*connection, &host);
    window.set_lookup_runner(&runner);
    window.language.StartLookup.connect([](LookupRequest& request) {
        request.statement = "SELECT MG52_CODICE, MG52_DESCR FROM MG52_LINGUE ORDER BY MG52_CODICE";
        request.columns = {{"Codice", ""}, {"Lingua", ""}};
        request.title = "Elenco lingue";
    });
    window.language.StartDecode.connect([this](DecodeRequest& request) {
        request.statement = "SELECT MG52_DESCR FROM MG52_LINGUE WHERE MG52_CODICE = '" +
                            window.language.text() + "'";
        request.targets = {{"MG52_DESCR", &window.language_name}};
    });
    int items = 0;
    window.language.AfterItem.connect([&] { ++items; });

    std::string title, header;
    int rows_after_filter = -1;
    testing::when_modal([&](QWidget* dialog) {
        auto* list = static_cast<LookupDialog*>(dialog);
        title = list->windowTitle().toStdString();
        header = list->table()->model()->headerData(1, Qt::Horizontal).toString().toStdString();
        QTest::keyClicks(list->filter(), "ted");
        rows_after_filter = list->shown_rows();
        QTest::keyClick(list->filter(), Qt::Key_Return);
    });
    auto* box = find<QLineEdit>("TXT_CODLINGUA");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_F4);
    EXPECT_EQ(title, "Elenco lingue");
    EXPECT_EQ(header, "Lingua");
    EXPECT_EQ(rows_after_filter, 1);
    EXPECT_EQ(window.language.text(), "DEU");
    EXPECT_EQ(box->text(), "DEU");
    EXPECT_EQ(find<QLineEdit>("TXT_DCODLINGUA")->text(), "Tedesco");
    EXPECT_EQ(items, 1);

    testing::when_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    QTest::mouseClick(find<QToolButton>("TXT_CODLINGUA_button"), Qt::LeftButton);
    EXPECT_EQ(window.language.text(), "DEU") << "a cancelled list changes nothing";
    EXPECT_EQ(items, 1);

    // The box's context menu offers the list, after a separator, only while the box may be
    // looked up; chosen, it opens the list. Its management entry, F6 and its button reach the
    // window whether the list is offered or not.
    int lists = 0;
    for (const bool offered : {false, true}) {
        window.language.enable_lookup(offered);
        bool entry_enabled = !offered;
        testing::when_modal([&](QWidget* menu) {
            const QList<QAction*> actions = menu->actions();
            QAction* entry = nullptr;
            for (qsizetype i = 1; i < actions.size(); ++i) {
                if (actions[i]->objectName() == "manage" && !offered) actions[i]->trigger();
                if (!actions[i]->text().startsWith("Elenco")) continue;
                entry = actions[i];
                entry_enabled = entry->isEnabled();
                EXPECT_TRUE(actions[i - 1]->isSeparator());
            }
            menu->close();
            if (entry == nullptr || !offered) return;
            testing::when_modal([&](QWidget* list) {
                ++lists;
                static_cast<QDialog*>(list)->reject();
            });
            entry->trigger();
        });
        QContextMenuEvent right_click(QContextMenuEvent::Mouse, box->rect().center(),
                                      box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &right_click);
        EXPECT_EQ(entry_enabled, offered);
    }
    EXPECT_EQ(lists, 1);
    QTest::keyClick(box, Qt::Key_F6);
    QTest::mouseClick(find<QToolButton>("TXT_CODLINGUA_manage"), Qt::LeftButton);
    EXPECT_EQ(managed, 3);
}

}  // namespace
}  // namespace condpag::ui
