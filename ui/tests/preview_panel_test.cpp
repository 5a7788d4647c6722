// The due-date preview beside the editor follows what is typed in the editor's widgets.

#include "ui/preview_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "editor/tests/session.h"
#include "ui/editor_view.h"
#include "ui/einvoice_dialog.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

std::vector<std::string> column(const PreviewPanel& panel, int c) {
    std::vector<std::string> texts;
    for (int r = 0; r < panel.table()->rowCount(); ++r) {
        texts.push_back(panel.table()->item(r, c)->text().toStdString());
    }
    return texts;
}

// The editor on the demo data, its window shown as a person sees it.
struct PreviewPanelTest : ::testing::Test {
    QApplication& app = testing::application();
    Session s;
    FRMCO_CONDPAG& w = s.open();
    EditorView view{w};
    PreviewPanel panel;
    void SetUp() override { view.show(); }

    // The panel shown beside the term `code`, for an invoice of `date`.
    void follow(const char* code, QDate date) {
        s.go_to(code);
        panel.show();
        panel.invoice_date()->setDate(date);
        panel.follow(&w);
        QApplication::processEvents();
    }
    // Types over what a box holds, leaving the focus in it.
    static void retype(QLineEdit* box, const char* text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QApplication::processEvents();
    }

    // The payment block the panel's button shows, and whether it can be saved; `use` is done in
    // its window before it is closed.
    struct Block {
        std::string text;
        bool can_save = true, can_name_file = true;
    };
    Block block_shown(const std::function<void(EInvoiceDialog*)>& use = {}) {
        Block block;
        testing::when_modal([&](QWidget* modal) {
            auto* dialog = dynamic_cast<EInvoiceDialog*>(modal);
            if (dialog == nullptr) return;
            block = {dialog->text()->toPlainText().toStdString(),
                     dialog->save_button()->isEnabled(), dialog->file()->isEnabled()};
            if (use) use(dialog);
            testing::click(dialog->close_button());
            EXPECT_FALSE(dialog->isVisible());
        });
        testing::click(panel.findChild<QPushButton*>("DatiPagamento"));
        return block;
    }
};

TEST_F(PreviewPanelTest, FollowsTheTermShownAndTheDaysBeingTypedAndShowsItsPaymentBlock) {
    EXPECT_EQ(panel.invoice_date()->date(), QDate::currentDate());
    follow("BB30", QDate(2027, 1, 31));  // one bank transfer, 30 commercial days
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"28/02/2027"}));
    EXPECT_EQ(column(panel, 5), (std::vector<std::string>{"1.220,00"}));
    // Its payment block, for the invoice typed in the panel, saved to the file the person names.
    condpag::testing::TempFolder folder;
    const QString path = QString::fromStdString(folder.path() + "/fattura-125.xml");
    const auto saved = [&] {
        std::ostringstream text;
        text << std::ifstream(path.toStdString()).rdbuf();
        return text.str();
    };
    Block block = block_shown([&](EInvoiceDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Dati pagamento fattura elettronica");
        testing::click(dialog->save_button());  // no file named yet: nothing written
        EXPECT_EQ(dialog->status()->text(), "Indicare il file in cui salvare");
        testing::click(dialog->file());
        testing::type_text(dialog->file(), path);
        testing::click(dialog->save_button());
        EXPECT_EQ(saved(), dialog->text()->toPlainText().toStdString());
        EXPECT_EQ(dialog->status()->text(), "Salvato in " + path);
        // Saving again over it asks first; "No" leaves the file as it was.
        std::ofstream(path.toStdString()) << "earlier";
        for (const QString& told :
             {"Il file " + path + " esiste già. Sostituirlo?",
              // A folder that does not exist: the person is told, and nothing is claimed.
              "Impossibile salvare il file " + path + "/nowhere.xml: "}) {
            QString asked;
            testing::when_modal([&](QWidget* box) {
                asked = static_cast<QMessageBox*>(box)->text();
                testing::key(box, Qt::Key_Escape);
            });
            testing::click(dialog->save_button());
            EXPECT_TRUE(asked.startsWith(told)) << asked.toStdString();
            EXPECT_EQ(saved(), "earlier");
            EXPECT_EQ(dialog->status()->text(), told.endsWith('?') ? "Non salvato" : "");
            dialog->file()->selectAll();
            testing::type_text(dialog->file(), path + "/nowhere.xml");
        }
    });
    for (const char* part : {"<CondizioniPagamento>TP02</CondizioniPagamento>",
                             "<ModalitaPagamento>MP05</ModalitaPagamento>",
                             "<DataScadenzaPagamento>2027-02-28</DataScadenzaPagamento>",
                             "<ImportoPagamento>1220.00</ImportoPagamento>"}) {
        EXPECT_NE(block.text.find(part), std::string::npos) << block.text;
    }
    EXPECT_TRUE(block.can_save && block.can_name_file);

    // 60 days typed, not yet confirmed: two commercial months from a month's last day.
    auto* days = view.findChild<QLineEdit*>("TXT_GGDECOR");
    retype(days, "60");
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"31/03/2027"}));
    // Still the same edit, so no status change comes with it: the typing alone refreshes.
    retype(days, "90");
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"30/04/2027"}));

    // "Rimessa diretta" says nothing of how it is paid: told, not guessed, nothing to save.
    s.messages.answers = {Answer::No};  // leave the edited term without saving it
    s.go_to("RD");
    QApplication::processEvents();
    block = block_shown();
    for (const char* part : {"Rata 1 (Rimessa diretta): il tipo di pagamento", "indicarne una"}) {
        EXPECT_NE(block.text.find(part), std::string::npos) << block.text;
    }
    EXPECT_FALSE(block.can_save || block.can_name_file);

    panel.follow(nullptr);
    EXPECT_EQ(panel.table()->rowCount(), 0);
}

