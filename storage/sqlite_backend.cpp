#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "storage/backends.h"

namespace condpag {
namespace {

ColumnType type_of_declaration(const char* declared) {
    if (declared == nullptr) return ColumnType::Unknown;
    std::string type(declared);
    for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* numeric : {"INT", "REAL", "FLOA", "DOUB", "NUM", "DEC", "BIT"}) {
        if (type.find(numeric) != std::string::npos) return ColumnType::Number;
    }
    return ColumnType::Text;
}

class SqliteBackend : public Backend {
  public:
    SqliteBackend(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    ~SqliteBackend() override { sqlite3_close_v2(db_); }

    Dialect dialect() const override { return Dialect::Sqlite; }
    bool alive() override { return db_ != nullptr; }

    Expected<QueryResult> query(const std::string& sql, const std::vector<Value>& params) override {
        sqlite3_stmt* stmt = nullptr;
        if (auto status = prepare(sql, params, &stmt, "read"); !status) return status.error();
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
        if (rc != SQLITE_DONE) {
            Error error = failure("read", sql);
            sqlite3_finalize(stmt);
            return error;
        }
        sqlite3_finalize(stmt);
        return result;
    }

    Expected<long long> execute(const std::string& sql, const std::vector<Value>& params) override {
        sqlite3_stmt* stmt = nullptr;
        if (auto status = prepare(sql, params, &stmt, "write"); !status) return status.error();
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            Error error = failure("write", sql);
            sqlite3_finalize(stmt);
            return error;
        }
        sqlite3_finalize(stmt);
        return static_cast<long long>(sqlite3_changes(db_));
    }

    // IMMEDIATE takes the write lock at once: the wait for another writer happens here, before
    // anything of the transaction was done, and is bounded by the busy timeout.
    Status begin() override { return run_plain("BEGIN IMMEDIATE"); }
    Status commit() override { return run_plain("COMMIT"); }
    Status rollback() override {
        if (sqlite3_get_autocommit(db_)) return success();  // nothing open (SQLite undid it)
        return run_plain("ROLLBACK");
    }

  private:
    Status run_plain(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            return failure("write", sql);
        }
        return success();
    }

    Status prepare(const std::string& sql, const std::vector<Value>& params, sqlite3_stmt** stmt,
                   const char* operation) {
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), stmt, nullptr) !=
            SQLITE_OK) {
            return failure(operation, sql);
        }
        if (*stmt == nullptr) return Error{"istruzione vuota", sql};
        if (sqlite3_bind_parameter_count(*stmt) != static_cast<int>(params.size())) {
            sqlite3_finalize(*stmt);
            return Error{"l'istruzione attende " +
                             std::to_string(sqlite3_bind_parameter_count(*stmt)) +
                             " valori, ne ha " + std::to_string(params.size()),
                         sql};
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

    Error failure(const char* operation, const std::string& sql) const {
        std::string verb = std::string(operation) == "read" ? "Impossibile leggere dal"
                                                            : "Impossibile scrivere nel";
        return Error{verb + " database '" + path_ + "': " + sqlite3_errmsg(db_), sql};
    }

    sqlite3* db_;
    std::string path_;
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
    // Another process writing the file makes the first read answer "database is locked", and a
    // few lock states give up without waiting: the whole open is tried again for a while.
    const auto give_up = std::chrono::steady_clock::now() + lock_wait;
    while (true) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
        // The wait for locks goes in before any statement runs, the catalogue read included.
        if (db != nullptr) {
            sqlite3_busy_timeout(db, static_cast<int>(lock_wait.count()));
            sqlite3_extended_result_codes(db, 0);
        }
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
                return std::unique_ptr<Backend>(std::make_unique<SqliteBackend>(db, shown));
            }
            message = text ? text : sqlite3_errmsg(db);
            sqlite3_free(text);
        }
        sqlite3_close_v2(db);
        int primary = rc & 0xFF;
        bool busy = primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
        if (!busy || std::chrono::steady_clock::now() >= give_up) {
            return Error{"Impossibile aprire il database '" + shown + "': " + message, "open"};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool is_duplicate_key_message(const std::string& message) {
    for (const char* marker :
         {"UNIQUE constraint failed", "PRIMARY KEY must be unique", "duplicate key", "23505",
          "Violation of PRIMARY KEY", "is not unique"}) {
        if (message.find(marker) != std::string::npos) return true;
    }
    return false;
}

}  // namespace condpag
