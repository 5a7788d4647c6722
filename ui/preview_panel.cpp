#include "ui/preview_panel.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/FRMCO_CONDPAG.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

namespace chr = std::chrono;

const QStringList kCaptions = {"Rata", "Tipo", "Scadenza", "Imponibile", "IVA", "Totale", "Note"};

QDate qdate(const chr::year_month_day& date) {
    return QDate(int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())));
}

chr::year_month_day ymd(const QDate& date) {
    return chr::year_month_day{chr::year{date.year()}, chr::month{unsigned(date.month())},
                               chr::day{unsigned(date.day())}};
}

QTableWidgetItem* cell(const std::string& text, bool number) {
    auto* item = new QTableWidgetItem(qstr(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

std::vector<Record> rows_of(const Recordset& set) {
    return set.State() == 1 ? set.records() : std::vector<Record>{};
}

}  // namespace

std::optional<Cents> parse_italian_amount(const QString& text) {
    QString plain = text.trimmed();
    plain.remove(QLatin1Char('.'));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    if (plain.isEmpty()) return std::nullopt;
    return to_cents(Value(sstr(plain)));
}

PreviewPanel::PreviewPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Anteprima scadenze"), parent) {
    setObjectName(QStringLiteral("AnteprimaScadenze"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(6, 6, 6, 6);

    auto* form = new QFormLayout;
    date_ = new QDateEdit(QDate::currentDate(), body);
    date_->setObjectName(QStringLiteral("DataFattura"));
    date_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    date_->setCalendarPopup(true);
    taxable_ = new QLineEdit(QStringLiteral("1.000,00"), body);
    taxable_->setObjectName(QStringLiteral("Imponibile"));
    vat_ = new QLineEdit(QStringLiteral("220,00"), body);
    vat_->setObjectName(QStringLiteral("Iva"));
    for (QLineEdit* amount : {taxable_, vat_}) amount->setAlignment(Qt::AlignRight);
    form->addRow(QStringLiteral("Data fattura"), date_);
    form->addRow(QStringLiteral("Imponibile"), taxable_);
    form->addRow(QStringLiteral("IVA"), vat_);
    column->addLayout(form);

    table_ = new QTableWidget(0, static_cast<int>(kCaptions.size()), body);
    table_->setObjectName(QStringLiteral("RigheAnteprima"));
    table_->setHorizontalHeaderLabels(kCaptions);
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(table_, 1);
    notes_ = new QLabel(body);
    notes_->setWordWrap(true);
    column->addWidget(notes_);
    setWidget(body);

    connect(date_, &QDateEdit::dateChanged, this, [this] { schedule(); });
    for (QLineEdit* amount : {taxable_, vat_}) {
        connect(amount, &QLineEdit::textEdited, this, [this] { schedule(); });
        // Shown again in the Italian form once the person is done with it.
        connect(amount, &QLineEdit::editingFinished, this, [amount] {
            if (auto cents = parse_italian_amount(amount->text())) {
                amount->setText(qstr(format_amount(*cents)));
            }
        });
    }
    show_rows();
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
            frame->ChangeStatus.connect([changed](int, int) { changed(); });
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

ExampleInvoice PreviewPanel::invoice() const {
    ExampleInvoice invoice;
    invoice.invoice_date = ymd(date_->date());
    invoice.taxable = parse_italian_amount(taxable_->text()).value_or(0);
    invoice.vat = parse_italian_amount(vat_->text()).value_or(0);
    return invoice;
}

std::vector<Record> PreviewPanel::read_subtypes() const {
    std::vector<Record> subtypes;
    Expected<QueryResult> result = editor_->WindowConnection().Execute(
        "SELECT CG64_TIPOEFF, CG64_CODSTIPOEFF, CG64_GGOFFSET FROM CG64_SOTTOTIPO");
    // Without the subtypes the dates come without their offsets; the preview still shows.
    if (!result) return subtypes;
    for (const std::vector<Value>& values : result->rows) {
        Record row;
        for (size_t i = 0; i < values.size() && i < result->columns.size(); ++i) {
            row[result->columns[i]] = values[i];
        }
        subtypes.push_back(std::move(row));
    }
    return subtypes;
}

void PreviewPanel::refresh() {
    if (editor_ == nullptr || !editor_->loaded() || editor_->unloaded()) {
        preview_ = {};
    } else {
        // The record sets hold the row being edited with what the person typed so far.
        preview_ =
            due_date_preview(rows_of(editor_->Grst_RecordSet_CG63),
                             rows_of(editor_->Grst_RecordSet_CG65), read_subtypes(), invoice());
    }
    show_rows();
}

void PreviewPanel::show_rows() {
    table_->setRowCount(static_cast<int>(preview_.rows.size()));
    int r = 0;
    for (const PreviewRow& row : preview_.rows) {
        std::string note = row.note;
        if (row.moved_from && note.empty()) note = "da " + format_date(*row.moved_from);
        table_->setItem(r, 0, cell(std::to_string(row.number), true));
        table_->setItem(r, 1, cell(row.type_label, false));
        table_->setItem(r, 2, cell(format_date(row.due), false));
        table_->setItem(r, 3, cell(format_amount(row.taxable), true));
        table_->setItem(r, 4, cell(format_amount(row.vat), true));
        table_->setItem(r, 5, cell(format_amount(row.total), true));
        table_->setItem(r, 6, cell(note, false));
        table_->item(r, 2)->setToolTip(qdate(row.due).toString(QStringLiteral("dddd")));
        ++r;
    }
    table_->resizeColumnsToContents();
    QStringList notes;
    for (const std::string& note : preview_.notes) notes << qstr(note);
    if (editor_ == nullptr) notes << QStringLiteral("Nessuna condizione di pagamento aperta.");
    notes_->setText(notes.join(QLatin1Char('\n')));
}

}  // namespace condpag::ui