TEST_F(PreviewPanelTest, TheInvoiceDatesAndTheAmountsAskedInTheDocumentMoveTheRows) {
    follow("CTR", QDate(2027, 1, 15));  // cash on delivery: due on the delivery date itself
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"15/01/2027"}));

    // Ticked, the delivery date counts; the delivery-note date is no reference of this term.
    QTest::mouseClick(panel.delivery_date().set, Qt::LeftButton);
    ASSERT_TRUE(panel.delivery_date().date->isEnabled());
    panel.delivery_date().date->setDate(QDate(2027, 1, 20));
    QTest::mouseClick(panel.delivery_note_date().set, Qt::LeftButton);
    panel.delivery_note_date().date->setDate(QDate(2027, 3, 1));
    QApplication::processEvents();
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"20/01/2027"}));
    // Unticked, it is the invoice date again and follows it.
    QTest::mouseClick(panel.delivery_date().set, Qt::LeftButton);
    panel.invoice_date()->setDate(QDate(2027, 1, 18));
    QApplication::processEvents();
    EXPECT_EQ(panel.delivery_date().date->date(), QDate(2027, 1, 18));
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"18/01/2027"}));

    // Two bank transfers at 30 and 60 commercial days, half each; the first made due 30 days
    // from the date "on request" and with its fixed amount asked in the document.
    panel.invoice_date()->setDate(QDate(2027, 1, 15));
    s.go_to("BB3060");
    QApplication::processEvents();
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"15/02/2027", "15/03/2027"}));
    EXPECT_EQ(panel.asked_amount(1), nullptr);
    ASSERT_TRUE(w.CMB_DATARIF.user_pick_value(4));
    ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(2));
    QApplication::processEvents();
    QTest::mouseClick(panel.on_request_date().set, Qt::LeftButton);
    panel.on_request_date().date->setDate(QDate(2027, 2, 10));
    QLineEdit* asked = panel.asked_amount(1);
    ASSERT_NE(asked, nullptr);
    EXPECT_TRUE(asked->isVisible() && panel.asked_amount(2) == nullptr);
    retype(asked, "100");
    EXPECT_EQ(column(panel, 2), (std::vector<std::string>{"10/03/2027", "15/03/2027"}));
    // 100,00 first, then 900,00 halved; the VAT halved alone.
    EXPECT_EQ(column(panel, 3), (std::vector<std::string>{"550,00", "450,00"}));
    EXPECT_EQ(column(panel, 5), (std::vector<std::string>{"660,00", "560,00"}));

    // No longer asked: the field goes, and the amount with it.
    ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(0));
    QApplication::processEvents();
    EXPECT_EQ(panel.asked_amount(1), nullptr);
    EXPECT_EQ(column(panel, 5), (std::vector<std::string>{"610,00", "610,00"}));
}

// Typing the first installment's days rewrites that row's cells alone: the second row, whose due
// date stays, is not written again and so not painted again. Nothing typed is stored.
TEST_F(PreviewPanelTest, TypingOneInstallmentsDaysRewritesOnlyItsRowInThePreview) {
    follow("BB3060", QDate(2027, 1, 15));  // bank transfers at 30 and 60 days, half each
    ASSERT_EQ(column(panel, 2), (std::vector<std::string>{"15/02/2027", "15/03/2027"}));

    std::set<int> rewritten;
    QObject::connect(panel.table()->model(), &QAbstractItemModel::dataChanged, &panel,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int r = from.row(); r <= to.row(); ++r) rewritten.insert(r);
                     });
    retype(view.findChild<QLineEdit*>("TXT_GGDECOR"), "45");
    const std::vector<std::string> due = column(panel, 2);
    EXPECT_NE(due[0], "15/02/2027");
    EXPECT_EQ(due[1], "15/03/2027");
    EXPECT_EQ(rewritten, (std::set<int>{0}));
    // Longer amounts typed: the amount columns widen to them, amounts standing to the right.
    const int narrow = panel.table()->columnWidth(3);
    retype(panel.taxable(), "123456789,00");
    EXPECT_GT(panel.table()->columnWidth(3), narrow);
    for (int c = 0; c <= 6; ++c) {
        const bool right = panel.table()->item(1, c)->textAlignment() & Qt::AlignRight;
        EXPECT_EQ(right, c == 0 || (c >= 3 && c <= 5)) << c;
    }
    // The due date tells its weekday.
    EXPECT_EQ(panel.table()->item(1, 2)->toolTip(), QDate(2027, 3, 15).toString("dddd"));

    s.messages.answers = {Answer::No};  // leave the edited term without saving it
    s.go_to("RD");
    EXPECT_EQ(s.query("SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = "
                      "'BB3060' ORDER BY CG63_PROG"),
              (Rows{{"30"}, {"60"}}));
}

}  // namespace
}  // namespace condpag::ui
