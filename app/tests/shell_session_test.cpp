// Sessions on the shell driven through the widgets only, each on a fresh demo database; what was
// stored is read back from the file afterwards.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "app/shell/host_window.h"
#include "editor/FRMCO_CONDPAG.h"
#include "storage/testing/demo_database.h"
#include "ui/editor_view.h"
#include "ui/tests/qt_support.h"

namespace condpag::shell {
namespace {

struct Shown {
    std::string title;
    std::string text;
};

class ShellSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::testing::application();
        ASSERT_TRUE(database.ok()) << database.error();
        host = std::make_unique<HostWindow>(ShellOptions{database.connection_string(), 0, "", ""});
        host->show();
        ASSERT_EQ(host->open_payment_terms(), "");
        host->fit_to_editor();
        QApplication::setActiveWindow(host.get());
        for (int i = 0; i < 50 && !host->isActiveWindow(); ++i) settle();
        ASSERT_TRUE(host->isActiveWindow());
        settle();
    }
    void TearDown() override { host.reset(); }

    FRMCO_CONDPAG& window() { return *host->component()->window(); }
    template <typename W = QWidget>
    W* widget(const char* name) {
        W* found = host->findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    void toolbar(const char* key) {
        QAction* action = host->action(key);
        ASSERT_TRUE(action->isEnabled()) << key;
        action->trigger();
        settle();
    }
    // Clicks into a box and types over what it holds.
    void type(const char* box, const char* text) {
        auto* edit = widget<QLineEdit>(box);
        ui::testing::click(edit);
        ui::testing::key(edit, Qt::Key_A, Qt::ControlModifier);
        ui::testing::type_text(edit, text);
        settle();
    }
    void press(const char* navigator_button) {
        ui::testing::click(widget<QToolButton>(navigator_button));
        settle();
    }
    void go_to(const std::string& code) {
        for (int i = 0; i < 30 && window().TXT_CODICE.text() != code; ++i) toolbar("Successivo");
        ASSERT_EQ(window().TXT_CODICE.text(), code);
    }
    // Presses a navigator button expecting a message box; answers what it showed.
    Shown press_expecting_message(const char* navigator_button, bool toolbar_key = false) {
        Shown shown;
        ui::testing::when_modal([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            shown = {dialog->windowTitle().toStdString(),
                     box ? box->text().toStdString() : std::string()};
            if (box)
                box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click()
                                             : box->reject();
        });
        if (toolbar_key) {
            toolbar(navigator_button);
        } else {
            press(navigator_button);
        }
        return shown;
    }
    std::vector<std::vector<Value>> stored(const std::string& sql) {
        auto connection = database.connect();
        EXPECT_TRUE(connection.ok());
        auto rows = connection->Execute(sql);
        EXPECT_TRUE(rows.ok()) << sql;
        return rows ? rows->rows : std::vector<std::vector<Value>>{};
    }

    condpag::testing::DemoDatabase database;
    std::unique_ptr<HostWindow> host;
};

TEST_F(ShellSession, AddingAnInstallmentToAStoredTermSavesItWithTotalsAndDescription) {
    go_to("RB3060");
    EXPECT_EQ(host->status_text(), "Visualizzazione");
    EXPECT_FALSE(host->action("Salva")->isEnabled());
    auto* grid = widget<QTableView>("GRID_CONDPAG");
    ASSERT_EQ(grid->model()->rowCount(), 2);
    std::string old_description = window().TXT_DESCRIZIONE.text();

    auto* automatic = widget<QCheckBox>("CHK_DESAUTOM");
    ui::testing::click(automatic, QPoint(8, automatic->height() / 2));
    settle();
    EXPECT_EQ(host->status_text(), "Modifica");
    ui::testing::click(grid->viewport(), grid->visualRect(grid->model()->index(1, 0)).center());
    settle();
    EXPECT_EQ(widget<QLineEdit>("TXT_NUMRATA")->text(), "2");
    type("TXT_IMP", "25");
    type("TXT_IVA", "25");
    press("GRIDNAV_RATE.Conferma");
    EXPECT_EQ(widget<QLineEdit>("TXT_TOTIMP")->text(), "75");

    press("GRIDNAV_RATE.Nuovo");
    EXPECT_EQ(widget<QLineEdit>("TXT_NUMRATA")->text(), "3");
    EXPECT_EQ(widget<QLineEdit>("TXT_GGDECOR")->text(), "90") << "the new row follows the last";
    press("GRIDNAV_RATE.Conferma");
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(widget<QLineEdit>("TXT_TOTIMP")->text(), "100");
    EXPECT_EQ(widget<QLineEdit>("TXT_TOTIVA")->text(), "100");
    std::string description = widget<QLineEdit>("TXT_DESCRIZIONE")->text().toStdString();
    EXPECT_NE(description, old_description);
    EXPECT_FALSE(description.empty());

    toolbar("Salva");
    EXPECT_EQ(host->status_text(), "Visualizzazione");
    auto rows = stored(
        "SELECT CG63_PROG, CG63_PERCIMP, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
        "CG63_CODPAG_CG62 = 'RB3060' ORDER BY CG63_PROG");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][1].to_text(), "25");
    EXPECT_EQ(rows[2][1].to_text(), "25");
    EXPECT_EQ(rows[2][2].to_text(), "90");
    auto header = stored(
        "SELECT CG62_DESCPAG, CG62_FLGDESC FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'RB3060'");
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(RTrimN(header[0][0]), description);
    EXPECT_EQ(header[0][1].to_text(), "1");
}

