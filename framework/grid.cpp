#include "framework/grid.h"

#include "framework/form.h"

namespace condpag {

void ColumnLayout::Setup(Cinterface* host, Recordset* recordset, std::string source, int extra) {
    host_ = host;
    pending_.clear();
    (void)recordset;
    (void)source;
    (void)extra;
}

void ColumnLayout::AddColumn(std::string column, std::string caption, int kind, int width,
                             bool shown) {
    pending_.push_back({std::move(column), std::move(caption), kind, width, shown});
}

void ColumnLayout::Apply() { grid_->set_columns(pending_); }

Grid::Grid(Form& form, std::string name) : Control(form, std::move(name)), layout_(*this) {}

void Grid::set_recordset(Recordset* recordset) {
    recordset_ = recordset;
    notify();
}

void Grid::set_columns(std::vector<GridColumn> columns) {
    columns_ = std::move(columns);
    notify();
}

long Grid::row_count() const {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return 0;
    return recordset_->RecordCount();
}

std::string Grid::cell_text(long row, const std::string& column) const {
    if (row < 0 || row >= row_count()) return {};
    std::vector<Record> records = recordset_->records();
    std::string text = field(records[static_cast<size_t>(row)], column).to_text();
    CellDisplay.emit(column, text);
    return text;
}

std::vector<std::vector<std::string>> Grid::shown_rows() const {
    std::vector<std::vector<std::string>> out;
    if (row_count() == 0) return out;
    for (const Record& record : recordset_->records()) {
        std::vector<std::string> cells;
        for (const GridColumn& column : columns_) {
            std::string text = field(record, column.column).to_text();
            CellDisplay.emit(column.column, text);
            cells.push_back(std::move(text));
        }
        out.push_back(std::move(cells));
    }
    return out;
}

long Grid::current_row() const {
    if (row_count() == 0) return -1;
    return recordset_->AbsolutePosition() - 1;
}

bool Grid::user_select_row(long row) {
    if (!available() || row < 0 || row >= row_count()) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    RowSelected.emit(row);
    notify();
    return current_row() == row;
}

bool Grid::key_moves_focus(int key, int shift) const { return key == kKeyTab && shift == 0; }

}  // namespace condpag
