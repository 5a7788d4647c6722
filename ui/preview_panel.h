#pragma once
// "Anteprima scadenze": a dock beside the editor with an example invoice and the due dates and
// amounts that the term shown in the editor gives for it. It reads the editor's installment and
// shift-period record sets as they stand (the row being edited included) and the subtypes' offset
// days, and recomputes once per turn of the event loop after anything the editor shows has
// changed.

#include <QDockWidget>
#include <QPointer>
#include <chrono>
#include <map>
#include <optional>
#include <vector>

#include "rules/due_date_preview.h"
#include "rules/value.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace condpag {
class FRMCO_CONDPAG;
}

namespace condpag::ui {

// A date of the example invoice that is the invoice date until the person ticks its box and
// picks another one.
struct OptionalDate {
    QCheckBox* set = nullptr;
    QDateEdit* date = nullptr;
};

class PreviewPanel : public QDockWidget {
  public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    // Follows an editor window; nullptr lets go of it. The shell must let go before the window
    // is destroyed.
    void follow(FRMCO_CONDPAG* editor);
    FRMCO_CONDPAG* editor() const { return editor_; }

    // The example invoice as the fields hold it (invalid amounts count as 0, an empty asked
    // amount as not given).
    ExampleInvoice invoice() const;
    // Recomputes now (the panel otherwise does it on the next turn of the event loop).
    void refresh();
    // The rows last shown.
    const DueDatePreview& preview() const { return preview_; }

    QDateEdit* invoice_date() const { return date_; }
    QLineEdit* taxable() const { return taxable_; }
    QLineEdit* vat() const { return vat_; }
    const OptionalDate& delivery_note_date() const { return delivery_note_; }
    const OptionalDate& delivery_date() const { return delivery_; }
    const OptionalDate& order_date() const { return order_; }
    const OptionalDate& on_request_date() const { return on_request_; }
    // The amount asked for an installment whose fixed amount is given in the document; nullptr
    // when the term shown asks none for it.
    QLineEdit* asked_amount(int installment) const;
    QTableWidget* table() const { return table_; }

  private:
    OptionalDate add_optional_date(const QString& caption, const QString& name);
    // Refreshes as the amount is typed and shows it in the Italian form when left.
    void watch_amount(QLineEdit* amount);
    // One field per installment that asks its fixed amount in the document.
    void keep_asked_amounts(const std::vector<Record>& installments);
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
    OptionalDate delivery_note_;
    OptionalDate delivery_;
    OptionalDate order_;
    OptionalDate on_request_;
    QGroupBox* asked_box_;
    QGridLayout* asked_grid_;
    std::map<int, QLineEdit*> asked_;
    QTableWidget* table_;
    QLabel* notes_;
};

// An amount as typed in Italian ("1.234,56", "1000"), in cents; nullopt when it is no amount.
std::optional<Cents> parse_italian_amount(const QString& text);

}  // namespace condpag::ui