TEST_F(ShellSession, NewTermsAreRefusedBelowHundredAndKeepQuotedCodes) {
    toolbar("Nuovo");
    EXPECT_EQ(host->status_text(), "Inserimento");
    EXPECT_FALSE(widget<QTabWidget>("TabCondPag")->tabBar()->isEnabled());
    type("TXT_CODICE", "MEZ'ZO");
    ui::testing::key(widget<QLineEdit>("TXT_CODICE"), Qt::Key_Tab);
    settle();
    EXPECT_TRUE(widget<QTabWidget>("TabCondPag")->tabBar()->isEnabled());
    type("TXT_DESCRIZIONE", "Meta' a 30 giorni");
    press("GRIDNAV_RATE.Nuovo");
    type("TXT_GGDECOR", "30");
    type("TXT_IMP", "50");
    type("TXT_IVA", "50");
    press("GRIDNAV_RATE.Conferma");

    Shown refusal = press_expecting_message("Salva", true);
    EXPECT_EQ(refusal.text, "Somma delle percentuali di imponibile diversa da 100");
    EXPECT_EQ(refusal.title, "Attenzione");
    settle();
    EXPECT_EQ(window().focus(), &window().TXT_IMP);
    EXPECT_EQ(host->focusWidget(), widget<QLineEdit>("TXT_IMP"));
    EXPECT_TRUE(stored("SELECT * FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'MEZ''ZO'").empty());
    EXPECT_TRUE(stored("SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'MEZ''ZO'").empty());

    // Brought to 100, the same term with its quote is stored and found again.
    type("TXT_IMP", "100");
    type("TXT_IVA", "100");
    press("GRIDNAV_RATE.Conferma");
    toolbar("Salva");
    ASSERT_EQ(stored("SELECT * FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'MEZ''ZO'").size(), 1u);
    toolbar("Primo");
    toolbar("Cerca");
    EXPECT_EQ(host->status_text(), "Ricerca");
    type("TXT_CODICE", "MEZ'ZO");
    toolbar("Cerca");
    EXPECT_EQ(window().TXT_CODICE.text(), "MEZ'ZO");
    EXPECT_EQ(widget<QLineEdit>("TXT_DESCRIZIONE")->text(), "Meta' a 30 giorni");
    EXPECT_EQ(widget<QTableView>("GRID_CONDPAG")->model()->rowCount(), 1);
}

