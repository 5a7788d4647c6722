// The editor as a clerk uses it, through mouse and keys only: the subtypes window reached from
// the subtype boxes, a generated run whose description is stored, amounts typed the Italian
// way, Italian words in Qt's own menus and buttons.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <set>
#include <string>

#include "editor/tests/session.h"
#include "ui/editor_view.h"
#include "ui/secondary_dialogs.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

using testing::part;
using testing::pick;
using testing::type_into;

void when_dialog(const QString& name, std::function<void(QDialog*)> act) {
    testing::when_modal([act](QWidget* dialog) { act(static_cast<QDialog*>(dialog)); }, name);
}

struct Desk {
    Desk() : view((testing::application(), s.open())) {
        windows = std::make_unique<ModalSecondaryWindows>(dialog_runner(&view));
        s.window->SetSecondaryWindows(windows.get());
        view.show();
        QApplication::processEvents();
    }
    // Finds a stored term with the record navigator's buttons.
    void go_to(const QString& code) {
        QTest::mouseClick(part<QToolButton>(&view, "INTERNAV.Cerca"), Qt::LeftButton);
        type_into(&view, "TXT_CODICE", code);
        QTest::mouseClick(part<QToolButton>(&view, "INTERNAV.Trova"), Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_EQ(s.window->TXT_CODICE.text(), code.toStdString());
    }
    Session s;
    EditorView view;
    std::unique_ptr<ModalSecondaryWindows> windows;
};

// The subtypes window reached from the subtype box's button; a subtype added there is stored.
TEST(ClerkSession, SubtypesWindowOpensFromTheSubtypeBoxesAndKeepsARowWithoutItsCode) {
    Desk desk;
    desk.go_to("RB3060");  // its installments are bank receipts, which take subtypes
    bool opened = false;
    when_dialog("FRMCO_SOTTOTIPI", [&](QDialog* dialog) {
        opened = true;
        EXPECT_EQ(dialog->windowTitle(), "Sottotipi effetto");
        QTest::mouseClick(part<QToolButton>(dialog, "GRIDNAV.Nuovo"), Qt::LeftButton);
        type_into(dialog, "TXT_DESCRIZIONE", "Ri.Ba. a 90 giorni");
        // The row has no code: closing is refused and the dialog stays.
        size_t before = desk.s.messages.shown.size();
        dialog->close();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_GT(desk.s.messages.shown.size(), before);
        type_into(dialog, "TXT_CODICE", "7");
        type_into(dialog, "TXT_GGOFFSET", "3");
        QTest::mouseClick(part<QToolButton>(dialog, "GRIDNAV.Conferma"), Qt::LeftButton);
        QApplication::processEvents();
        dialog->close();
        EXPECT_FALSE(dialog->isVisible()) << "the new subtype passed its checks";
        if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    QTest::mouseClick(part<QToolButton>(&desk.view, "TXT_SOTTOTIPO_manage"), Qt::LeftButton);
    ASSERT_TRUE(opened);
    EXPECT_EQ(desk.s.query("SELECT CG64_DESCSTIPO, CG64_GGOFFSET, CG64_FLGASSEGNO FROM "
                           "CG64_SOTTOTIPO WHERE CG64_TIPOEFF = 2 AND CG64_CODSTIPOEFF = 7"),
              (Rows{{"Ri.Ba. a 90 giorni", "3", "0"}}))
        << "stored, its disabled cheque box as 0";
}

// The model's rows as shown, a list of cell texts each.
std::vector<QStringList> shown_rows(const QAbstractItemModel& model) {
    std::vector<QStringList> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c) cells << model.index(r, c).data().toString();
        rows.push_back(cells);
    }
    return rows;
}

// A new term with the automatic description, generated from the window with the mouse and keys.
void generate(Desk& desk, const QString& code, const std::function<void(QDialog*)>& fill) {
    QTest::mouseClick(part<QToolButton>(&desk.view, "INTERNAV.Nuovo"), Qt::LeftButton);
    type_into(&desk.view, "TXT_CODICE", code);
    QTest::mouseClick(part<QCheckBox>(&desk.view, "CHK_DESAUTOM"), Qt::LeftButton);
    when_dialog("FRMCO_GENMULTIPLA", [&](QDialog* dialog) {
        fill(dialog);
        if (dialog->isVisible()) {
            QTest::mouseClick(part<QPushButton>(dialog, "CMD_ANNULLA"), Qt::LeftButton);
        }
        if (dialog->isVisible()) dialog->done(QDialog::Rejected);
    });
    QTest::mouseClick(part<QPushButton>(&desk.view, "CMD_GENERA"), Qt::LeftButton);
    QApplication::processEvents();
}

// A fixed amount that is no Italian amount keeps the window open and is named; corrected, the
// run is stored with the description the editor shows.
TEST(ClerkSession,
     GeneratedInstallmentsAreStoredWithTheDescriptionShownAndAmountsReadTheItalianWay) {
    Desk desk;
    generate(desk, "GEN6", [&](QDialog* dialog) {
        auto* generate_button = part<QPushButton>(dialog, "CMD_GENERA");
        EXPECT_FALSE(generate_button->isEnabled()) << "disabled until the number is given";
        type_into(dialog, "TXT_NUMERORATE", "6");
        pick(dialog, "CMB_TIPO", "Ricevuta Bancaria");
        type_into(dialog, "TXT_GGDECOR", "30");
        pick(dialog, "CMB_FLGFRPERCIMP", "Frazione");
        type_into(dialog, "TXT_NUMIMP", "1");
        type_into(dialog, "TXT_DENIMP", "6");
        pick(dialog, "CMB_FLGFRPERCIVA", "Frazione");
        type_into(dialog, "TXT_NUMIVA", "1");
        type_into(dialog, "TXT_DENIVA", "6");
        pick(dialog, "CMB_TIPOIMPFIX", "Da condizione di pagamento");
        type_into(dialog, "TXT_IMPFIX", "1,234.50");
        QTest::mouseClick(generate_button, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_TRUE(dialog->isVisible()) << "the window stays for a correction";
        EXPECT_NE(desk.s.last_message().find("1,234.50"), std::string::npos)
            << desk.s.last_message();
        EXPECT_TRUE(
            desk.s.query("SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'GEN6'").empty());
        type_into(dialog, "TXT_IMPFIX", "1234,5");
        EXPECT_EQ(part<QLineEdit>(dialog, "TXT_IMPFIX")->text(), "1.234,50");
        QTest::mouseClick(generate_button, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_FALSE(dialog->isVisible()) << "the window closes after generating";
    });
    const QString shown = part<QLineEdit>(&desk.view, "TXT_DESCRIZIONE")->text();
    EXPECT_TRUE(shown.startsWith("Num.6 Rb")) << shown.toStdString();
    EXPECT_EQ(desk.s.query("SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'GEN6'"),
              (Rows{{shown.toStdString()}}));
    Rows expected;
    for (int n = 1; n <= 6; ++n)
        expected.push_back({std::to_string(n), std::to_string(30 * n), "2", "6", "1234.5"});
    EXPECT_EQ(desk.s.query("SELECT CG63_PROG, CG63_GGDECOR, CG63_TIPOEFF, CG63_EL2FRIMP, "
                           "CG63_IMPORFIX FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'GEN6' "
                           "ORDER BY CG63_PROG"),
              expected);
    // The grid shows the amount as an amount, as the field does.
    const QStringList cells = shown_rows(*part<QTableView>(&desk.view, "GRID_CONDPAG")->model())[0];
    EXPECT_TRUE(cells.contains("1.234,50")) << cells.join("|").toStdString();
}

// Text that is no number keeps the focus in its box and says why; emptied, the term is stored.
TEST(ClerkSession, HeaderDiscountsThatAreNoNumberKeepTheFocusAndTheOthersAreStored) {
    Desk desk;
    desk.go_to("RB3060");
    type_into(&desk.view, "TXT_SC1", "2,5");
    type_into(&desk.view, "TXT_SC2", "1,2,3");
    EXPECT_NE(desk.s.last_message().find("\"1,2,3\""), std::string::npos) << desk.s.last_message();
    EXPECT_EQ(desk.s.window->focus(), &desk.s.window->TXT_SC2);
    type_into(&desk.view, "TXT_SC2", "");
    QTest::mouseClick(part<QToolButton>(&desk.view, "INTERNAV.Conferma"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(desk.s.query("SELECT CG62_SCPERMER1 FROM CG62_CONDPAGDES WHERE "
                           "CG62_CODPAG = 'RB3060'"),
              (Rows{{"2.5"}}));
    EXPECT_EQ(part<QLineEdit>(&desk.view, "TXT_SC1")->text(), "2,50");
}

// Moving through the terms with the record navigator: the installments grid is told which rows
// went, came or changed, never reset, so the rows a move leaves alone are not painted again;
// and it shows the installments stored for the term the window moved to.
TEST(ClerkSession, MovingToTheNextTermRedrawsOnlyTheInstallmentRowsThatChanged) {
    Desk desk;
    QTableView* grid = part<QTableView>(&desk.view, "GRID_CONDPAG");
    QAbstractItemModel* model = grid->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    for (int move = 0; move < 6; ++move) {
        const std::vector<QStringList> before = shown_rows(*model);
        std::set<int> told;
        QObject context;
        auto tell = [&told](const QModelIndex&, int a, int b) {
            for (int r = a; r <= b; ++r) told.insert(r);
        };
        QObject::connect(
            model, &QAbstractItemModel::dataChanged, &context,
            [&](const QModelIndex& a, const QModelIndex& b) { tell({}, a.row(), b.row()); });
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &context, tell);
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &context, tell);
        const QModelIndexList selected = grid->selectionModel()->selectedRows();
        QSignalSpy selections(grid->selectionModel(), &QItemSelectionModel::selectionChanged);
        QTest::mouseClick(part<QToolButton>(&desk.view, "INTERNAV.Successivo"), Qt::LeftButton);
        QApplication::processEvents();
        if (grid->selectionModel()->selectedRows() == selected) {
            EXPECT_EQ(selections.count(), 0) << "the selection flickers";
        }

        const std::string code = desk.s.window->TXT_CODICE.text();
        const Rows days =
            desk.s.query("SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '" +
                         code + "' ORDER BY CG63_PROG");
        const std::vector<QStringList> after = shown_rows(*model);
        ASSERT_EQ(after.size(), days.size()) << code;
        EXPECT_EQ(grid->verticalHeader()->count(), model->rowCount()) << code;
        for (size_t r = 0; r < after.size(); ++r) {
            EXPECT_TRUE(after[r].contains(QString::fromStdString(days[r][0])))
                << code << " row " << r << ": " << after[r].join("|").toStdString();
            if (r < before.size() && told.count(static_cast<int>(r)) == 0) {
                EXPECT_EQ(after[r].join("|").toStdString(), before[r].join("|").toStdString())
                    << code << " row " << r << " changed untold";
            }
        }
    }
    EXPECT_EQ(resets.count(), 0) << "a reset repaints every row";
}

}  // namespace
}  // namespace condpag::ui
