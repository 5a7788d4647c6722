#include "storage/recordset.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "storage/backends.h"
#include "storage/dialect.h"
#include "storage/schema.h"

namespace condpag {
namespace {

struct Row {
    std::uint32_t id = 0;  // unique within its set, so that a kept copy finds its place again
    std::vector<Value> current;
    // The values as read, kept apart only once the row changes: a large set read to be browsed
    // then holds each value once.
    std::vector<Value> original;
    RowState state = RowState::Unchanged;
    bool editing = false;
    bool added = false;
    RowState state_before_delete = RowState::Unchanged;  // begun by AddNew and not yet confirmed
    std::vector<Value> before_edit;
    RowState state_before_edit = RowState::Unchanged;
};

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

Value coerce(Value value, ColumnType type) {
    if (type == ColumnType::Number && value.is_text()) {
        if (RTrimN(std::string_view(value.text())).empty()) return Value();
        if (auto number = parse_number(value.text())) return Value(*number);
    } else if (type == ColumnType::Text && value.is_number()) {
        return Value(decimal_text(value.number()));
    }
    return value;
}

}  // namespace

struct Recordset::Rows {
    Connection connection;
    bool open = false;
    std::string source;
    std::string table;
    std::vector<std::string> columns;
    std::vector<ColumnType> types;
    std::vector<Row> rows;
    std::vector<size_t> visible;  // indexes of the rows not deleted, in order
    std::uint32_t next_id = 0;

    void refresh() {
        visible.clear();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].state != RowState::Deleted) visible.push_back(i);
        }
    }
    // Takes out rows whose deletion was written.
    void drop(const std::vector<const Row*>& gone) {
        if (gone.empty()) return;
        std::erase_if(rows, [&](const Row& row) {
            return std::find(gone.begin(), gone.end(), &row) != gone.end();
        });
        refresh();
    }
    int column(std::string_view name) const {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (same_name(columns[i], name)) return static_cast<int>(i);
        }
        return -1;
    }
    Status load() {
        auto result = connection.Execute(source, -1);
        if (!result) return result.error();
        columns = std::move(result->columns);
        types = std::move(result->types);
        types.resize(columns.size(), ColumnType::Unknown);
        rows.clear();
        rows.reserve(result->rows.size());
        for (auto& values : result->rows) {
            Row row;
            row.id = next_id++;
            row.current = std::move(values);
            rows.push_back(std::move(row));
        }
        refresh();
        open = true;
        return success();
    }
};

namespace {

// Where clause matching a row as it was read: every column, nulls by IS NULL.
void match_original(const std::vector<std::string>& columns, const Row& row, std::string& sql,
                    std::vector<Value>& params) {
    const std::vector<Value>& read = row.original.empty() ? row.current : row.original;
    sql += " WHERE ";
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) sql += " AND ";
        const Value& original = read[c];
        if (original.is_null()) {
            sql += columns[c] + " IS NULL";
        } else if (original.is_number() && original.number() != std::trunc(original.number())) {
            // Some drivers hand fractions back with 15 digits only: a tiny margin keeps such a
            // row matching itself.
            double margin = std::fabs(original.number()) * 1e-12;
            sql += columns[c] + " BETWEEN ? AND ?";
            params.push_back(original.number() - margin);
            params.push_back(original.number() + margin);
        } else {
            sql += columns[c] + " = ?";
            params.push_back(original);
        }
    }
}

std::string key_text(const std::vector<std::string>& columns, const Row& row,
                     std::string_view table) {
    std::string text;
    const auto& keys = key_columns(table);
    for (size_t c = 0; c < columns.size(); ++c) {
        bool is_key = keys.empty() || std::any_of(keys.begin(), keys.end(), [&](const auto& k) {
                          return same_name(k, columns[c]);
                      });
        if (!is_key) continue;
        if (!text.empty()) text += ", ";
        text += columns[c] + " = " + row.current[c].to_text();
    }
    return text;
}

// A row whose original values no longer match what is stored: counted and reported, not written.
void report_conflict(BatchReport& report, const std::vector<std::string>& columns, const Row& row,
                     const std::string& table, const std::string& sql) {
    ++report.conflicts;
    report.errors.push_back(
        {table + ": la riga " + key_text(columns, row, table) +
             " è stata modificata o eliminata da un altro utente dopo la lettura",
         sql});
}

