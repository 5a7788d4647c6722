#pragma once
// The grid: shows the rows of a record set (the one of its data frame) in the columns its layout
// object defines; each shown cell passes through CellDisplay, where a window may replace the text.

#include <string>
#include <vector>

#include "framework/control.h"
#include "storage/recordset.h"

namespace condpag {

class Cinterface;
class Grid;

struct GridColumn {
    std::string column;  // bound column of the record set
    std::string caption;
    int kind = 1;
    int width = 0;  // twips
    bool shown = true;
};

// The column-layout object of a grid: columns are added in call order and take effect when the
// layout is applied.
class ColumnLayout {
  public:
    explicit ColumnLayout(Grid& grid) : grid_(&grid) {}
    // The host interface, a record set (none), a source text ("") and one more value (0) are
    // accepted as the windows hand them.
    void Setup(Cinterface* host, Recordset* recordset = nullptr, std::string source = "",
               int extra = 0);
    void AddColumn(std::string column, std::string caption, int kind, int width, bool shown);
    // The added columns replace the grid's columns; applying again keeps them.
    void Apply();
    const std::vector<GridColumn>& pending() const { return pending_; }

  private:
    Grid* grid_;
    Cinterface* host_ = nullptr;
    std::vector<GridColumn> pending_;
};

class Grid : public Control {
  public:
    Grid(Form& form, std::string name);

    // The rows shown: the record set itself, by reference (nullptr shows nothing).
    void set_recordset(Recordset* recordset);
    Recordset* recordset() const { return recordset_; }

    ColumnLayout& layout() { return layout_; }
    const std::vector<GridColumn>& columns() const { return columns_; }
    void set_columns(std::vector<GridColumn> columns);

    long row_count() const;
    // The text shown in a cell (row 0-based, by bound column), after CellDisplay.
    std::string cell_text(long row, const std::string& column) const;
    // Every row as shown, in column order.
    std::vector<std::vector<std::string>> shown_rows() const;
    // The row of the record set's current position (0-based), -1 when on no row.
    long current_row() const;

    // A person selects a row: RowSelected (the data frame moves there). Refused when the grid
    // is not available.
    bool user_select_row(long row);
    // The rows changed; the view redraws.
    void refresh() { notify(); }

    Event<const std::string&, std::string&> CellDisplay;  // bound column, cell text
    Event<long> RowSelected;                              // row chosen by a person (0-based)

  protected:
    bool key_moves_focus(int key, int shift) const override;

  private:
    Recordset* recordset_ = nullptr;
    ColumnLayout layout_;
    std::vector<GridColumn> columns_;
};

}  // namespace condpag
