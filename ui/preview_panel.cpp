#include "ui/preview_panel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "editor/FRMCO_CONDPAG.h"
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

QTableWidgetItem* cell(const std::string& text, bool number) {
    auto* item = new QTableWidgetItem(qstr(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

std::vector<Record> rows_of(const Recordset& set) {
    return set.State() == 1 ? set.records() : std::vector<Record>{};
}

QDateEdit* date_field(const QString& name, QWidget* parent) {
    auto* date = new QDateEdit(QDate::currentDate(), parent);
    date->setObjectName(name);
    date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    date->setCalendarPopup(true);
    return date;
}

// The numbers of the installments whose fixed amount is asked in the document, numbered as the
// preview numbers its rows.
std::set<int> asking_installments(const std::vector<Record>& installments) {
    std::set<int> numbers;
    for (std::size_t i = 0; i < installments.size(); ++i) {
        const Record& row = installments[i];
        if (std::lround(CDecN(field(row, "CG63_INDIMPFIX"))) != 2) continue;
        const Value& number = field(row, "CG63_PROG");
        numbers.insert(RTrimN(number).empty() ? int(i + 1) : int(std::lround(CDecN(number))));
    }
    return numbers;
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
    setWidget(body);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(6, 6, 6, 6);

    // Invoice date and amounts on the left, the dates that default to it on the right.
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    date_ = date_field(QStringLiteral("DataFattura"), body);
    taxable_ = new QLineEdit(QStringLiteral("1.000,00"), body);
    taxable_->setObjectName(QStringLiteral("Imponibile"));
    vat_ = new QLineEdit(QStringLiteral("220,00"), body);
    vat_->setObjectName(QStringLiteral("Iva"));
    fields->addWidget(new QLabel(QStringLiteral("Data fattura"), body), 0, 0);
    fields->addWidget(date_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Imponibile"), body), 1, 0);
    fields->addWidget(taxable_, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("IVA"), body), 2, 0);
    fields->addWidget(vat_, 2, 1);
    delivery_note_ = add_optional_date(QStringLiteral("Data bolla"), QStringLiteral("DataBolla"));
    delivery_ = add_optional_date(QStringLiteral("Data consegna"), QStringLiteral("DataConsegna"));
    order_ = add_optional_date(QStringLiteral("Data ordine"), QStringLiteral("DataOrdine"));
    on_request_ =
        add_optional_date(QStringLiteral("Data a richiesta"), QStringLiteral("DataARichiesta"));
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
    notes_ = new QLabel(body);
    notes_->setWordWrap(true);
    column->addWidget(notes_);

    connect(date_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        for (const OptionalDate& other : {delivery_note_, delivery_, order_, on_request_}) {
            if (!other.set->isChecked()) other.date->setDate(date);
        }
        schedule();
    });
    for (QLineEdit* amount : {taxable_, vat_}) watch_amount(amount);
    show_rows();
}

OptionalDate PreviewPanel::add_optional_date(const QString& caption, const QString& name) {
    QWidget* body = widget();
    OptionalDate other{new QCheckBox(caption, body), date_field(name, body)};
    other.set->setObjectName(name + QStringLiteral("Indicata"));
    other.set->setToolTip(QStringLiteral("Se non indicata vale la data fattura"));
    other.date->setDate(date_->date());
    other.date->setEnabled(false);
    connect(other.set, &QCheckBox::toggled, this, [this, other](bool on) {
        other.date->setEnabled(on);
        if (!on) other.date->setDate(date_->date());
        schedule();
    });
    connect(other.date, &QDateEdit::dateChanged, this, [this] { schedule(); });
    return other;
}

void PreviewPanel::watch_amount(QLineEdit* amount) {
    amount->setAlignment(Qt::AlignRight);
    connect(amount, &QLineEdit::textEdited, this, [this] { schedule(); });
    // Shown again in the Italian form once the person is done with it.
    connect(amount, &QLineEdit::editingFinished, this, [amount] {
        if (auto cents = parse_italian_amount(amount->text())) {
            amount->setText(qstr(format_amount(*cents)));
        }
    });
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
    auto read = [](const OptionalDate& other) -> std::optional<chr::year_month_day> {
        if (!other.set->isChecked()) return std::nullopt;
        return ymd(other.date->date());
    };
    invoice.delivery_note_date = read(delivery_note_);
    invoice.delivery_date = read(delivery_);
    invoice.order_date = read(order_);
    invoice.on_request_date = read(on_request_);
    for (const auto& [number, amount] : asked_) {
        if (amount->text().trimmed().isEmpty()) continue;
        invoice.asked_fixed_amounts[number] = parse_italian_amount(amount->text()).value_or(0);
    }
    return invoice;
}

QLineEdit* PreviewPanel::asked_amount(int installment) const {
    auto it = asked_.find(installment);
    return it == asked_.end() ? nullptr : it->second;
}

void PreviewPanel::keep_asked_amounts(const std::vector<Record>& installments) {
    const std::set<int> numbers = asking_installments(installments);
    const bool same =
        std::equal(numbers.begin(), numbers.end(), asked_.begin(), asked_.end(),
                   [](int number, const auto& field) { return number == field.first; });
    if (same) return;
    // Amounts already typed stay with their installment while the term keeps asking for it.
    std::map<int, QString> typed;
    for (const auto& [number, amount] : asked_) typed[number] = amount->text();
    asked_.clear();
    while (QLayoutItem* item = asked_grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int slot = 0;
    for (int number : numbers) {
        auto* caption = new QLabel(QStringLiteral("Rata %1").arg(number), asked_box_);
        auto* amount = new QLineEdit(typed[number], asked_box_);
        amount->setObjectName(QStringLiteral("ImportoRichiesto%1").arg(number));
        amount->setPlaceholderText(QStringLiteral("0,00"));
        amount->setFixedWidth(
            amount->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,00")) + 16);
        caption->setBuddy(amount);
        watch_amount(amount);
        const int line = slot / kAskedPerLine;
        const int place = 2 * (slot++ % kAskedPerLine);
        asked_grid_->addWidget(caption, line, place);
        asked_grid_->addWidget(amount, line, place + 1);
        asked_.emplace(number, amount);
    }
    asked_box_->setVisible(!asked_.empty());
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
        keep_asked_amounts({});
        preview_ = {};
    } else {
        // The record sets hold the row being edited with what the person typed so far.
        const std::vector<Record> installments = rows_of(editor_->Grst_RecordSet_CG63);
        keep_asked_amounts(installments);
        preview_ = due_date_preview(installments, rows_of(editor_->Grst_RecordSet_CG65),
                                    read_subtypes(), invoice());
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
    // Once per refresh: sizing the columns on every cell written costs a frame.
    for (int c = 0; c + 1 < table_->columnCount(); ++c) table_->resizeColumnToContents(c);
    QStringList notes;
    for (const std::string& note : preview_.notes) notes << qstr(note);
    if (editor_ == nullptr) notes << QStringLiteral("Nessuna condizione di pagamento aperta.");
    notes_->setText(notes.join(QLatin1Char('\n')));
}

}  // namespace condpag::ui
