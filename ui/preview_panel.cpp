#include "ui/preview_panel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/FRMCO_CONDPAG.h"
#include "einvoice/payment_block_xml.h"
#include "ui/einvoice_dialog.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

namespace chr = std::chrono;

// Asked amounts are laid out three to a line, so that a long term keeps the table in sight.
constexpr int kAskedPerLine = 3;

const QStringList kCaptions = {"Rata", "Tipo", "Scadenza", "Imponibile", "IVA", "Totale", "Note"};

QDate qdate(const chr::year_month_day& date) {
    return QDate(int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())));
}

chr::year_month_day ymd(const QDate& date) {
    return chr::year_month_day{chr::year{date.year()}, chr::month{unsigned(date.month())},
                               chr::day{unsigned(date.day())}};
}

// Writes a cell only when its text changed, so that the table repaints what changed alone.
// Returns whether it wrote.
bool put_cell(QTableWidget* table, int row, int column, const std::string& text, bool number) {
    const QString shown = qstr(text);
    if (QTableWidgetItem* item = table->item(row, column)) {
        if (item->text() == shown) return false;
        item->setText(shown);
        return true;
    }
    auto* item = new QTableWidgetItem(shown);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
    return true;
}

QDateEdit* date_field(const QString& name, QWidget* parent) {
    auto* date = new QDateEdit(QDate::currentDate(), parent);
    date->setObjectName(name);
    date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    date->setCalendarPopup(true);
    return date;
}

}  // namespace

PreviewPanel::PreviewPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Anteprima scadenze"), parent) {
    setObjectName(QStringLiteral("AnteprimaScadenze"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    setWidget(body);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(6, 6, 6, 6);

    // Invoice date and amounts on the left, the dates that default to it on the right.
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    date_ = date_field(QStringLiteral("DataFattura"), body);
    model_.set_invoice_date(ymd(date_->date()));
    taxable_ = new QLineEdit(qstr(model_.taxable()), body);
    taxable_->setObjectName(QStringLiteral("Imponibile"));
    vat_ = new QLineEdit(qstr(model_.vat()), body);
    vat_->setObjectName(QStringLiteral("Iva"));
    fields->addWidget(new QLabel(QStringLiteral("Data fattura"), body), 0, 0);
    fields->addWidget(date_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Imponibile"), body), 1, 0);
    fields->addWidget(taxable_, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("IVA"), body), 2, 0);
    fields->addWidget(vat_, 2, 1);
    delivery_note_ = add_optional_date(QStringLiteral("Data bolla"), QStringLiteral("DataBolla"),
                                       OtherDate::DeliveryNote);
    delivery_ = add_optional_date(QStringLiteral("Data consegna"), QStringLiteral("DataConsegna"),
                                  OtherDate::Delivery);
    order_ = add_optional_date(QStringLiteral("Data ordine"), QStringLiteral("DataOrdine"),
                               OtherDate::Order);
    on_request_ = add_optional_date(QStringLiteral("Data a richiesta"),
                                    QStringLiteral("DataARichiesta"), OtherDate::OnRequest);
    int row = 0;
    for (const OptionalDate& other : {delivery_note_, delivery_, order_, on_request_}) {
        fields->addWidget(other.set, row, 2);
        fields->addWidget(other.date, row++, 3);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    column->addLayout(fields);

    // Shown only while the term asks a fixed amount in the document for some installment.
    asked_box_ = new QGroupBox(QStringLiteral("Importi fissi richiesti nel documento"), body);
    asked_grid_ = new QGridLayout(asked_box_);
    asked_grid_->setColumnStretch(2 * kAskedPerLine, 1);
    asked_box_->hide();
    column->addWidget(asked_box_);

    table_ = new QTableWidget(0, static_cast<int>(kCaptions.size()), body);
    table_->setObjectName(QStringLiteral("RigheAnteprima"));
    table_->setHorizontalHeaderLabels(kCaptions);
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    // Columns as wide as what they show (sized after each refresh); the notes take the rest.
    table_->horizontalHeader()->setSectionResizeMode(table_->columnCount() - 1,
                                                     QHeaderView::Stretch);
    column->addWidget(table_, 1);
    auto* block = new QPushButton(QStringLiteral("Dati pagamento fattura elettronica…"), body);
    block->setObjectName(QStringLiteral("DatiPagamento"));
    connect(block, &QPushButton::clicked, this, &PreviewPanel::show_payment_block);
    column->addWidget(block, 0, Qt::AlignLeft);
    notes_ = new QLabel(body);
    notes_->setWordWrap(true);
    column->addWidget(notes_);

    connect(date_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        model_.set_invoice_date(ymd(date));
        for (const OptionalDate& other : {delivery_note_, delivery_, order_, on_request_}) {
            if (!other.set->isChecked()) other.date->setDate(date);
        }
        schedule();
    });
    watch_amount(taxable_, [this](const QString& text) { model_.set_taxable(sstr(text)); });
    watch_amount(vat_, [this](const QString& text) { model_.set_vat(sstr(text)); });
    refresh();
}

// Closing the panel takes the focus from a box being typed in, and the box then shows its amount
// again: what its signals say must not reach a panel that is already going.
PreviewPanel::~PreviewPanel() {
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

OptionalDate PreviewPanel::add_optional_date(const QString& caption, const QString& name,
                                             OtherDate which) {
    QWidget* body = widget();
    OptionalDate other{which, new QCheckBox(caption, body), date_field(name, body)};
    other.set->setObjectName(name + QStringLiteral("Indicata"));
    other.set->setToolTip(QStringLiteral("Se non indicata vale la data fattura"));
    other.date->setDate(date_->date());
    other.date->setEnabled(false);
    connect(other.set, &QCheckBox::toggled, this, [this, other](bool on) {
        other.date->setEnabled(on);
        if (!on) other.date->setDate(date_->date());
        model_.set_other_date(other.which,
                              on ? std::optional(ymd(other.date->date())) : std::nullopt);
        schedule();
    });
    connect(other.date, &QDateEdit::dateChanged, this, [this, other](const QDate& date) {
        if (other.set->isChecked()) model_.set_other_date(other.which, ymd(date));
        schedule();
    });
    return other;
}

template <typename Store>
void PreviewPanel::watch_amount(QLineEdit* amount, Store store) {
    amount->setAlignment(Qt::AlignRight);
    connect(amount, &QLineEdit::textChanged, this, [this, store](const QString& text) {
        store(text);
        schedule();
    });
    // Shown again in the Italian form once the person is done with it.
    connect(amount, &QLineEdit::editingFinished, this,
            [amount] { amount->setText(qstr(amount_as_shown(sstr(amount->text())))); });
}

void PreviewPanel::follow(FRMCO_CONDPAG* editor) {
    editor_ = editor;
    unsigned token = ++follow_count_;
    if (editor != nullptr) {
        QPointer<PreviewPanel> self(this);
        auto changed = [self, token] {
            if (self && self->follow_count_ == token) self->schedule();
        };
        // Anything the window shows (term, rows, the fields being typed in) may move a due date.
        for (Control* control : editor->controls()) {
            control->StateChanged.connect(changed);
            control->Edited.connect(changed);
        }
        for (DataFrame* frame :
             {&editor->FME_CONDPAGDES, &editor->FME_DETTAGLIO, &editor->FME_PERSLIT}) {
            frame->ChangeStatus.connect([changed](FrameStatus, ChangeReason) { changed(); });
            frame->AfterUpdate.connect([changed](bool) { changed(); });
            frame->AfterDelete.connect([changed](bool) { changed(); });
            frame->AfterUndo.connect([changed](bool) { changed(); });
        }
    }
    refresh();
}

void PreviewPanel::schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        refresh();
    });
}