// What a user reads when the key of a new or renumbered row is taken: the key values only, never
// the driver's words. It follows "Impossibile salvare ...: " where the windows show it.
std::string duplicate_text(const std::vector<std::string>& columns, const Row& row,
                           std::string_view table) {
    const auto& keys = key_columns(table);
    std::string values;
    auto add = [&](size_t c) {
        if (!values.empty()) values += " / ";
        values += RTrimN(row.current[c]);
    };
    if (keys.empty()) {
        for (size_t c = 0; c < columns.size(); ++c) add(c);
    } else {
        for (const auto& key : keys) {
            for (size_t c = 0; c < columns.size(); ++c) {
                if (same_name(key, columns[c])) add(c);
            }
        }
    }
    return "esiste già una riga con codice " + values;
}

}  // namespace

Status Recordset::Open(const std::string& sql, const Connection& connection, int, int, int) {
    auto rows = std::make_shared<Rows>();
    rows->connection = connection;
    rows->source = sql;
    rows->table = source_table(sql);
    rows_ = rows;
    position_ = 0;
    return rows_->load();
}

Status Recordset::Open(const std::string& sql) {
    if (!rows_) return Error{"Il recordset non ha una connessione", sql};
    return Open(sql, rows_->connection);
}

void Recordset::Close() {
    if (!rows_) return;
    auto rows = std::make_shared<Rows>();
    rows->connection = rows_->connection;
    rows_ = rows;
    position_ = 0;
}

ObjectState Recordset::State() const {
    return rows_ && rows_->open ? ObjectState::Open : ObjectState::Closed;
}

const std::string& Recordset::Source() const {
    static const std::string none;
    return rows_ ? rows_->source : none;
}

const std::string& Recordset::table() const {
    static const std::string none;
    return rows_ ? rows_->table : none;
}

const std::vector<std::string>& Recordset::columns() const {
    static const std::vector<std::string> none;
    return rows_ ? rows_->columns : none;
}

long Recordset::RecordCount() const { return rows_ ? static_cast<long>(rows_->visible.size()) : 0; }

bool Recordset::IsEOF() const { return position_ >= RecordCount() || RecordCount() == 0; }
bool Recordset::IsBOF() const { return position_ < 0 || RecordCount() == 0; }

void Recordset::MoveFirst() {
    if (editing()) Update();
    position_ = 0;
}

void Recordset::MoveNext() {
    if (editing()) Update();
    if (position_ < RecordCount()) ++position_;
}

void Recordset::MovePrevious() {
    if (editing()) Update();
    if (position_ >= 0) --position_;
}

void Recordset::MoveLast() {
    if (editing()) Update();
    position_ = RecordCount() > 0 ? RecordCount() - 1 : 0;
}

long Recordset::AbsolutePosition() const { return IsBOF() || IsEOF() ? 0 : position_ + 1; }

void Recordset::SetAbsolutePosition(long position) {
    if (position < 1 || position > RecordCount()) return;
    if (editing()) Update();
    position_ = position - 1;
}

Value Recordset::Field(std::string_view column) const {
    if (IsBOF() || IsEOF()) return Value();
    int c = rows_->column(column);
    if (c < 0) return Value();
    return rows_->rows[rows_->visible[position_]].current[c];
}

void Recordset::SetField(std::string_view column, Value value) {
    if (IsBOF() || IsEOF()) return;
    int c = rows_->column(column);
    if (c < 0) return;
    Row& row = rows_->rows[rows_->visible[position_]];
    if (row.original.empty()) row.original = row.current;
    if (!row.editing) {
        row.editing = true;
        row.before_edit = row.current;
        row.state_before_edit = row.state;
    }
    row.current[c] = coerce(std::move(value), rows_->types[c]);
    if (row.state == RowState::Unchanged) row.state = RowState::Changed;
}

Record Recordset::current_record() const {
    Record record;
    if (IsBOF() || IsEOF()) return record;
    const Row& row = rows_->rows[rows_->visible[position_]];
    for (size_t c = 0; c < rows_->columns.size(); ++c) record[rows_->columns[c]] = row.current[c];
    return record;
}

std::vector<Record> Recordset::records() const {
    std::vector<Record> out;
    if (!rows_) return out;
    for (size_t index : rows_->visible) {
        Record record;
        for (size_t c = 0; c < rows_->columns.size(); ++c) {
            record[rows_->columns[c]] = rows_->rows[index].current[c];
        }
        out.push_back(std::move(record));
    }
    return out;
}

void Recordset::AddNew() {
    if (!rows_ || !rows_->open) return;
    if (editing()) Update();
    Row row;
    row.id = rows_->next_id++;
    row.current.resize(rows_->columns.size());
    row.original.resize(rows_->columns.size());
    row.state = RowState::New;
    row.editing = true;
    row.added = true;
    rows_->rows.push_back(std::move(row));
    rows_->refresh();
    position_ = RecordCount() - 1;
}