TEST_F(ShellSession, AccentedTextsTypedOverTheLimitAreStoredWholeCharacters) {
    toolbar("Nuovo");
    type("TXT_CODICE", "ÀÉ€ÀÉ€Z");
    ui::testing::key(widget<QLineEdit>("TXT_CODICE"), Qt::Key_Tab);
    settle();
    QString description;
    for (int i = 0; i < 41; ++i) description += i % 2 ? QString("è") : QString("à");
    auto* box = widget<QLineEdit>("TXT_DESCRIZIONE");
    ui::testing::click(box);
    ui::testing::type_text(box, description);
    settle();
    press("GRIDNAV_RATE.Nuovo");
    type("TXT_GGDECOR", "30");
    type("TXT_IMP", "100");
    type("TXT_IVA", "100");
    press("GRIDNAV_RATE.Conferma");
    toolbar("Salva");
    const std::string code = "ÀÉ€ÀÉ€";
    auto rows = stored(
        "SELECT CG62_CODPAG, CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" + code + "'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].to_text(), code);
    EXPECT_EQ(rows[0][1].to_text(), description.left(40).toStdString());
    EXPECT_EQ(
        stored("SELECT CG63_PROG FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '" + code + "'")
            .size(),
        1u);
}

TEST_F(ShellSession, MalformedFixedDayMonthIsMarkedAndRefused) {
    go_to("RD30");
    // The start rule chosen with the keyboard, as a person does on a closed list.
    auto* start_rule = widget<QComboBox>("CMB_TIPODECORR");
    for (int i = 0; i < 6 && window().CMB_TIPODECORR.text() != "3"; ++i) {
        ui::testing::key(start_rule,
                         window().CMB_TIPODECORR.code() < 3 ? Qt::Key_Down : Qt::Key_Up);
        settle();
    }
    EXPECT_EQ(window().CMB_TIPODECORR.text(), "3");
    auto* day_month = widget<QLineEdit>("TXT_GGMMFIX");
    ASSERT_TRUE(day_month->isEnabled());
    type("TXT_GGMMFIX", "31/02");
    ui::testing::key(day_month, Qt::Key_Tab);
    settle();
    EXPECT_TRUE(day_month->property("invalid").toBool());

    // A fixed date marked invalid is refused on confirmation, and so is an empty one.
    Shown refusal = press_expecting_message("GRIDNAV_RATE.Conferma");
    EXPECT_NE(refusal.text.find("valid"), std::string::npos) << refusal.text;
    settle();
    EXPECT_EQ(window().focus(), &window().TXT_GGMMFIX);
    ui::testing::click(day_month);
    ui::testing::key(day_month, Qt::Key_A, Qt::ControlModifier);
    ui::testing::key(day_month, Qt::Key_Delete);
    settle();
    refusal = press_expecting_message("GRIDNAV_RATE.Conferma");
    EXPECT_EQ(refusal.text, "Rata non corretta");
    settle();
    EXPECT_EQ(window().focus(), &window().TXT_GGMMFIX);
    EXPECT_EQ(host->focusWidget(), day_month);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RD30' AND "
                     "CG63_GGMMFIX IS NOT NULL")[0][0]
                  .to_text(),
              "0");
}

