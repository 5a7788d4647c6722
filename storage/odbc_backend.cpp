#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "storage/backends.h"

namespace condpag {
namespace {

// Texts travel as UTF-16 so that drivers never depend on the process locale.
std::basic_string<SQLWCHAR> to_wide(const std::string& text) {
    std::basic_string<SQLWCHAR> out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        char32_t code = c;
        size_t length = 1;
        if (c >= 0xF0) {
            code = c & 0x07;
            length = 4;
        } else if (c >= 0xE0) {
            code = c & 0x0F;
            length = 3;
        } else if (c >= 0xC0) {
            code = c & 0x1F;
            length = 2;
        }
        if (i + length > text.size()) length = 1, code = 0xFFFD;
        for (size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<SQLWCHAR>(0xD800 + (code >> 10)));
            out.push_back(static_cast<SQLWCHAR>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<SQLWCHAR>(code));
        }
    }
    return out;
}

std::string to_utf8(const SQLWCHAR* text, size_t length) {
    std::string out(length, '\0');
    size_t ascii = 0;  // codes, dates and most descriptions: one byte per character
    while (ascii < length && text[ascii] < 0x80) {
        out[ascii] = static_cast<char>(text[ascii]);
        ++ascii;
    }
    if (ascii == length) return out;
    out.resize(ascii);
    for (size_t i = ascii; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < length) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// The diagnostic records of a handle: their text for the user, and the kind of failure the
// first record with a known kind tells.
struct Diagnosis {
    std::string text;
    FailureKind kind = FailureKind::Other;
};

Diagnosis diagnose(SQLSMALLINT handle_type, SQLHANDLE handle, Dialect dialect) {
    Diagnosis diagnosis;
    std::string& text = diagnosis.text;
    SQLWCHAR state[6];
    SQLWCHAR message[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1;
         SQL_SUCCEEDED(SQLGetDiagRecW(handle_type, handle, record, state, &native, message,
                                      sizeof message / sizeof message[0], &length));
         ++record) {
        if (!text.empty()) text += "; ";
        std::string sqlstate = to_utf8(state, 5);
        if (diagnosis.kind == FailureKind::Other) {
            diagnosis.kind = odbc_failure_kind(sqlstate, native, dialect);
        }
        // Appended piece by piece: a literal put in front of a temporary string trips a false
        // -Wrestrict of g++ 12 at -O3 (GCC bug 105651).
        text += '[';
        text += sqlstate;
        text += "] ";
        text += to_utf8(message, std::min<size_t>(length, sizeof message / sizeof message[0]));
    }
    if (text.empty()) text = "unknown ODBC error";
    return diagnosis;
}

std::string diagnostics(SQLSMALLINT handle_type, SQLHANDLE handle) {
    return diagnose(handle_type, handle, Dialect::SqlServer).text;
}

// The part of a connection string that names the database, for messages (never the password).
std::string database_name(const std::string& connection_string) {
    std::string upper = connection_string;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* key : {"DATABASE=", "DSN=", "SERVERNAME="}) {
        auto at = upper.find(key);
        if (at != std::string::npos) {
            auto start = at + std::strlen(key);
            auto end = connection_string.find(';', start);
            return connection_string.substr(start, end == std::string::npos ? end : end - start);
        }
    }
    return "ODBC data source";
}

enum class Fetch { Integer, Double, Decimal, Text };

Fetch fetch_kind(SQLSMALLINT type) {
    switch (type) {
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_TINYINT:
        case SQL_BIGINT:
        case SQL_BIT:
            return Fetch::Integer;
        case SQL_DOUBLE:
        case SQL_FLOAT:
        case SQL_REAL:
            return Fetch::Double;
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return Fetch::Decimal;
        default:
            return Fetch::Text;
    }
}

ColumnType column_type(SQLSMALLINT type) {
    switch (type) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_LONGVARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR:
            return ColumnType::Text;
        default:
            return fetch_kind(type) == Fetch::Text ? ColumnType::Unknown : ColumnType::Number;
    }
}

