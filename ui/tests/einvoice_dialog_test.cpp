// The payment-block dialog: what it shows, and the file it writes where the person says.

#include "ui/einvoice_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "einvoice/payment_block_xml.h"
#include "einvoice/term_rows.h"
#include "storage/testing/demo_database.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

Expected<std::string> block_of(const std::string& code) {
    condpag::testing::DemoDatabase db;
    auto connection = db.connect();
    if (!connection) return connection.error();
    auto term = read_term_rows(*connection, code);
    if (!term) return term.error();
    ExampleInvoice invoice;
    invoice.invoice_date = std::chrono::year{2027} / 7 / 15;
    invoice.taxable = 100000;
    invoice.vat = 22000;
    return payment_block_text(term->installments, term->shift_periods, term->subtypes, invoice);
}

TEST(EInvoiceDialog, ShowsTheBlockAndSavesItToTheFileThePersonNames) {
    testing::application();
    const auto block = block_of("RB369");
    ASSERT_TRUE(block) << block.error().message;
    EInvoiceDialog dialog(block);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Dati pagamento fattura elettronica");
    EXPECT_EQ(dialog.text()->toPlainText().toStdString(), *block);

    condpag::testing::TempFolder folder;
    const QString path = QString::fromStdString(folder.path() + "/fattura-125.xml");
    testing::click(dialog.save_button());  // no file named yet: nothing written
    EXPECT_EQ(dialog.status()->text(), "Indicare il file in cui salvare");
    testing::click(dialog.file());
    testing::type_text(dialog.file(), path);
    testing::click(dialog.save_button());
    auto saved = [&] {
        std::ostringstream text;
        text << std::ifstream(path.toStdString()).rdbuf();
        return text.str();
    };
    EXPECT_EQ(saved(), *block);
    EXPECT_EQ(dialog.status()->text(), "Salvato in " + path);

    // Saving again over it asks first; "No" leaves the file as it was.
    std::ofstream(path.toStdString()) << "earlier";
    QString asked;
    testing::when_modal([&](QWidget* box) {
        asked = static_cast<QMessageBox*>(box)->text();
        testing::key(box, Qt::Key_Escape);
    });
    testing::click(dialog.save_button());
    EXPECT_EQ(asked, "Il file " + path + " esiste già. Sostituirlo?");
    EXPECT_EQ(saved(), "earlier");
    EXPECT_EQ(dialog.status()->text(), "Non salvato");

    // A folder that does not exist: the person is told, and nothing is claimed.
    dialog.file()->selectAll();
    testing::type_text(dialog.file(), path + "/nowhere.xml");
    testing::when_modal([&](QWidget* box) {
        asked = static_cast<QMessageBox*>(box)->text();
        testing::key(box, Qt::Key_Escape);
    });
    testing::click(dialog.save_button());
    EXPECT_TRUE(asked.startsWith("Impossibile salvare il file " + path + "/nowhere.xml: "))
        << asked.toStdString();
    EXPECT_EQ(dialog.status()->text(), "");
    testing::click(dialog.close_button());
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace condpag::ui
