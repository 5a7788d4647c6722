#include "ui/grid_model.h"

#include <QTimer>
#include <algorithm>
#include <tuple>

#include "framework/grid.h"
#include "rules/italian_format.h"
#include "ui/qt_text.h"

namespace condpag::ui {

GridModel::GridModel(Grid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(&grid) {
    take_rows();
}

bool GridModel::reload() {
    const Recordset* set = grid_->recordset();
    if ((set == nullptr || set->State() != ObjectState::Open) && !rows_.empty()) {
        // A detail set is released, closed and opened again on every move to another term:
        // the rows stay until the loop is idle, and go then only if no open set came back.
        if (!clear_pending_) {
            clear_pending_ = true;
            QTimer::singleShot(0, this, [this] {
                clear_pending_ = false;
                const Recordset* now = grid_->recordset();
                if (now == nullptr || now->State() != ObjectState::Open) {
                    take_rows();
                    if (rows_taken_) rows_taken_();
                }
            });
        }
        return false;
    }
    take_rows();
    return true;
}

void GridModel::take_rows() {
    std::vector<std::string> captions;
    std::vector<int> widths;
    for (const GridColumn& column : grid_->columns()) {
        captions.push_back(column.caption);
        widths.push_back(px(column.width));
    }
    std::vector<std::vector<std::string>> rows = grid_->shown_rows();
    if (std::tie(captions, widths) != std::tie(captions_, widths_)) {  // another layout
        beginResetModel();
        captions_ = std::move(captions);
        widths_ = std::move(widths);
        rows_ = std::move(rows);
        endResetModel();
        return;
    }
    // Same columns: the view is told which rows went, came or changed, so that it repaints those
    // alone (moving to the next term often leaves most rows as they were).
    const int had = static_cast<int>(rows_.size());
    const int has = static_cast<int>(rows.size());
    if (has < had) {
        beginRemoveRows(QModelIndex(), has, had - 1);
        rows_.resize(static_cast<size_t>(has));
        endRemoveRows();
    }
    const int last_column = std::max(static_cast<int>(captions_.size()) - 1, 0);
    for (int r = 0; r < std::min(had, has); ++r) {
        auto& shown = rows_[static_cast<size_t>(r)];
        if (shown == rows[static_cast<size_t>(r)]) continue;
        shown = std::move(rows[static_cast<size_t>(r)]);
        Q_EMIT dataChanged(index(r, 0), index(r, last_column));
    }
    if (has > had) {
        beginInsertRows(QModelIndex(), had, has - 1);
        for (int k = had; k < has; ++k) rows_.push_back(std::move(rows[static_cast<size_t>(k)]));
        endInsertRows();
    }
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