class Statement {
  public:
    explicit Statement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle_); }
    ~Statement() {
        if (handle_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    SQLHSTMT get() const { return handle_; }

  private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

// A statement handle borrowed for one call.
struct StatementRef {
    SQLHSTMT handle;
    SQLHSTMT get() const { return handle; }
};

class OdbcBackend : public Backend {
  public:
    OdbcBackend(SQLHENV env, SQLHDBC dbc, std::string name, Dialect dialect)
        : env_(env), dbc_(dbc), name_(std::move(name)), dialect_(dialect) {}
    ~OdbcBackend() override {
        prepared_.clear();
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }

    Dialect dialect() const override { return dialect_; }

    bool alive() override {
        if (lost_) return false;
        SQLUINTEGER dead = SQL_CD_FALSE;
        SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
        return dead == SQL_CD_FALSE;
    }

    Expected<QueryResult> query(const std::string& sql, const std::vector<Value>& params) override {
        std::unique_ptr<Statement> once;
        auto ran = run(sql, params, "read", once);
        if (!ran) return ran.error();
        const auto start = Clock::now();
        Done done(*ran, counts_, start);
        StatementRef stmt{*ran};
        QueryResult result;
        SQLSMALLINT count = 0;
        SQLNumResultCols(stmt.get(), &count);
        std::vector<Fetch> kinds;
        for (SQLSMALLINT c = 1; c <= count; ++c) {
            SQLWCHAR name[256];
            SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            SQLDescribeColW(stmt.get(), c, name, 256, &name_length, &type, &size, &digits,
                            &nullable);
            std::string column = to_utf8(name, std::min<SQLSMALLINT>(name_length, 255));
            // PostgreSQL folds unquoted names to lower case; the system names columns in
            // upper case.
            if (dialect_ == Dialect::Postgres) {
                for (char& ch : column) {
                    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
                }
            }
            result.columns.push_back(std::move(column));
            result.types.push_back(column_type(type));
            kinds.push_back(fetch_kind(type));
        }
        while (true) {
            SQLRETURN rc = SQLFetch(stmt.get());
            if (rc == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(rc)) return failure("read", sql, stmt.get());
            std::vector<Value> row;
            row.reserve(count);
            for (SQLSMALLINT c = 1; c <= count; ++c) {
                auto value = read_value(stmt.get(), c, kinds[c - 1]);
                if (!value) return Error{value.error().message, sql};
                row.push_back(std::move(*value));
            }
            result.rows.push_back(std::move(row));
        }
        return result;
    }

    Expected<long long> execute(const std::string& sql, const std::vector<Value>& params) override {
        std::unique_ptr<Statement> once;
        auto ran = run(sql, params, "write", once);
        if (!ran) return ran.error();
        Done done(*ran, counts_, Clock::now());
        SQLLEN changed = 0;
        SQLRowCount(*ran, &changed);
        return static_cast<long long>(changed < 0 ? 0 : changed);
    }

    // With autocommit off the driver opens a transaction before the next statement and keeps it
    // until SQLEndTran. (The SQLite driver's own busy wait bounds a lock wait only this way: a
    // "BEGIN IMMEDIATE" sent as a statement waits for as long as the other writer holds on.)
    Status begin() override {
        if (!SQL_SUCCEEDED(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                             SQL_IS_UINTEGER))) {
            return failure("write", "BEGIN", nullptr);
        }
        return success();
    }
    Status commit() override { return end(SQL_COMMIT, "COMMIT"); }
    Status rollback() override {
        // A session the server dropped took its transaction with it.
        if (!alive()) return success();
        return end(SQL_ROLLBACK, "ROLLBACK");
    }

  private:
    using Clock = std::chrono::steady_clock;

    // When a call is done with its statement: the cursor is closed so that the statement can
    // run again, and the time spent is counted.
    class Done {
      public:
        Done(SQLHSTMT handle, StatementCounts& counts, Clock::time_point start)
            : handle_(handle), counts_(counts), start_(start) {}
        ~Done() {
            SQLFreeStmt(handle_, SQL_CLOSE);
            counts_.execute_time += Clock::now() - start_;
        }
        Done(const Done&) = delete;
        Done& operator=(const Done&) = delete;

      private:
        SQLHSTMT handle_;
        StatementCounts& counts_;
        Clock::time_point start_;
    };

    Status end(SQLSMALLINT how, const char* what) {
        ++counts_.statements;
        Status done = success();
        if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc_, how))) {
            done = failure("write", what, nullptr);
        }
        SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
        return done;
    }

    // A statement with bound values is prepared once per session and run again with new values;
    // one that carries its values in its text is run directly, into once.
    // Hands a statement's text to the driver. The SQLite driver narrows a wide text to one byte
    // per character, so a code with accents in a literal would no longer match its rows: it gets
    // UTF-8; every other driver gets the wide text.
    template <typename Narrow, typename Wide>
    SQLRETURN send_text(const std::string& sql, Narrow narrow_call, Wide wide_call,
                        SQLHSTMT statement) const {
        if (dialect_ == Dialect::Sqlite) {
            std::string narrow = sql;
            return narrow_call(statement, reinterpret_cast<SQLCHAR*>(narrow.data()),
                               static_cast<SQLINTEGER>(narrow.size()));
        }
        auto wide = to_wide(sql);
        return wide_call(statement, wide.data(), static_cast<SQLINTEGER>(wide.size()));
    }

    Expected<SQLHSTMT> run(const std::string& sql, const std::vector<Value>& params,
                           const char* operation, std::unique_ptr<Statement>& once) {
        ++counts_.statements;
        const bool reusable = !params.empty();
        SQLHSTMT handle = SQL_NULL_HSTMT;
        if (auto kept = reusable ? prepared_.find(sql) : prepared_.end(); kept != prepared_.end()) {
            handle = kept->second->get();
        } else if (!reusable) {
            // Run once: sent with its text, so that the driver keeps no plan to drop afterwards.
            once = std::make_unique<Statement>(dbc_);
            if (once->get() == SQL_NULL_HSTMT) return failure(operation, sql, nullptr);
            ++counts_.prepared;
            const auto start = Clock::now();
            const SQLRETURN rc = send_text(sql, SQLExecDirect, SQLExecDirectW, once->get());
            counts_.execute_time += Clock::now() - start;
            if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
                return failure(operation, sql, once->get());
            }
            return once->get();
        } else {
            auto made = std::make_unique<Statement>(dbc_);
            if (made->get() == SQL_NULL_HSTMT) return failure(operation, sql, nullptr);
            const auto start = Clock::now();
            const SQLRETURN prepared = send_text(sql, SQLPrepare, SQLPrepareW, made->get());
            counts_.prepare_time += Clock::now() - start;
            ++counts_.prepared;
            if (!SQL_SUCCEEDED(prepared)) return failure(operation, sql, made->get());
            handle = made->get();
            if (prepared_.size() >= kPreparedKept) prepared_.clear();
            prepared_.emplace(sql, std::move(made));
        }
        const auto start = Clock::now();
        Status bound = bind_and_execute(handle, sql, params, operation);
        counts_.execute_time += Clock::now() - start;
        if (!bound) {
            SQLFreeStmt(handle, SQL_CLOSE);
            return bound.error();
        }
        return handle;
    }

    Status bind_and_execute(SQLHSTMT handle, const std::string& sql,
                            const std::vector<Value>& params, const char* operation) {
        StatementRef stmt{handle};
        SQLFreeStmt(handle, SQL_RESET_PARAMS);
        // Buffers stay alive until the statement has run.
        std::vector<std::basic_string<SQLWCHAR>> texts(params.size());
        std::vector<SQLBIGINT> integers(params.size());
        std::vector<double> doubles(params.size());
        std::vector<SQLLEN> indicators(params.size());
        for (size_t i = 0; i < params.size(); ++i) {
            auto index = static_cast<SQLUSMALLINT>(i + 1);
            const Value& value = params[i];
            SQLRETURN rc;
            if (value.is_null()) {
                indicators[i] = SQL_NULL_DATA;
                rc = SQLBindParameter(stmt.get(), index, SQL_PARAM_INPUT, SQL_C_SBIGINT,
                                      SQL_INTEGER, 0, 0, &integers[i], 0, &indicators[i]);
            } else if (value.is_number() && value.number() == std::trunc(value.number()) &&
                       std::fabs(value.number()) < 2e9) {
                integers[i] = static_cast<SQLBIGINT>(value.number());
                indicators[i] = 0;
                rc = SQLBindParameter(stmt.get(), index, SQL_PARAM_INPUT, SQL_C_SBIGINT,
                                      SQL_INTEGER, 0, 0, &integers[i], 0, &indicators[i]);
            } else if (value.is_number()) {
                doubles[i] = value.number();
                indicators[i] = 0;
                rc = SQLBindParameter(stmt.get(), index, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE,
                                      15, 0, &doubles[i], 0, &indicators[i]);
            } else {
                texts[i] = to_wide(value.text());
                indicators[i] = static_cast<SQLLEN>(texts[i].size() * sizeof(SQLWCHAR));
                rc = SQLBindParameter(stmt.get(), index, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                      std::max<SQLULEN>(texts[i].size(), 1), 0, texts[i].data(),
                                      indicators[i], &indicators[i]);
            }
            if (!SQL_SUCCEEDED(rc)) return failure(operation, sql, stmt.get());
        }
        SQLRETURN rc = SQLExecute(stmt.get());
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) return failure(operation, sql, stmt.get());
        return success();
    }

    static Expected<Value> read_value(SQLHSTMT stmt, SQLSMALLINT column, Fetch kind) {
        SQLLEN indicator = 0;
        if (kind == Fetch::Integer) {
            SQLBIGINT number = 0;
            if (!SQL_SUCCEEDED(SQLGetData(stmt, column, SQL_C_SBIGINT, &number, 0, &indicator))) {
                return Error{diagnostics(SQL_HANDLE_STMT, stmt), ""};
            }
            if (indicator == SQL_NULL_DATA) return Value();
            return Value(static_cast<double>(number));
        }
        if (kind == Fetch::Double) {
            double number = 0;
            if (!SQL_SUCCEEDED(SQLGetData(stmt, column, SQL_C_DOUBLE, &number, 0, &indicator))) {
                return Error{diagnostics(SQL_HANDLE_STMT, stmt), ""};
            }
            if (indicator == SQL_NULL_DATA) return Value();
            return Value(number);
        }
        // Nearly every text fits the buffer at the first call and is converted from it straight;
        // a longer one is gathered piece by piece.
        std::basic_string<SQLWCHAR> text;
        SQLWCHAR buffer[1024];
        for (bool first = true;; first = false) {
            SQLRETURN rc = SQLGetData(stmt, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(rc)) return Error{diagnostics(SQL_HANDLE_STMT, stmt), ""};
            if (indicator == SQL_NULL_DATA) return Value();
            size_t available = sizeof buffer / sizeof buffer[0] - 1;
            size_t got = (indicator == SQL_NO_TOTAL ||
                          static_cast<size_t>(indicator) / sizeof(SQLWCHAR) > available)
                             ? available
                             : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
            if (first && rc == SQL_SUCCESS) return text_value(to_utf8(buffer, got), kind);
            text.append(buffer, got);
            if (rc == SQL_SUCCESS) break;
        }
        return text_value(to_utf8(text.data(), text.size()), kind);
    }

    static Value text_value(std::string utf8, Fetch kind) {
        if (kind == Fetch::Decimal) {
            if (auto number = parse_number(utf8)) return Value(*number);
        }
        return Value(std::move(utf8));
    }

    Error failure(const char* operation, const std::string& sql, SQLHSTMT stmt) {
        std::string verb = std::string(operation) == "read" ? "Impossibile leggere dal"
                                                            : "Impossibile scrivere nel";
        Diagnosis diagnosis = stmt ? diagnose(SQL_HANDLE_STMT, stmt, dialect_)
                                   : diagnose(SQL_HANDLE_DBC, dbc_, dialect_);
        const std::string& detail = diagnosis.text;
        // Not every driver flags the connection dead once the server has dropped it; the states
        // of a broken link or a server shutdown say it too.
        if (diagnosis.kind == FailureKind::LostConnection) lost_ = true;
        last_failure_ = alive() ? diagnosis.kind : FailureKind::LostConnection;
        // A lost server is told in the user's words; the driver's stays as the technical detail.
        if (!alive()) {
            return Error{"il collegamento con il database '" + name_ +
                             "' si è interrotto. Quanto non ancora salvato resta in sospeso: "
                             "salvare di nuovo quando il server è raggiungibile (dettaglio: " +
                             detail + ")",
                         sql};
        }
        return Error{verb + " database '" + name_ + "': " + detail, sql};
    }

    // The statements of a window's writes are few and repeat: a small set is kept.
    static constexpr size_t kPreparedKept = 64;
    SQLHENV env_;
    SQLHDBC dbc_;
    std::string name_;
    Dialect dialect_;
    bool lost_ = false;
    std::unordered_map<std::string, std::unique_ptr<Statement>> prepared_;
};

}  // namespace

