// The subtypes window driven through its dialog's widgets, on a demo database.

#include "ui/secondary_dialogs.h"

#include <gtest/gtest.h>

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

// Whatever a failed step left open is closed, so that the test goes on.
void finish(QWidget* dialog) {
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->done(QDialog::Rejected);
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