TEST_F(ShellSession, ShiftPeriodAndLanguageRowsAreSavedAndFoundAgain) {
    go_to("RB3060");
    auto* tabs = widget<QTabWidget>("TabCondPag");
    ui::testing::click(tabs->tabBar(), tabs->tabBar()->tabRect(2).center());
    settle();
    ASSERT_EQ(tabs->currentIndex(), 2);
    press("GRIDNAV_PERIODI.Nuovo");
    type("TXT_PERSLITDAGGMM", "01/01");
    type("TXT_PERSLITAGGMM", "15/01");
    type("TXT_PERSLITSLIT", "20");
    press("GRIDNAV_PERIODI.Conferma");

    ui::testing::click(tabs->tabBar(), tabs->tabBar()->tabRect(3).center());
    settle();
    ASSERT_EQ(tabs->currentIndex(), 3);
    press("GRIDNAVL.Nuovo");
    type("TXT_CODLINGUA", "FRA");
    type("TXT_DESCRLINGUA", "Virement 30-60 jours");
    press("GRIDNAVL.Conferma");
    // Confirmed detail rows leave the term in view; the record navigator saves them with it.
    press("INTERNAV.Conferma");

    EXPECT_EQ(stored("SELECT CG65_AMMGG, CG65_GGSLSUCC FROM CG65_PAGSLITANAL WHERE "
                     "CG65_CODPAG_CG62 = 'RB3060' AND CG65_DAMMGG = 101")
                  .size(),
              1u);
    auto language = stored(
        "SELECT CG6B_DESCR FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = 'RB3060' AND "
        "CG6B_LINGUA_MG52 = 'FRA'");
    ASSERT_EQ(language.size(), 1u);
    EXPECT_EQ(RTrimN(language[0][0]), "Virement 30-60 jours");

    // Found again after moving away and back: the grids show the stored rows.
    toolbar("Precedente");
    ASSERT_NE(window().TXT_CODICE.text(), "RB3060");
    go_to("RB3060");
    auto* periods = widget<QTableView>("GRID_PERSLIT");
    bool shown = false;
    for (int r = 0; r < periods->model()->rowCount(); ++r) {
        shown = shown || periods->model()->index(r, 0).data().toString() == "01/01";
    }
    EXPECT_TRUE(shown);
    EXPECT_EQ(widget<QTableView>("GRID_LINGUA")->model()->rowCount(), 1);
}

TEST_F(ShellSession, AWindowOpenedOnACodeHandsTheCodeBackToTheShell) {
    host.reset();
    host = std::make_unique<HostWindow>(ShellOptions{database.connection_string(), 0, "RB369", ""});
    host->show();
    ASSERT_EQ(host->open_payment_terms(), "");
    settle();
    EXPECT_EQ(window().TXT_CODICE.text(), "RB369");
    EXPECT_EQ(widget<QTableView>("GRID_CONDPAG")->model()->rowCount(), 3);
    press("INTERNAV.Esporta");
    settle();
    EXPECT_EQ(host->received(), "RB369");
    EXPECT_EQ(host->editor_view(), nullptr) << "the window closes after handing the code back";
    EXPECT_FALSE(host->action("Nuovo")->isEnabled());
}

TEST_F(ShellSession, ResizingGrowsTheGridAndKeepsTheNavigatorsInSight) {
    ui::EditorView* view = host->editor_view();
    QWidget* grid = view->widget_of("GRID_CONDPAG");
    QWidget* internav = view->widget_of("INTERNAV");
    QWidget* gridnav = view->widget_of("GRIDNAV_RATE");
    QWidget* code = view->widget_of("TXT_CODICE");
    QSize grid_before = grid->size();
    QSize code_before = code->size();
    host->resize(host->size() + QSize(300, 250));
    host->editor_view()->parentWidget()->resize(view->parentWidget()->size() + QSize(300, 250));
    settle();
    EXPECT_GT(grid->width(), grid_before.width());
    EXPECT_GT(grid->height(), grid_before.height());
    EXPECT_EQ(code->size(), code_before) << "fields keep their size";
    for (QWidget* navigator : {internav, gridnav}) {
        QRect in_view(navigator->mapTo(view, QPoint(0, 0)), navigator->size());
        EXPECT_TRUE(view->rect().contains(in_view)) << navigator->objectName().toStdString();
        EXPECT_GT(in_view.top(), grid->mapTo(view, QPoint(0, grid->height())).y());
    }
}

}  // namespace
}  // namespace condpag::shell
