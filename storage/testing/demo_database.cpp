#include "storage/testing/demo_database.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "storage/backends.h"
#include "storage/schema.h"

namespace condpag::testing {
namespace {

std::string postgres_connection_string() {
    const char* text = std::getenv("CONDPAG_PG");
    return text && *text ? std::string(text) : std::string();
}

std::string unique_name() {
    static std::atomic<int> counter{0};
    std::random_device random;
    // Appended piece by piece: a literal put in front of a temporary string trips a false
    // -Wrestrict of g++ 12 at -O3 (GCC bug 105651).
    std::string name = "t";
    name += std::to_string(getpid());
    name += '_';
    name += std::to_string(counter++);
    name += '_';
    name += std::to_string(random() % 100000);
    return name;
}

}  // namespace

std::string backend_name(BackendKind kind) {
    switch (kind) {
        case BackendKind::Sqlite:
            return "Sqlite";
        case BackendKind::SqliteOdbc:
            return "SqliteOdbc";
        case BackendKind::PostgresOdbc:
            return "PostgresOdbc";
    }
    return "Unknown";
}

std::string sqlite_odbc_driver() {
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so",
          "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/odbc/libsqlite3odbc.so"}) {
        if (std::filesystem::exists(path)) return path;
    }
    return {};
}

std::vector<BackendKind> all_backends() {
    return {BackendKind::Sqlite, BackendKind::SqliteOdbc, BackendKind::PostgresOdbc};
}

std::string unavailable_reason(BackendKind kind) {
    if (kind == BackendKind::SqliteOdbc && sqlite_odbc_driver().empty()) {
        return "the SQLite ODBC driver is not installed";
    }
    if (kind == BackendKind::PostgresOdbc && postgres_connection_string().empty()) {
        return "CONDPAG_PG does not name a PostgreSQL server";
    }
    return {};
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "condpag-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

DemoDatabase::DemoDatabase(BackendKind kind, bool with_demo_data) : kind_(kind) {
    if (kind == BackendKind::PostgresOdbc) {
        std::string admin = postgres_connection_string();
        if (admin.empty()) {
            error_ = "CONDPAG_PG is not set";
            return;
        }
        schema_ = unique_name();
        Connection connection;
        connection.ConnectionString = admin;
        if (auto opened = connection.Open(); !opened) {
            error_ = opened.error().message;
            return;
        }
        if (auto made = connection.ExecuteChange("CREATE SCHEMA " + schema_); !made) {
            error_ = made.error().message;
            return;
        }
        connection_string_ = admin;
        if (!connection_string_.empty() && connection_string_.back() != ';') {
            connection_string_ += ';';
        }
        connection_string_ += "ConnSettings=SET search_path TO " + schema_ + ";";
    } else {
        folder_ = std::make_unique<TempFolder>();
        if (folder_->path().empty()) {
            error_ = "cannot create a temporary folder";
            return;
        }
        file_ = folder_->path() + "/demo.db";
        connection_string_ = kind == BackendKind::Sqlite
                                 ? "sqlite:" + file_
                                 : "odbc:DRIVER=" + sqlite_odbc_driver() + ";Database=" + file_;
        // An empty file, so that every backend opens an existing database.
        if (auto created = open_sqlite(file_, true); !created) {
            error_ = created.error().message;
            return;
        }
    }
    Connection connection;
    connection.ConnectionString = connection_string_;
    if (auto opened = connection.Open(); !opened) {
        error_ = opened.error().message;
        return;
    }
    if (auto made = create_database(connection, with_demo_data); !made) {
        error_ = made.error().message + " [" + made.error().statement + "]";
    }
}

DemoDatabase::~DemoDatabase() {
    if (schema_.empty()) return;
    Connection connection;
    connection.ConnectionString = postgres_connection_string();
    // A schema left behind is only clutter on the test server.
    if (connection.Open()) {
        ignore_error_by_design(connection.ExecuteChange("DROP SCHEMA " + schema_ + " CASCADE"));
    }
}

Expected<Connection> DemoDatabase::connect() const {
    if (!ok()) return Error{error_, "connect"};
    Connection connection;
    connection.ConnectionString = connection_string_;
    if (auto opened = connection.Open(); !opened) return opened.error();
    return connection;
}

void BackendTest::SetUp() {
    if (auto reason = unavailable_reason(GetParam()); !reason.empty()) GTEST_SKIP() << reason;
    database = std::make_unique<DemoDatabase>(GetParam());
    ASSERT_TRUE(database->ok()) << database->error();
    auto opened = database->connect();
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    connection = *opened;
}

std::string backend_test_name(const ::testing::TestParamInfo<BackendKind>& info) {
    return backend_name(info.param);
}

}  // namespace condpag::testing