FailureKind odbc_failure_kind(std::string_view sqlstate, long native, Dialect dialect) {
    // Class 08 is a broken link; 57P01 to 57P03 a server shutting down or not yet accepting.
    if (sqlstate.substr(0, 2) == "08" || sqlstate == "57P01" || sqlstate == "57P02" ||
        sqlstate == "57P03") {
        return FailureKind::LostConnection;
    }
    switch (dialect) {
        case Dialect::Postgres:
            if (sqlstate == "23505") return FailureKind::DuplicateKey;
            if (sqlstate == "55P03" || sqlstate == "40001" || sqlstate == "40P01") {
                return FailureKind::Busy;
            }
            break;
        case Dialect::Sqlite:
            // The SQLite driver hands on SQLite's primary result code only: 19 is any
            // constraint, 5 and 6 a lock held by another connection.
            if (native == 19) return FailureKind::Constraint;
            if (native == 5 || native == 6) return FailureKind::Busy;
            break;
        case Dialect::SqlServer:
            // 2627 and 2601: a primary key or a unique index violated; 1205 and 1222: a
            // deadlock victim and a lock wait that ran out.
            if (native == 2627 || native == 2601) return FailureKind::DuplicateKey;
            if (native == 1205 || native == 1222) return FailureKind::Busy;
            break;
    }
    if (sqlstate == "HYT00") return FailureKind::Busy;
    return FailureKind::Other;
}

