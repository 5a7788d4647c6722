#include "ui/lookup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace condpag::ui {

LookupDialog::LookupDialog(const LookupRequest& request, const QueryResult& rows, QWidget* parent)
    : QDialog(parent) {
    setObjectName("LookupDialog");
    setWindowTitle(qstr(request.title));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QStringLiteral("Cerca:"), this);
    filter_ = new QLineEdit(this);
    filter_->setObjectName("LookupFilter");
    filter_->setClearButtonEnabled(true);
    table_ = new QTableView(this);
    table_->setObjectName("LookupTable");
    model_ = new QStandardItemModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    QStringList headers;
    for (size_t c = 0; c < rows.columns.size(); ++c) {
        headers << qstr(c < request.columns.size() && !request.columns[c].caption.empty()
                            ? request.columns[c].caption
                            : rows.columns[c]);
    }
    model_->setHorizontalHeaderLabels(headers);
    for (size_t r = 0; r < rows.rows.size(); ++r) {
        QList<QStandardItem*> items;
        for (const Value& value : rows.rows[r]) {
            auto* item = new QStandardItem(qstr(RTrimN(value)));
            item->setData(static_cast<qulonglong>(r), Qt::UserRole);
            item->setEditable(false);
            items << item;
        }
        model_->appendRow(items);
    }
    table_->setModel(proxy_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    if (proxy_->rowCount() > 0) table_->selectRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scegli"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(hint);
    layout->addWidget(filter_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(520, 360);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy_->setFilterFixedString(text);
        if (proxy_->rowCount() > 0) table_->selectRow(0);
    });
    connect(table_, &QTableView::doubleClicked, this, [this] { choose_current(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { choose_current(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    filter_->installEventFilter(this);
    filter_->setFocus();
}

int LookupDialog::shown_rows() const { return proxy_->rowCount(); }

void LookupDialog::choose_current() {
    QModelIndex current = table_->currentIndex();
    if (!current.isValid() && proxy_->rowCount() > 0) current = proxy_->index(0, 0);
    if (!current.isValid()) return;
    QModelIndex source = proxy_->mapToSource(proxy_->index(current.row(), 0));
    chosen_ = static_cast<size_t>(model_->data(source, Qt::UserRole).toULongLong());
    accept();
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event) {
    // Up and down in the filter box move through the list; Enter chooses.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int row = table_->currentIndex().isValid() ? table_->currentIndex().row() : -1;
        if (key->key() == Qt::Key_Down && row + 1 < proxy_->rowCount()) {
            table_->selectRow(row + 1);
            return true;
        }
        if (key->key() == Qt::Key_Up && row > 0) {
            table_->selectRow(row - 1);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            choose_current();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<size_t> QtLookupRunner::Choose(const LookupRequest& request,
                                             const QueryResult& result) {
    shown.push_back(request);
    LookupDialog dialog(request, result, parent_);
    dialog.exec();
    return dialog.chosen();
}

}  // namespace condpag::ui
