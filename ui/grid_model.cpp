#include "ui/grid_model.h"

#include "framework/grid.h"
#include "rules/italian_format.h"
#include "ui/qt_text.h"

namespace condpag::ui {

GridModel::GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(&grid) {
    reload();
}

void GridModel::reload() {
    beginResetModel();
    captions_.clear();
    widths_.clear();
    for (const GridColumn& column : grid_->columns()) {
        captions_.push_back(column.caption);
        widths_.push_back(px(column.width));
    }
    rows_ = grid_->shown_rows();
    endResetModel();
}

int GridModel::column_width(int column) const {
    return column >= 0 && column < static_cast<int>(widths_.size()) ? widths_[column] : 0;
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const auto& row = rows_[static_cast<size_t>(index.row())];
    if (index.column() >= static_cast<int>(row.size())) return {};
    const std::string& text = row[static_cast<size_t>(index.column())];
    // The window's cell display has already written each value in its format.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return qstr(text);
    if (role == Qt::TextAlignmentRole) {
        // Numbers, written the Italian way, stand to the right.
        bool number = LeggiImporto(text).ok();
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= static_cast<int>(captions_.size())) return {};
    return qstr(captions_[static_cast<size_t>(section)]);
}

}  // namespace condpag::ui