namespace {

bool names_key(const std::string& connection_string, const char* key) {
    std::string upper = ";" + connection_string;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find(std::string(";") + key + "=") != std::string::npos;
}

}  // namespace

Expected<std::unique_ptr<Backend>> open_odbc(const std::string& connection_string,
                                             std::chrono::milliseconds lock_wait,
                                             ConnectMode mode) {
    std::string name = database_name(connection_string);
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        return Error{"Impossibile aprire il database '" + name + "': ambiente ODBC non disponibile",
                     "open"};
    }
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    if (mode == ConnectMode::Read) {
        SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE,
                          reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), SQL_IS_UINTEGER);
    }
    auto connect = [&](const std::string& text) {
        auto wide = to_wide(text);
        return SQLDriverConnectW(dbc, nullptr, wide.data(), static_cast<SQLSMALLINT>(wide.size()),
                                 nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    };
    auto product_name = [&] {
        SQLWCHAR dbms[128] = {};
        SQLSMALLINT length = 0;
        SQLGetInfoW(dbc, SQL_DBMS_NAME, dbms, sizeof dbms, &length);
        return to_utf8(dbms, std::min<size_t>(length / sizeof(SQLWCHAR), 127));
    };
    // The PostgreSQL driver wraps every statement of a transaction in a savepoint of its own
    // unless told to leave errors to the program: two more round trips a statement. The
    // system ends its transactions itself and sets its own savepoints where a retry is possible.
    std::string lower = connection_string;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool psql = lower.find("psqlodbc") != std::string::npos;
    SQLRETURN rc = connect(psql && !names_key(connection_string, "PROTOCOL")
                               ? connection_string + (connection_string.ends_with(';') ? "" : ";") +
                                     "Protocol=7.4-0"
                               : connection_string);
    std::string product = SQL_SUCCEEDED(rc) ? product_name() : std::string();
    if (product.find("SQLite") != std::string::npos && !names_key(connection_string, "TIMEOUT")) {
        // The SQLite driver waits for another program's lock as long as its Timeout key says
        // (100 s unless given) and keeps its own wait whatever a statement sets: the connection
        // opens again with the connection's wait, so a lock is waited for as long either way.
        SQLDisconnect(dbc);
        rc = connect(connection_string + ";Timeout=" + std::to_string(lock_wait.count()));
    }
    if (!SQL_SUCCEEDED(rc)) {
        std::string detail = diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        return Error{"Impossibile aprire il database '" + name + "': " + detail, "open"};
    }
    Dialect dialect = Dialect::SqlServer;
    if (product.find("PostgreSQL") != std::string::npos) dialect = Dialect::Postgres;
    if (product.find("SQLite") != std::string::npos) dialect = Dialect::Sqlite;
    auto backend = std::make_unique<OdbcBackend>(env, dbc, name, dialect);
    if (dialect == Dialect::Postgres) {
        // PostgreSQL waits for a row another session holds without limit: the window would
        // freeze. The connection's lock wait bounds it, as it bounds a file's lock.
        auto bounded =
            backend->execute("SET lock_timeout = " + std::to_string(lock_wait.count()), {});
        if (!bounded) {
            return Error{"Impossibile impostare l'attesa dei blocchi sul database '" + name +
                             "': " + bounded.error().message,
                         "open"};
        }
    }
    return std::unique_ptr<Backend>(std::move(backend));
}

}  // namespace condpag