void Recordset::Update() {
    if (!editing()) return;
    Row& row = rows_->rows[rows_->visible[position_]];
    row.editing = false;
    row.added = false;
    if (row.state == RowState::Changed && row.current == row.original) {
        row.state = RowState::Unchanged;
    }
}

void Recordset::CancelUpdate() {
    if (!editing()) return;
    size_t index = rows_->visible[position_];
    Row& row = rows_->rows[index];
    if (row.added) {
        rows_->rows.erase(rows_->rows.begin() + static_cast<long>(index));
        rows_->refresh();
        if (position_ >= RecordCount() && RecordCount() > 0) position_ = RecordCount() - 1;
        return;
    }
    row.current = row.before_edit;
    row.state = row.state_before_edit;
    row.editing = false;
}

void Recordset::Delete() {
    if (IsBOF() || IsEOF()) return;
    size_t index = rows_->visible[position_];
    Row& row = rows_->rows[index];
    if (row.state == RowState::New) {
        // Never written: it simply goes away.
        rows_->rows.erase(rows_->rows.begin() + static_cast<long>(index));
    } else {
        if (row.editing) row.current = row.before_edit;
        row.editing = false;
        row.state_before_delete = row.state;
        row.state = RowState::Deleted;
    }
    rows_->refresh();
}

bool Recordset::editing() const {
    if (IsBOF() || IsEOF()) return false;
    return rows_->rows[rows_->visible[position_]].editing;
}

RowState Recordset::row_state() const {
    if (IsBOF() || IsEOF()) return RowState::Unchanged;
    return rows_->rows[rows_->visible[position_]].state;
}

bool Recordset::pending() const {
    if (!rows_) return false;
    return std::any_of(rows_->rows.begin(), rows_->rows.end(), [](const Row& row) {
        return row.state != RowState::Unchanged || row.editing;
    });
}

namespace {

// One statement of a batch write, with its values bound in order.
struct Statement {
    std::string sql;
    std::vector<Value> params;
};

Statement delete_statement(const std::string& table, const std::vector<std::string>& columns,
                           const Row& row) {
    Statement statement{"DELETE FROM " + table, {}};
    match_original(columns, row, statement.sql, statement.params);
    return statement;
}

Statement insert_statement(const std::string& table, const std::vector<std::string>& columns,
                           const Row& row) {
    Statement statement{"INSERT INTO " + table + " (", {}};
    std::string values;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) statement.sql += ", ", values += ", ";
        statement.sql += columns[c];
        values += "?";
        statement.params.push_back(row.current[c]);
    }
    statement.sql += ") VALUES (" + values + ")";
    return statement;
}

// Sets only the columns that changed; empty when none did.
Statement update_statement(const std::string& table, const std::vector<std::string>& columns,
                           const Row& row) {
    Statement statement{"UPDATE " + table + " SET ", {}};
    for (size_t c = 0; c < columns.size(); ++c) {
        if (row.current[c] == row.original[c]) continue;
        if (!statement.params.empty()) statement.sql += ", ";
        statement.sql += columns[c] + " = ?";
        statement.params.push_back(row.current[c]);
    }
    if (statement.params.empty()) return {};
    match_original(columns, row, statement.sql, statement.params);
    return statement;
}

// Whether a failed write met a row that already holds its key. A database that only says that
// some constraint failed is asked whether the key is taken.
bool duplicate_key(FailureKind kind, Connection& connection, const std::string& table,
                   const std::vector<std::string>& columns, const Row& row) {
    if (kind == FailureKind::DuplicateKey) return true;
    if (kind != FailureKind::Constraint || key_columns(table).empty()) return false;
    std::string sql = "SELECT COUNT(*) FROM " + table + " WHERE ";
    std::vector<Value> params;
    for (const auto& key : key_columns(table)) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!same_name(key, columns[c])) continue;
            if (!params.empty()) sql += " AND ";
            sql += columns[c] + " = ?";
            params.push_back(row.current[c]);
        }
    }
    auto counted = connection.Execute(sql, -1, params);
    return counted && !counted->rows.empty() && CDecN(counted->rows[0][0]) > 0;
}

