#pragma once
// The batch-editing cursor the windows expect (ADO-like). Rows keep their current values, their
// original values as read and a state; UpdateBatch writes changed, new and deleted rows and
// compares original values so that a row changed by someone else is reported, not overwritten.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rules/expected.h"
#include "rules/value.h"
#include "storage/connection.h"

namespace condpag {

enum class RowState { Unchanged, Changed, New, Deleted };

// Which pending rows a batch write takes.
enum class BatchScope { CurrentRow, AllRows };

// Outcome of a batch write: rows that could not be written stay pending in the set.
struct [[nodiscard]] BatchReport {
    int written = 0;
    int conflicts = 0;          // rows changed or deleted by another user since they were read
    std::vector<Error> errors;  // one per row not written, conflicts included
};

class Recordset {
  public:
    Recordset() = default;

    // Opens the set on a statement; cursor, lock and options are accepted as the callers pass
    // them (-1 leaves them to the set). Without a connection, reopens on the one it had.
    Status Open(const std::string& sql, const Connection& connection, int cursor_type = -1,
                int lock_type = -1, int options = -1);
    Status Open(const std::string& sql);
    void Close();
    ObjectState State() const;
    const std::string& Source() const;
    const std::string& table() const;  // the table the source statement reads
    const std::vector<std::string>& columns() const;

    // Navigation over the rows that are not deleted.
    long RecordCount() const;
    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    long AbsolutePosition() const;  // 1-based; 0 when on no row
    void SetAbsolutePosition(long position);

    // Fields of the current row.
    Value Field(std::string_view column) const;
    void SetField(std::string_view column, Value value);  // starts editing the current row
    Record current_record() const;
    std::vector<Record> records() const;  // every row not deleted, in order

    // Editing.
    void AddNew();        // a new row at the end, current, under edit
    void Update();        // ends the edit; the row waits for UpdateBatch
    void CancelUpdate();  // drops the edit; an added row disappears
    void Delete();        // marks the current row deleted
    bool editing() const;
    RowState row_state() const;
    bool pending() const;  // any row changed, new or deleted and not yet written

    // Writes pending rows: all of them, or only the current row.
    Expected<BatchReport> UpdateBatch(BatchScope scope = BatchScope::AllRows);
    // Brings back the rows marked deleted whose deletion was not written, as they were.
    void RestoreDeleted();
    // Whether the database still holds the current row with the values this set read: false
    // once another user changed or deleted it.
    Expected<bool> StillAsRead() const;
    // Reads the rows again from the database; pending changes are dropped.
    Status Requery(int options = -1);
    // A second cursor over the same rows, with a position of its own.
    Recordset Clone() const;

    // What the set holds before a transaction writes it: the order of its rows and a copy of
    // those still to be written. Restore puts them back when the transaction was undone, so
    // that they wait to be written again; it does nothing once the set was opened anew.
    struct Kept;
    [[nodiscard]] std::shared_ptr<const Kept> Keep() const;
    void Restore(const Kept& kept);

  private:
    struct Rows;
    std::shared_ptr<Rows> rows_;
    long position_ = 0;  // index into visible rows, 0-based; == count means EOF
};

// Every row a statement answers, read once, for views that only show them.
[[nodiscard]] Expected<std::vector<Record>> read_records(Connection& connection,
                                                         const std::string& sql);

}  // namespace condpag
