#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>
#include <unordered_map>

#include "storage/backends.h"

namespace condpag {
namespace {

// What a person reads of an SQLite failure: why, in Italian, and SQLite's own words after it as
// the technical detail. Failures without a plain reason keep SQLite's words alone.
std::string sqlite_reason(int code, const std::string& detail) {
    const char* why = nullptr;
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            why = "il database è bloccato da un altro programma";
            break;
        case SQLITE_READONLY:
            why = "il database è in sola lettura";
            break;
        case SQLITE_PERM:
            why = "permesso negato";
            break;
        case SQLITE_CANTOPEN:
            why = "impossibile aprire o creare il file";
            break;
        case SQLITE_NOTADB:
            why = "il file non è un database";
            break;
        case SQLITE_CORRUPT:
            why = "il database è danneggiato";
            break;
        case SQLITE_FULL:
            why = "il disco è pieno";
            break;
        case SQLITE_IOERR:
            why = "errore di lettura o scrittura del file";
            break;
        default:
            return detail;
    }
    return std::string(why) + " (" + detail + ")";
}

ColumnType type_of_declaration(const char* declared) {
    if (declared == nullptr) return ColumnType::Unknown;
    std::string type(declared);
    for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* numeric : {"INT", "REAL", "FLOA", "DOUB", "NUM", "DEC", "BIT"}) {
        if (type.find(numeric) != std::string::npos) return ColumnType::Number;
    }
    return ColumnType::Text;
}

// Waits for another connection's lock in short sleeps that grow (0.1 ms, 0.2 ms, ... up to
// 4 ms), so that a lock released a moment later is taken at once, until the lock wait is over.
struct LockWait {
    std::chrono::milliseconds limit;
    std::chrono::steady_clock::time_point first_busy;
    long long waits = 0;
    std::chrono::nanoseconds waited{0};
};

int wait_for_lock(void* data, int attempt) {
    auto* wait = static_cast<LockWait*>(data);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0) {
        wait->first_busy = now;
        ++wait->waits;
    }
    if (now - wait->first_busy >= wait->limit) return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(100 << std::min(attempt, 5)));
    wait->waited += std::chrono::steady_clock::now() - now;
    return 1;
}

class SqliteBackend : public Backend {
  public:
    SqliteBackend(sqlite3* db, std::string path, std::unique_ptr<LockWait> wait)
        : db_(db), path_(std::move(path)), wait_(std::move(wait)) {}
    ~SqliteBackend() override {
        forget_prepared();
        sqlite3_close_v2(db_);
    }

    Dialect dialect() const override { return Dialect::Sqlite; }
    bool alive() override { return db_ != nullptr; }

    Expected<QueryResult> query(const std::string& sql, const std::vector<Value>& params) override {
        sqlite3_stmt* stmt = nullptr;
        if (auto status = prepare(sql, params, &stmt, "read"); !status) return status.error();
        const auto start = Clock::now();
        QueryResult result;
        int count = sqlite3_column_count(stmt);
        for (int c = 0; c < count; ++c) {
            result.columns.emplace_back(sqlite3_column_name(stmt, c));
            result.types.push_back(type_of_declaration(sqlite3_column_decltype(stmt, c)));
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<Value> row;
            row.reserve(count);
            for (int c = 0; c < count; ++c) row.push_back(column_value(stmt, c));
            result.rows.push_back(std::move(row));
        }
        Status ran = rc == SQLITE_DONE ? success() : Status(failure("read", sql));
        finish(stmt, !params.empty(), start);
        if (!ran) return ran.error();
        return result;
    }

    Expected<long long> execute(const std::string& sql, const std::vector<Value>& params) override {
        sqlite3_stmt* stmt = nullptr;
        if (auto status = prepare(sql, params, &stmt, "write"); !status) return status.error();
        const auto start = Clock::now();
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        Status ran = rc == SQLITE_DONE ? success() : Status(failure("write", sql));
        finish(stmt, !params.empty(), start);
        if (!ran) return ran.error();
        return static_cast<long long>(sqlite3_changes(db_));
    }