// Whether writing the row may meet a key that another row of the batch still holds.
bool may_take_a_held_key(const std::string& table, const std::vector<std::string>& columns,
                         const Row& row) {
    if (row.state == RowState::New) return true;
    if (row.state != RowState::Changed || row.original.empty()) return false;  // a delete
    for (const auto& key : key_columns(table)) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (same_name(key, columns[c]) && row.current[c] != row.original[c]) return true;
        }
    }
    return false;
}

// Rows a batch writes, by identity, so that positions can shift while writing: deletions go
// first, then changed and new rows.
struct PendingRows {
    std::vector<Row*> deletes, others;

    void add(Row& row) {
        if (row.state == RowState::Deleted)
            deletes.push_back(&row);
        else if (row.state != RowState::Unchanged)
            others.push_back(&row);
    }
};

// The statement that writes a changed or new row; empty when a changed row holds its values again.
Statement change_statement(const std::string& table, const std::vector<std::string>& columns,
                           const Row& row) {
    return row.state == RowState::New ? insert_statement(table, columns, row)
                                      : update_statement(table, columns, row);
}

// Writes the pending rows of one set on its connection and reports what became of each.
class BatchWriter {
  public:
    BatchWriter(Connection connection, const std::string& table,
                const std::vector<std::string>& columns, const PendingRows& pending)
        : connection_(std::move(connection)),
          table_(table),
          columns_(columns),
          guard_(needs_guard(pending.others)) {}

    // Deletes rows as they were read; answers those written, to be dropped from the set.
    std::vector<const Row*> write_deletes(const std::vector<Row*>& deletes) {
        std::vector<const Row*> written;
        for (Row* row : deletes) {
            auto done = write(*row, delete_statement(table_, columns_, *row));
            if (!done) report_.errors.push_back(done.error());
            if (done && *done) written.push_back(row);
        }
        return written;
    }

    // Changed and new rows. A key that is still held by a row written later (renumbering)
    // makes a first attempt fail; such rows are tried again while others get through.
    void write_changes(std::vector<Row*> todo) {
        std::vector<Error> duplicates;
        bool progress = true;
        while (!todo.empty() && progress) {
            duplicates.clear();
            progress = write_round(todo, duplicates);
        }
        for (auto& duplicate : duplicates) report_.errors.push_back(std::move(duplicate));
    }

    BatchReport take_report() { return std::move(report_); }

  private:
    // PostgreSQL gives up a whole transaction at its first failed statement: a write that may
    // meet a held key gets a savepoint to go back to, so that it can be tried again later.
    // Only a batch that moves keys can meet a key held for a moment.
    bool needs_guard(const std::vector<Row*>& others) const {
        return connection_.in_transaction() && connection_.dialect() == Dialect::Postgres &&
               std::any_of(others.begin(), others.end(), [&](const Row* row) {
                   return row->state == RowState::Changed &&
                          may_take_a_held_key(table_, columns_, *row);
               });
    }

    // One pass over the rows still to write; those whose key is held wait in todo for the
    // next pass. Answers whether any row got through.
    bool write_round(std::vector<Row*>& todo, std::vector<Error>& duplicates) {
        bool progress = false;
        std::vector<Row*> again;
        for (Row* row : todo) {
            Statement statement = change_statement(table_, columns_, *row);
            if (statement.sql.empty()) {
                row->state = RowState::Unchanged;
                continue;
            }
            auto done = write(*row, statement);
            if (!done && duplicate_key(failure_, connection_, table_, columns_, *row)) {
                again.push_back(row);
                duplicates.push_back({duplicate_text(columns_, *row, table_), statement.sql});
            } else if (!done) {
                report_.errors.push_back(done.error());
            } else if (*done) {
                row->original.clear();
                row->state = RowState::Unchanged;
                progress = true;
            }
        }
        todo = std::move(again);
        return progress;
    }

    // Runs one statement; a row it did not find was changed or deleted by someone else.
    Expected<bool> write(Row& row, const Statement& statement) {
        const bool guarded =
            guard_ && row.state != RowState::Deleted && may_take_a_held_key(table_, columns_, row);
        if (guarded) {
            if (auto saved = connection_.ExecuteChange("SAVEPOINT batch_row"); !saved) {
                return saved.error();
            }
        }
        auto changed = connection_.ExecuteChange(statement.sql, statement.params);
        if (!changed) {
            failure_ = connection_.LastFailure();
            if (guarded) {
                ignore_error_by_design(
                    connection_.ExecuteChange("ROLLBACK TO SAVEPOINT batch_row"));
            }
            return changed.error();
        }
        if (*changed == 0) {
            report_conflict(report_, columns_, row, table_, statement.sql);
            return false;
        }
        ++report_.written;
        return true;
    }

