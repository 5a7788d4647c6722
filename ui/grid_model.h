#pragma once
// The table model of a grid: the rows of the grid's record set in the columns of its layout, each
// cell as the grid shows it (after its cell-display event). It reads the grid again on reload().

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

namespace condpag {
class Grid;
}

namespace condpag::ui {

class GridModel : public QAbstractTableModel {
  public:
    explicit GridModel(Grid& grid, QObject* parent = nullptr);

    // Takes the grid's columns and shown rows again; the view learns which rows changed. False
    // while the grid has no open set: the rows shown stay until it has one again, or until the
    // event loop is idle without one (then on_rows_taken's call follows).
    bool reload();
    // Column widths in pixels, from the layout's twips.
    int column_width(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Called after the rows were dropped that way.
    void on_rows_taken(std::function<void()> done) { rows_taken_ = std::move(done); }

  private:
    void take_rows();

    Grid* grid_;
    bool clear_pending_ = false;
    std::function<void()> rows_taken_;
    std::vector<std::string> captions_;
    std::vector<int> widths_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace condpag::ui