    // IMMEDIATE takes the write lock at once: the wait for another writer happens here, before
    // anything of the transaction was done, and is bounded by the lock wait.
    Status begin() override { return run_plain("BEGIN IMMEDIATE"); }
    Status commit() override { return run_plain("COMMIT"); }
    Status rollback() override {
        if (sqlite3_get_autocommit(db_)) return success();  // nothing open (SQLite undid it)
        return run_plain("ROLLBACK");
    }

  private:
    using Clock = std::chrono::steady_clock;

    Status run_plain(const char* sql) {
        ++counts_.statements;
        const auto start = Clock::now();
        int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        counts_.execute_time += Clock::now() - start;
        count_lock_waits();
        if (rc != SQLITE_OK) return failure("write", sql);
        return success();
    }

    // A statement with bound values is prepared once per session and run again with new values;
    // one that carries its values in its text is prepared each time.
    Status prepare(const std::string& sql, const std::vector<Value>& params, sqlite3_stmt** stmt,
                   const char* operation) {
        ++counts_.statements;
        const bool reusable = !params.empty();
        if (auto kept = reusable ? prepared_.find(sql) : prepared_.end(); kept != prepared_.end()) {
            *stmt = kept->second;
        } else {
            const auto start = Clock::now();
            int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                        reusable ? SQLITE_PREPARE_PERSISTENT : 0, stmt, nullptr);
            counts_.prepare_time += Clock::now() - start;
            ++counts_.prepared;
            if (rc != SQLITE_OK) return failure(operation, sql);
            if (*stmt == nullptr) return Error{"istruzione vuota", sql};
            if (sqlite3_bind_parameter_count(*stmt) != static_cast<int>(params.size())) {
                Error error{"l'istruzione attende " +
                                std::to_string(sqlite3_bind_parameter_count(*stmt)) +
                                " valori, ne ha " + std::to_string(params.size()),
                            sql};
                sqlite3_finalize(*stmt);
                return error;
            }
            if (reusable) {
                if (prepared_.size() >= kPreparedKept) forget_prepared();
                prepared_.emplace(sql, *stmt);
            }
        }
        for (size_t i = 0; i < params.size(); ++i) {
            int index = static_cast<int>(i) + 1;
            const Value& value = params[i];
            if (value.is_null()) {
                sqlite3_bind_null(*stmt, index);
            } else if (value.is_number()) {
                double number = value.number();
                if (number == std::trunc(number) && std::fabs(number) < 9e15) {
                    sqlite3_bind_int64(*stmt, index, static_cast<sqlite3_int64>(number));
                } else {
                    sqlite3_bind_double(*stmt, index, number);
                }
            } else {
                sqlite3_bind_text(*stmt, index, value.text().data(),
                                  static_cast<int>(value.text().size()), SQLITE_TRANSIENT);
            }
        }
        return success();
    }

    void finish(sqlite3_stmt* stmt, bool kept, Clock::time_point start) {
        if (kept) {
            sqlite3_reset(stmt);
        } else {
            sqlite3_finalize(stmt);
        }
        counts_.execute_time += Clock::now() - start;
        count_lock_waits();
    }

    void count_lock_waits() {
        counts_.lock_waits = wait_->waits;
        counts_.lock_wait_time = wait_->waited;
    }

    void forget_prepared() {
        for (auto& [sql, stmt] : prepared_) sqlite3_finalize(stmt);
        prepared_.clear();
    }

    static Value column_value(sqlite3_stmt* stmt, int c) {
        switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_NULL:
                return Value();
            case SQLITE_INTEGER:
                return Value(static_cast<double>(sqlite3_column_int64(stmt, c)));
            case SQLITE_FLOAT:
                return Value(sqlite3_column_double(stmt, c));
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                return Value(std::string(text, sqlite3_column_bytes(stmt, c)));
            }
        }
    }

    Error failure(const char* operation, const std::string& sql) {
        last_failure_ = sqlite_failure_kind(sqlite3_extended_errcode(db_));
        std::string verb = std::string(operation) == "read" ? "Impossibile leggere dal"
                                                            : "Impossibile scrivere nel";
        return Error{verb + " database '" + path_ +
                         "': " + sqlite_reason(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_)),
                     sql};
    }

    // The statements of a window's writes are few and repeat: a small set is kept.
    static constexpr size_t kPreparedKept = 64;
    sqlite3* db_;
    std::string path_;
    std::unordered_map<std::string, sqlite3_stmt*> prepared_;
    std::unique_ptr<LockWait> wait_;  // the busy handler's, alive as long as the connection
};

}  // namespace