    Connection connection_;
    const std::string& table_;
    const std::vector<std::string>& columns_;
    const bool guard_;
    FailureKind failure_ = FailureKind::Other;  // of the last statement that failed
    BatchReport report_;
};

}  // namespace

Expected<BatchReport> Recordset::UpdateBatch(BatchScope scope) {
    if (!rows_ || !rows_->open) return Error{"Il recordset non è aperto", "UpdateBatch"};
    if (editing()) Update();
    Rows& set = *rows_;
    if (set.table.empty()) {
        return Error{"Impossibile scrivere le righe: l'istruzione non nomina una tabella",
                     set.source};
    }
    PendingRows pending;
    if (scope == BatchScope::CurrentRow) {
        // The current row; a row deleted under the cursor is no longer visible, so look for it
        // among the deleted ones only when the cursor stands on nothing.
        if (!IsBOF() && !IsEOF()) pending.add(set.rows[set.visible[position_]]);
    } else {
        for (Row& row : set.rows) pending.add(row);
    }
    BatchWriter writer(set.connection, set.table, set.columns, pending);
    std::vector<const Row*> deleted = writer.write_deletes(pending.deletes);
    writer.write_changes(pending.others);
    set.drop(deleted);
    return writer.take_report();
}

void Recordset::RestoreDeleted() {
    if (!rows_) return;
    for (Row& row : rows_->rows) {
        if (row.state == RowState::Deleted) row.state = row.state_before_delete;
    }
    rows_->refresh();
}

Expected<bool> Recordset::StillAsRead() const {
    if (IsBOF() || IsEOF()) return Error{"Nessuna riga è corrente", "StillAsRead"};
    const Rows& set = *rows_;
    if (set.table.empty()) {
        return Error{"Impossibile rileggere la riga: l'istruzione non nomina una tabella",
                     set.source};
    }
    std::string sql = "SELECT COUNT(*) FROM " + set.table;
    std::vector<Value> params;
    match_original(set.columns, set.rows[set.visible[position_]], sql, params);
    Connection connection = set.connection;
    auto result = connection.Execute(sql, -1, params);
    if (!result) return result.error();
    return !result->rows.empty() && !result->rows[0].empty() && CDecN(result->rows[0][0]) > 0;
}

Status Recordset::Requery(int) {
    if (!rows_ || rows_->source.empty()) return Error{"Il recordset non è aperto", "Requery"};
    position_ = 0;
    return rows_->load();
}

Recordset Recordset::Clone() const {
    Recordset clone;
    clone.rows_ = rows_;
    clone.position_ = 0;
    return clone;
}

struct Recordset::Kept {
    std::shared_ptr<Rows> set;
    std::vector<std::uint32_t> order;
    std::vector<Row> pending;  // in the order of the set
    long position = 0;
};

std::shared_ptr<const Recordset::Kept> Recordset::Keep() const {
    auto kept = std::make_shared<Kept>();
    kept->set = rows_;
    kept->position = position_;
    if (!rows_) return kept;
    kept->order.reserve(rows_->rows.size());
    for (const Row& row : rows_->rows) {
        kept->order.push_back(row.id);
        if (row.state != RowState::Unchanged || row.editing) kept->pending.push_back(row);
    }
    return kept;
}

void Recordset::Restore(const Kept& kept) {
    if (!rows_ || kept.set != rows_) return;
    // A write never reorders rows: those not kept are still there, in the same order.
    std::vector<Row>& now = rows_->rows;
    std::vector<Row> rows;
    rows.reserve(kept.order.size());
    size_t next_kept = 0, next_now = 0;
    for (std::uint32_t id : kept.order) {
        if (next_kept < kept.pending.size() && kept.pending[next_kept].id == id) {
            rows.push_back(kept.pending[next_kept++]);
            continue;
        }
        while (next_now < now.size() && now[next_now].id != id) ++next_now;
        if (next_now < now.size()) rows.push_back(std::move(now[next_now++]));
    }
    now = std::move(rows);
    rows_->refresh();
    position_ = kept.position;
}

Expected<std::vector<Record>> read_records(Connection& connection, const std::string& sql) {
    Expected<QueryResult> result = connection.Execute(sql);
    if (!result) return result.error();
    std::vector<Record> records;
    records.reserve(result->rows.size());
    for (std::vector<Value>& values : result->rows) {
        Record record;
        for (size_t c = 0; c < values.size() && c < result->columns.size(); ++c) {
            record[result->columns[c]] = std::move(values[c]);
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace condpag
