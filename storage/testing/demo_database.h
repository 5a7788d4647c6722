#pragma once
// Test helpers: a fresh demo database for each test (never shared), on any backend the machine
// offers, and a fixture that runs one suite on all of them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag::testing {

enum class BackendKind { Sqlite, SqliteOdbc, PostgresOdbc };

std::string backend_name(BackendKind kind);
// Every backend a suite runs on. Each test is listed for all of them (test lists are made at
// build time); one whose backend the machine lacks is skipped when it runs.
std::vector<BackendKind> all_backends();
// Why a backend cannot be used here, or empty when it can: SQLite through ODBC needs its driver,
// PostgreSQL needs CONDPAG_PG to hold an ODBC connection string ("odbc:DRIVER=...;...").
std::string unavailable_reason(BackendKind kind);
// Path of the SQLite ODBC driver, or empty when it is not installed.
std::string sqlite_odbc_driver();

// A folder of its own under the system temp folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A database with the schema (and, unless told otherwise, the demo data) made for one test.
// SQLite backends get a file in a fresh temp folder; PostgreSQL gets a schema of its own.
class DemoDatabase {
  public:
    explicit DemoDatabase(BackendKind kind = BackendKind::Sqlite, bool with_demo_data = true);
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    BackendKind kind() const { return kind_; }
    // The SQLite file (empty for PostgreSQL).
    const std::string& file() const { return file_; }
    const std::string& connection_string() const { return connection_string_; }
    // A new connection of its own to this database.
    Expected<Connection> connect() const;

  private:
    BackendKind kind_;
    std::unique_ptr<TempFolder> folder_;
    std::string file_;
    std::string connection_string_;
    std::string schema_;  // PostgreSQL only
    std::string error_;
};

// One suite on every available backend:
//   class MySuite : public condpag::testing::BackendTest {};
//   TEST_P(MySuite, Something) { ... connection ... }
//   CONDPAG_ON_ALL_BACKENDS(MySuite);
class BackendTest : public ::testing::TestWithParam<BackendKind> {
  protected:
    void SetUp() override;
    std::unique_ptr<DemoDatabase> database;
    Connection connection;
};

std::string backend_test_name(const ::testing::TestParamInfo<BackendKind>& info);

}  // namespace condpag::testing

#define CONDPAG_ON_ALL_BACKENDS(Suite)                                                \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite,                                         \
                             ::testing::ValuesIn(::condpag::testing::all_backends()), \
                             ::condpag::testing::backend_test_name)
