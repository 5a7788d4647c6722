#pragma once
// The list of a lookup box: the rows of the statement the window filled, under the captions and
// title it gave, filtered by what the person types; the chosen row goes back to the box.

#include <QDialog>
#include <QPointer>
#include <optional>

#include "framework/lookup_runner.h"

class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace condpag::ui {

class LookupDialog : public QDialog {
  public:
    LookupDialog(const LookupRequest& request, const QueryResult& rows, QWidget* parent = nullptr);

    // The row chosen (index into the rows given), or nullopt.
    std::optional<size_t> chosen() const { return chosen_; }
    QLineEdit* filter() const { return filter_; }
    QTableView* table() const { return table_; }
    // Rows left by the filter.
    int shown_rows() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void choose_current();

    QLineEdit* filter_;
    QTableView* table_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* proxy_;
    std::optional<size_t> chosen_;
};

// Runs the statements on the window's connection and lets the person choose in a LookupDialog.
class QtLookupRunner : public HeadlessLookupRunner {
  public:
    QtLookupRunner(Connection connection, QWidget* parent)
        : HeadlessLookupRunner(std::move(connection)), parent_(parent) {}
    std::optional<size_t> Choose(const LookupRequest& request, const QueryResult& result) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace condpag::ui
