// Sessions on the shell driven through the widgets only, each on a fresh demo database; what was
// stored is read back from the file afterwards.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QToolButton>

#include "app/shell/host_window.h"
#include "editor/FRMCO_CONDPAG.h"
#include "editor/tests/session.h"
#include "storage/testing/demo_database.h"
#include "ui/tests/qt_support.h"

namespace condpag::shell {
namespace {

struct Shown {
    std::string title;
    std::string text;
    QStringList buttons;
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
        return ui::testing::part<W>(host.get(), name);
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
    // Clicks into a box and types over what it holds, leaving it with Tab if asked.
    void type(const char* box, const char* text, bool leave = false) {
        ui::testing::type_into(host.get(), box, QString::fromUtf8(text), leave);
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
    // The next message box is read into `shown` and answered with `button`.
    void answer(QMessageBox::StandardButton button = QMessageBox::Ok) {
        shown = {};
        ui::testing::when_modal([this, button](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            shown = {dialog->windowTitle().toStdString(), box ? box->text().toStdString() : "", {}};
            for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
                shown.buttons << b->text();
            }
            if (box) box->button(button) ? box->button(button)->click() : box->reject();
        });
    }
    // The rows a query finds in the file, read through a connection of its own.
    Rows stored(const std::string& sql) {
        auto connection = database.connect();
        EXPECT_TRUE(connection.ok());
        return connection.ok() ? condpag::stored(*connection, sql) : Rows{};
    }

    condpag::testing::DemoDatabase database;
    std::unique_ptr<HostWindow> host;
    Shown shown;
};

// A stored term's installment changed and one added with the grid and its navigator, saved with
// the record navigator and found again with the toolbar.
TEST_F(ShellSession, InstallmentsOfAStoredTermAreSavedAndFoundAgain) {
    go_to("RB3060");
    EXPECT_FALSE(host->action("Salva")->isEnabled());
    auto* grid = widget<QTableView>("GRID_CONDPAG");
    ui::testing::click(grid->viewport(), grid->visualRect(grid->model()->index(1, 0)).center());
    settle();
    type("TXT_IMP", "25");
    type("TXT_IVA", "25");
    press("GRIDNAV_RATE.Conferma");
    press("GRIDNAV_RATE.Nuovo");  // it follows the last row: 90 days
    press("GRIDNAV_RATE.Conferma");
    // Confirmed detail rows leave the term in view; the record navigator saves them with it.
    press("INTERNAV.Conferma");
    EXPECT_EQ(host->status_text(), "Visualizzazione");
    EXPECT_EQ(stored("SELECT CG63_PROG, CG63_PERCIMP, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
                     "CG63_CODPAG_CG62 = 'RB3060' ORDER BY CG63_PROG"),
              (Rows{{"1", "50", "30"}, {"2", "25", "60"}, {"3", "25", "90"}}));

    // Found again after moving away and back: the grid shows the stored rows.
    toolbar("Precedente");
    ASSERT_NE(window().TXT_CODICE.text(), "RB3060");
    go_to("RB3060");
    EXPECT_EQ(grid->model()->rowCount(), 3);
}

// A new term with a quote and accented letters, typed past the lengths of its boxes.
TEST_F(ShellSession, NewTermsAreRefusedBelowHundredAndKeepQuotesAndAccentsWhole) {
    toolbar("Nuovo");
    EXPECT_EQ(host->status_text(), "Inserimento");
    type("TXT_CODICE", "À'É€ÀÉZ", true);
    QString description = "Meta' ";
    for (int i = 0; i < 35; ++i) description += i % 2 ? QString("è") : QString("à");
    type("TXT_DESCRIZIONE", description.toUtf8().constData());
    press("GRIDNAV_RATE.Nuovo");
    type("TXT_GGDECOR", "30");
    type("TXT_IMP", "50");
    type("TXT_IVA", "50");
    press("GRIDNAV_RATE.Conferma");

    const std::string code = "À''É€ÀÉ";  // as quoted in SQL
    const std::string header =
        "SELECT CG62_CODPAG, CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" + code + "'";
    const std::string details =
        "SELECT CG63_PROG FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '" + code + "'";
    answer();
    toolbar("Salva");
    EXPECT_EQ(shown.text, "Somma delle percentuali di imponibile diversa da 100");
    EXPECT_EQ(shown.title, "Attenzione");
    settle();
    EXPECT_EQ(host->focusWidget(), widget<QLineEdit>("TXT_IMP"));
    EXPECT_TRUE(stored(header).empty() && stored(details).empty());

    // Brought to 100, the same term is stored whole characters and found again.
    type("TXT_IMP", "100");
    type("TXT_IVA", "100");
    press("GRIDNAV_RATE.Conferma");
    toolbar("Salva");
    EXPECT_EQ(stored(header), (Rows{{"À'É€ÀÉ", description.left(40).toStdString()}}));
    EXPECT_EQ(stored(details).size(), 1u);
    toolbar("Cerca");
    EXPECT_EQ(host->status_text(), "Ricerca");
    type("TXT_CODICE", "À'É€ÀÉ");
    toolbar("Cerca");
    EXPECT_EQ(window().TXT_CODICE.text(), "À'É€ÀÉ");
    EXPECT_EQ(widget<QLineEdit>("TXT_DESCRIZIONE")->text(), description.left(40));
    EXPECT_EQ(widget<QTableView>("GRID_CONDPAG")->model()->rowCount(), 1);
}

TEST_F(ShellSession, UnsavedChangesStayOfferedPastTheSubtypesWindowAndClosingAsksFirst) {
    go_to("RB3060");
    type("TXT_DESCRIZIONE", "Ri.Ba. rivista");
    // The subtypes window shows its own status; back in the editor the toolbar follows it again.
    QString inside;
    ui::testing::when_modal(
        [&](QWidget* dialog) {
            inside = host->status_text();
            dialog->close();
        },
        "FRMCO_SOTTOTIPI");
    ui::testing::click(widget<QToolButton>("TXT_SOTTOTIPO_manage"));
    settle();
    EXPECT_EQ(inside, "Visualizzazione");
    EXPECT_EQ(host->status_text(), "Modifica");
    EXPECT_TRUE(host->action("Salva")->isEnabled());
    const std::string description =
        "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'RB3060'";
    const Rows before = stored(description);
    // Cancelled, the window stays open with the change; confirmed, it saves and closes.
    for (const auto& [button, open, after] :
         {std::tuple{QMessageBox::Cancel, true, before},
          std::tuple{QMessageBox::Yes, false, Rows{{"Ri.Ba. rivista"}}}}) {
        answer(button);
        toolbar("Chiudi");
        settle();
        EXPECT_EQ(shown.text.rfind("Salvare le modifiche apportate", 0), 0u) << shown.text;
        for (const char* caption : {"&Sì", "&No", "Annulla"}) {
            EXPECT_TRUE(shown.buttons.contains(caption)) << shown.buttons.join("|").toStdString();
        }
        EXPECT_EQ(host->editor_view() != nullptr, open);
        EXPECT_EQ(stored(description), after);
    }
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
    EXPECT_EQ(host->received(), "RB369");
    EXPECT_EQ(host->editor_view(), nullptr) << "the window closes after handing the code back";
    EXPECT_FALSE(host->action("Nuovo")->isEnabled());
}

}  // namespace
}  // namespace condpag::shell
