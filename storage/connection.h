#pragma once
// A database connection: SQLite ("sqlite:PATH", the default) or ODBC ("odbc:DSN=...;...").
// Statement texts are written in the SQL Server dialect; the connection passes them through the
// dialect adapter of its backend before they run. Values are bound as parameters ("?").
// Examples:
//   sqlite:/home/user/condpag.db
//   odbc:DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=/home/user/condpag.db
//   odbc:DRIVER=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so;Servername=db;Port=5432;
//        Database=condpag;Username=...;Password=...
//   odbc:DRIVER={ODBC Driver 18 for SQL Server};Server=tcp:db,1433;Database=...;UID=...;PWD=...
// The dialect comes from the server the driver reports (SQLite, PostgreSQL, else SQL Server).

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "rules/expected.h"
#include "rules/value.h"

namespace condpag {

enum class Dialect { SqlServer, Sqlite, Postgres };

// How long a statement on a shared database file waits for another user's lock before it gives
// up with "database is locked": long enough for a queue of people saving at once.
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};

// What a column holds, as the backend declares it; Unknown for computed columns.
enum class ColumnType { Unknown, Text, Number };

// What a connection may do to its database (ADO's Mode): a read-only one changes nothing in the
// file, not even its journal.
enum class ConnectMode { ReadWrite, Read };

// Whether a connection or a record set is open.
enum class ObjectState { Closed, Open };
// What kind of failure the database reported, told from its native code, never from its words:
// a second row with the same key, a lock another session holds for longer than the wait, or a
// session the server no longer has. Constraint: some constraint failed and the database does
// not say which (the SQLite ODBC driver), so a duplicate key must be confirmed by looking.
enum class FailureKind { Other, DuplicateKey, Constraint, Busy, LostConnection };

struct QueryResult {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
    std::vector<ColumnType> types;  // one per column when the backend knows them, else empty
};

// What a session asked of its database: statements sent (transaction steps included), how many
// of them had to be prepared (the rest reused a statement prepared before), and the time spent
// preparing and running them.
struct StatementCounts {
    long long statements = 0;
    long long prepared = 0;
    std::chrono::nanoseconds prepare_time{0};
    std::chrono::nanoseconds execute_time{0};  // lock waits included
    // Waits for another connection's lock on a database file, and their time.
    long long lock_waits = 0;
    std::chrono::nanoseconds lock_wait_time{0};
};

// What a backend does: run one statement, already in its own dialect, with bound parameters.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual Dialect dialect() const = 0;
    virtual Expected<QueryResult> query(const std::string& sql,
                                        const std::vector<Value>& params) = 0;
    // Answers the number of rows the statement changed.
    virtual Expected<long long> execute(const std::string& sql,
                                        const std::vector<Value>& params) = 0;
    virtual bool alive() = 0;
    // One transaction at a time: begin takes the write lock (waiting at most the lock wait)
    // where the database has one; rollback after a lost session succeeds trivially, since the
    // server drops what was not committed.
    virtual Status begin() = 0;
    virtual Status commit() = 0;
    virtual Status rollback() = 0;
    // The kind of the last failure of a statement or a transaction step.
    FailureKind last_failure() const { return last_failure_; }
    const StatementCounts& counts() const { return counts_; }

  protected:
    FailureKind last_failure_ = FailureKind::Other;
    StatementCounts counts_;
};

// ADO-like connection. Copies share the same open connection.
class Connection {
  public:
    Connection() = default;

    std::string ConnectionString;
    // Set before Open: the wait for another user's lock on a database file.
    std::chrono::milliseconds LockWait = kDefaultLockWait;
    // Set before Open: a read-only connection refuses every change and leaves the file as it is.
    ConnectMode Mode = ConnectMode::ReadWrite;

    Status Open();  // opens ConnectionString
    // Opens the same database again inside the shared state, so that every copy (record sets,
    // frames) gets the new session; the errors are cleared. Opens afresh when never opened.
    Status Reopen();
    // Opens a new session when the server dropped the old one. Nothing calls it on its own: the
    // window calls it where a person starts a save or a deletion, before its first statement,
    // and it refuses inside a transaction, so no operation ever continues on a second session.
    Status ReopenIfDropped();
    void Close();
    // Whether the session still reaches the database (false once the server dropped it).
    bool alive() const;
    ObjectState State() const;
    Dialect dialect() const;

    // Runs a SQL Server-dialect statement. A statement that selects answers its rows.
    // The options argument is accepted for the callers' sake (1 = command text).
    Expected<QueryResult> Execute(const std::string& sql, int options = -1,
                                  const std::vector<Value>& params = {});
    // Runs a statement that changes rows and answers how many it changed.
    Expected<long long> ExecuteChange(const std::string& sql,
                                      const std::vector<Value>& params = {});

    // Groups the statements that follow until CommitTrans or RollbackTrans: either all of them
    // are stored or none. Only one transaction is open at a time.
    Status BeginTrans();
    Status CommitTrans();
    Status RollbackTrans();  // harmless when none is open
    bool in_transaction() const;

    // The errors of the last failing call, newest last (ADO's Errors collection), and the kind
    // of the last failure.
    const std::vector<Error>& Errors() const;
    FailureKind LastFailure() const;
    // What this session has asked of the database so far (all zero when it is not open).
    StatementCounts Counts() const;

    bool same_as(const Connection& other) const { return impl_ == other.impl_; }

  private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace condpag
