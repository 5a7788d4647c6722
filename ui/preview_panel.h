#pragma once
// "Anteprima scadenze": a dock beside the editor with an example invoice (date, taxable amount,
// VAT) and the due dates and amounts that the term shown in the editor gives for it. It reads the
// editor's installment and shift-period record sets as they stand (the row being edited
// included) and the subtypes' offset days, and recomputes once per turn of the event loop after
// anything the editor shows has changed.

#include <QDockWidget>
#include <QPointer>
#include <chrono>
#include <optional>
#include <vector>

#include "rules/due_date_preview.h"
#include "rules/value.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace condpag {
class FRMCO_CONDPAG;
}

namespace condpag::ui {

class PreviewPanel : public QDockWidget {
  public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    // Follows an editor window; nullptr lets go of it. The shell must let go before the window
    // is destroyed.
    void follow(FRMCO_CONDPAG* editor);
    FRMCO_CONDPAG* editor() const { return editor_; }

    // The example invoice as the fields hold it (invalid amounts count as 0).
    ExampleInvoice invoice() const;
    // Recomputes now (the panel otherwise does it on the next turn of the event loop).
    void refresh();
    // The rows last shown.
    const DueDatePreview& preview() const { return preview_; }

    QDateEdit* invoice_date() const { return date_; }
    QLineEdit* taxable() const { return taxable_; }
    QLineEdit* vat() const { return vat_; }
    QTableWidget* table() const { return table_; }

  private:
    void schedule();
    void show_rows();
    std::vector<Record> read_subtypes() const;

    FRMCO_CONDPAG* editor_ = nullptr;
    // Changes each time another editor is followed, so handlers left on an earlier one go quiet.
    unsigned follow_count_ = 0;
    bool scheduled_ = false;
    DueDatePreview preview_;
    QDateEdit* date_;
    QLineEdit* taxable_;
    QLineEdit* vat_;
    QTableWidget* table_;
    QLabel* notes_;
};

// An amount as typed in Italian ("1.234,56", "1000"), in cents; nullopt when it is no amount.
std::optional<Cents> parse_italian_amount(const QString& text);

}  // namespace condpag::ui