namespace {

// Whether the file holds the payment terms, so that its journal is the system's to choose.
bool holds_payment_terms(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    const char* sql =
        "SELECT 1 FROM sqlite_master WHERE type = 'table' AND UPPER(name) = 'CG62_CONDPAGDES'";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) return false;
    bool found = sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    return found;
}

}  // namespace

Expected<std::unique_ptr<Backend>> open_sqlite(const std::string& path, bool create_if_missing,
                                               std::chrono::milliseconds lock_wait,
                                               ConnectMode mode) {
    bool uri = path.rfind("file:", 0) == 0;
    std::string shown = path;
    if (uri) {
        shown = path.substr(
            5, path.find('?') == std::string::npos ? std::string::npos : path.find('?') - 5);
    }
    if (!uri && !create_if_missing && !std::filesystem::exists(path)) {
        return Error{"Impossibile aprire il database '" + path + "': il file non esiste", "open"};
    }
    bool read_only = mode == ConnectMode::Read;
    int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_URI;
    if (create_if_missing && !read_only) flags |= SQLITE_OPEN_CREATE;
    // A connection is used by one thread at a time (its window's or its session's), so SQLite's
    // own lock around every call, taken again for each column of each row read, is left out.
    flags |= SQLITE_OPEN_NOMUTEX;
    // Another process writing the file makes the first read answer "database is locked", and a
    // few lock states give up without waiting: the whole open is tried again for a while.
    const auto give_up = std::chrono::steady_clock::now() + lock_wait;
    for (int attempt = 0;;) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
        // The wait for locks goes in before any statement runs, the catalogue read included.
        auto wait = std::make_unique<LockWait>(LockWait{lock_wait, {}});
        if (db != nullptr) sqlite3_busy_handler(db, wait_for_lock, wait.get());
        std::string message;
        if (rc != SQLITE_OK) {
            message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        } else {
            // A damaged or foreign file opens without complaint; reading its catalogue shows it.
            char* text = nullptr;
            rc = sqlite3_exec(db, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, &text);
            if (rc == SQLITE_OK) {
                // Several people on one file: with a write-ahead log readers never wait for a
                // writer and a writer never waits for readers, so the lock waits are short
                // enough not to fail a save. A read-only file, and a file of someone else,
                // keeps its journal as it is.
                if (!sqlite3_db_readonly(db, "main") && holds_payment_terms(db)) {
                    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
                }
                return std::unique_ptr<Backend>(
                    std::make_unique<SqliteBackend>(db, shown, std::move(wait)));
            }
            message = text ? text : sqlite3_errmsg(db);
            sqlite3_free(text);
        }
        sqlite3_close_v2(db);
        int primary = rc & 0xFF;
        bool busy = primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
        if (!busy || std::chrono::steady_clock::now() >= give_up) {
            return Error{
                "Impossibile aprire il database '" + shown + "': " + sqlite_reason(rc, message),
                "open"};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1 << std::min(attempt++, 5)));
    }
}

FailureKind sqlite_failure_kind(int extended_code) {
    switch (extended_code) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
            return FailureKind::DuplicateKey;
        default:
            break;
    }
    switch (extended_code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return FailureKind::Busy;
        default:
            return FailureKind::Other;
    }
}

}  // namespace condpag
