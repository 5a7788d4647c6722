#pragma once
// "Dati pagamento fattura elettronica": shows the payment block of an electronic invoice, or why
// there is none, and saves the block to a file the person picks.

#include <QDialog>
#include <string>

#include "rules/expected.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace condpag::ui {

class EInvoiceDialog : public QDialog {
  public:
    // `block` is the XML text, or the error whose message is shown instead (nothing to save).
    explicit EInvoiceDialog(const Expected<std::string>& block, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return text_; }
    // The file to write: typed, or picked with "Sfoglia…".
    QLineEdit* file() const { return file_; }
    QPushButton* browse_button() const { return browse_; }
    QPushButton* save_button() const { return save_; }
    QPushButton* close_button() const { return close_; }
    QLabel* status() const { return status_; }

  private:
    void browse();
    void save();

    std::string block_;
    QPlainTextEdit* text_;
    QLabel* status_;
    QLineEdit* file_;
    QPushButton* browse_;
    QPushButton* save_;
    QPushButton* close_;
};

}  // namespace condpag::ui
