#pragma once
// "Anteprima scadenze": a dock beside the editor with an example invoice and the due dates and
// amounts that the term shown in the editor gives for it. The preview model computes them; the
// dock binds its fields to the model and recomputes once per turn of the event loop after
// anything the editor shows has changed.

#include <QDockWidget>
#include <QPointer>
#include <map>
#include <vector>

#include "editor/preview_model.h"

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace condpag {
class FRMCO_CONDPAG;
}

namespace condpag::ui {

// A date of the example invoice that is the invoice date until the person ticks its box and
// picks another one.
struct OptionalDate {
    OtherDate which = OtherDate::DeliveryNote;
    QCheckBox* set = nullptr;
    QDateEdit* date = nullptr;
};

class PreviewPanel : public QDockWidget {
  public:
    explicit PreviewPanel(QWidget* parent = nullptr);
    ~PreviewPanel() override;

    // Follows an editor window; nullptr lets go of it. The shell must let go before the window
    // is destroyed.
    void follow(FRMCO_CONDPAG* editor);
    FRMCO_CONDPAG* editor() const { return editor_; }

    // The example invoice and the rows last shown.
    const PreviewModel& model() const { return model_; }
    // Recomputes now (the panel otherwise does it on the next turn of the event loop).
    void refresh();
    // "Dati pagamento fattura elettronica…": the payment block of the example invoice.
    void show_payment_block();

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
    OptionalDate add_optional_date(const QString& caption, const QString& name, OtherDate which);
    // Hands each edit to the model through `store`, refreshes, and shows the amount in the
    // Italian form when left.
    template <typename Store>
    void watch_amount(QLineEdit* amount, Store store);
    // One field per installment that asks its fixed amount in the document.
    void keep_asked_amounts();
    void schedule();
    void show_rows();

    FRMCO_CONDPAG* editor_ = nullptr;
    // Changes each time another editor is followed, so handlers left on an earlier one go quiet.
    unsigned follow_count_ = 0;
    bool scheduled_ = false;
    PreviewModel model_;
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

}  // namespace condpag::ui
