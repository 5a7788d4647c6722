// The generation and subtypes windows driven through their dialogs' widgets, on a demo database.

#include "ui/secondary_dialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "editor/tests/session.h"
#include "ui/tests/qt_support.h"
#include "windows/FRMCO_GENMULTIPLA.h"
#include "windows/FRMCO_SOTTOTIPI.h"

namespace condpag::ui {
namespace {

template <typename T>
T* part(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void type_into(QWidget* dialog, const char* box, const QString& text) {
    auto* edit = part<QLineEdit>(dialog, box);
    if (edit == nullptr) return;
    edit->setFocus();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

// A person picks the item of a list that stores `code`.
void pick(QWidget* dialog, const SecondaryDialog& secondary, const char* list, int code) {
    auto* combo = part<QComboBox>(dialog, list);
    auto* control = secondary.window().find_as<ComboBox>(list);
    if (combo == nullptr || control == nullptr) return;
    const auto& items = control->items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].value != std::to_string(code)) continue;
        combo->setCurrentIndex(static_cast<int>(i));
        Q_EMIT combo->activated(static_cast<int>(i));
        return;
    }
    ADD_FAILURE() << list << " has no code " << code;
}

// Whatever a failed step left open is closed, so that the test goes on.
void finish(QWidget* dialog) {
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->done(QDialog::Rejected);
}

TEST(SecondaryDialogs, GenerationThroughTheDialogAppendsConfirmedInstallments) {
    testing::application();
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ModalSecondaryWindows windows(dialog_runner(nullptr));
    w.SetSecondaryWindows(&windows);
    ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
    ASSERT_TRUE(w.TXT_CODICE.user_type("GEN4"));
    ASSERT_TRUE(w.CHK_DESAUTOM.user_check(true));

    bool shown = false;
    testing::when_modal([&](QWidget* dialog) {
        auto* secondary = dynamic_cast<SecondaryDialog*>(dialog);
        ASSERT_NE(secondary, nullptr);
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), "Generazione automatica rate");
        auto* generate = part<QPushButton>(dialog, "CMD_GENERA");
        EXPECT_FALSE(generate->isEnabled()) << "disabled until the number is given";
        type_into(dialog, "TXT_NUMERORATE", "4");
        EXPECT_TRUE(generate->isEnabled());
        pick(dialog, *secondary, "CMB_TIPO", 2);
        type_into(dialog, "TXT_GGDECOR", "30");
        pick(dialog, *secondary, "CMB_DATARIF", 5);
        pick(dialog, *secondary, "CMB_FLGFRPERCIMP", 0);
        EXPECT_TRUE(part<QLineEdit>(dialog, "TXT_IMP")->isHidden());
        type_into(dialog, "TXT_NUMIMP", "1");
        type_into(dialog, "TXT_DENIMP", "4");
        pick(dialog, *secondary, "CMB_FLGFRPERCIVA", 0);
        type_into(dialog, "TXT_NUMIVA", "1");
        type_into(dialog, "TXT_DENIVA", "4");
        dialog->grab().save("/tmp/dialog_genmultipla.png");
        QTest::mouseClick(generate, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_FALSE(dialog->isVisible()) << "the window closes after generating";
        finish(dialog);
    });
    ASSERT_TRUE(w.CMD_GENERA.user_click());
    ASSERT_TRUE(shown);

    std::vector<std::string> days;
    for (const Record& row : w.Grst_RecordSet_CG63.records()) {
        EXPECT_EQ(CDecN(field(row, "CG63_TIPOEFF")), 2);
        EXPECT_EQ(CDecN(field(row, "CG63_EL2FRIMP")), 4);
        days.push_back(RTrimN(field(row, "CG63_GGDECOR")));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"30", "60", "90", "120"}));
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Num.4 Rb (25%/25%) 30-60-90-120GG-FM");
    EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'GEN4'"),
              (Rows{{"4"}}));
}

TEST(SecondaryDialogs, NewSubtypeThroughTheDialogIsStoredAndAClosingRowMustPassItsChecks) {
    testing::application();
    Session s;
    FRMCO_CONDPAG& w = s.open();
    ModalSecondaryWindows windows(dialog_runner(nullptr));
    w.SetSecondaryWindows(&windows);
    s.go_to("RB3060");

    testing::when_modal([&](QWidget* dialog) {
        ASSERT_NE(dynamic_cast<SecondaryDialog*>(dialog), nullptr);
        auto* grid = part<QTableView>(dialog, "GRID_SOTTOTIPI");
        EXPECT_EQ(grid->model()->rowCount(), 2) << "the Ri.Ba. subtypes of the demo data";
        QTest::mouseClick(part<QToolButton>(dialog, "GRIDNAV.Nuovo"), Qt::LeftButton);
        type_into(dialog, "TXT_DESCRIZIONE", "Ri.Ba. a 90 giorni");
        // The row has no code: closing is refused and the dialog stays.
        size_t before = s.messages.shown.size();
        dialog->close();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_GT(s.messages.shown.size(), before);

        type_into(dialog, "TXT_CODICE", "7");
        type_into(dialog, "TXT_GGOFFSET", "3");
        QTest::mouseClick(part<QToolButton>(dialog, "GRIDNAV.Conferma"), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(grid->model()->rowCount(), 3);
        dialog->grab().save("/tmp/dialog_sottotipi.png");
        dialog->close();
        EXPECT_FALSE(dialog->isVisible());
        finish(dialog);
    });
    w.ApriSottotipi();
    EXPECT_EQ(s.query("SELECT CG64_DESCSTIPO, CG64_GGOFFSET FROM CG64_SOTTOTIPO "
                      "WHERE CG64_TIPOEFF = 2 AND CG64_CODSTIPOEFF = 7"),
              (Rows{{"Ri.Ba. a 90 giorni", "3"}}));
}

}  // namespace
}  // namespace condpag::ui