QLineEdit* PreviewPanel::asked_amount(int installment) const {
    auto it = asked_.find(installment);
    return it == asked_.end() ? nullptr : it->second;
}

void PreviewPanel::keep_asked_amounts() {
    const std::vector<int> numbers = model_.asked_installments();
    const bool same =
        std::equal(numbers.begin(), numbers.end(), asked_.begin(), asked_.end(),
                   [](int number, const auto& field) { return number == field.first; });
    if (same) return;
    asked_.clear();
    while (QLayoutItem* item = asked_grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int slot = 0;
    for (int number : numbers) {
        auto* caption = new QLabel(QStringLiteral("Rata %1").arg(number), asked_box_);
        auto* amount = new QLineEdit(qstr(model_.asked_amount(number)), asked_box_);
        amount->setObjectName(QStringLiteral("ImportoRichiesto%1").arg(number));
        amount->setPlaceholderText(QStringLiteral("0,00"));
        amount->setFixedWidth(
            amount->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,00")) + 16);
        caption->setBuddy(amount);
        watch_amount(amount, [this, number](const QString& text) {
            model_.set_asked_amount(number, sstr(text));
        });
        const int line = slot / kAskedPerLine;
        const int place = 2 * (slot++ % kAskedPerLine);
        asked_grid_->addWidget(caption, line, place);
        asked_grid_->addWidget(amount, line, place + 1);
        asked_.emplace(number, amount);
    }
    asked_box_->setVisible(!asked_.empty());
}

void PreviewPanel::show_payment_block() {
    refresh();
    const PreviewTerm& term = model_.term();
    EInvoiceDialog dialog(
        payment_block_text(term.installments, term.shift_periods, term.subtypes, model_.invoice()),
        this);
    dialog.exec();
}

void PreviewPanel::refresh() {
    model_.refresh(editor_);
    keep_asked_amounts();
    show_rows();
}

void PreviewPanel::show_rows() {
    const DueDatePreview& preview = model_.preview();
    bool changed = table_->rowCount() != static_cast<int>(preview.rows.size());
    table_->setRowCount(static_cast<int>(preview.rows.size()));
    int r = 0;
    for (const PreviewRow& row : preview.rows) {
        changed |= put_cell(table_, r, 0, std::to_string(row.number), true);
        changed |= put_cell(table_, r, 1, row.type_label, false);
        changed |= put_cell(table_, r, 2, format_date(row.due), false);
        changed |= put_cell(table_, r, 3, format_amount(row.taxable), true);
        changed |= put_cell(table_, r, 4, format_amount(row.vat), true);
        changed |= put_cell(table_, r, 5, format_amount(row.total), true);
        changed |= put_cell(table_, r, 6, row_note(row), false);
        const QString weekday = qdate(row.due).toString(QStringLiteral("dddd"));
        if (table_->item(r, 2)->toolTip() != weekday) table_->item(r, 2)->setToolTip(weekday);
        ++r;
    }
    // Once per refresh that changed a cell: sizing the columns reads every cell again.
    if (changed) {
        for (int c = 0; c + 1 < table_->columnCount(); ++c) table_->resizeColumnToContents(c);
    }
    QStringList notes;
    for (const std::string& note : preview.notes) notes << qstr(note);
    notes_->setText(notes.join(QLatin1Char('\n')));
}

}  // namespace condpag::ui
