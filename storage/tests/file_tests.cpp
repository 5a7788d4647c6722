// What a user sees when the database file is missing, damaged, read-only or locked.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statements.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

bool mentions(const Error& error, const std::string& text) {
    return error.message.find(text) != std::string::npos;
}

TEST(DatabaseFile, MissingFileIsCreatedOnlyOnRequest) {
    testing::TempFolder folder;
    std::string path = folder.path() + "/sub/new.db";
    auto refused = open_database(path, false);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(mentions(refused.error(), path));
    EXPECT_FALSE(std::filesystem::exists(path));

    auto created = open_database(path, true);
    ASSERT_TRUE(created.ok()) << created.error().message;
    EXPECT_EQ(*ContaRate(*created, "RB369"), 3);
    // A second open finds the data and adds nothing.
    auto reopened = open_database("sqlite:" + path, false);
    ASSERT_TRUE(reopened.ok());
    auto terms = reopened->Execute("SELECT COUNT(*) FROM CG62_CONDPAGDES");
    EXPECT_EQ(CDecN(terms->rows[0][0]), 14);
}

TEST(DatabaseFile, DamagedReadOnlyAndLockedFilesChangeNothing) {
    testing::DemoDatabase database;
    ASSERT_TRUE(database.ok()) << database.error();
    const std::string& path = database.file();

    // Damaged: a file that is not a database is named in the message, told why in Italian, and
    // left as it was; so is a file that cannot be made where a file stands in for its folder.
    testing::TempFolder folder;
    std::string damaged = folder.path() + "/damaged.db";
    std::ofstream(damaged) << std::string(4096, 'x');
    const std::pair<std::string, const char*> refused[] = {
        {damaged, "il file non è un database"},
        {"sqlite:" + damaged, "il file non è un database"},
        {damaged + "/inside.db", "impossibile aprire o creare il file"}};
    for (const auto& [text, why] : refused) {
        auto opened = open_database(text, true);
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(mentions(opened.error(), damaged)) << opened.error().message;
        EXPECT_TRUE(mentions(opened.error(), why)) << opened.error().message;
    }
    EXPECT_EQ(std::filesystem::file_size(damaged), 4096u);

    // Read-only: reading works, writing fails with the file and the operation named.
    std::vector<std::string> read_only = {"sqlite:file:" + path + "?mode=ro"};
    if (geteuid() != 0) {  // file permissions do not bind the superuser
        std::string copy = folder.path() + "/copy.db";
        std::filesystem::copy_file(path, copy);
        std::filesystem::permissions(copy, std::filesystem::perms::owner_read);
        read_only.push_back("sqlite:" + copy);
    }
    for (const auto& text : read_only) {
        Connection connection;
        connection.ConnectionString = text;
        ASSERT_TRUE(connection.Open().ok()) << text;
        EXPECT_EQ(*ContaRate(connection, "RB369"), 3);
        auto deleted = connection.ExecuteChange(delete_installments_statement("RB369"));
        ASSERT_FALSE(deleted.ok()) << text;
        EXPECT_TRUE(mentions(deleted.error(), "Impossibile scrivere nel database"));
        EXPECT_TRUE(mentions(deleted.error(), "in sola lettura")) << deleted.error().message;
        EXPECT_EQ(connection.Errors().size(), 1u);
        EXPECT_EQ(*ContaRate(connection, "RB369"), 3);
    }

    // Locked: another program is writing. Reading goes on; the write waits for the lock, gives
    // up with a message naming the file, keeps the row pending and goes through once it is free.
    Connection connection;
    connection.ConnectionString = database.connection_string();
    connection.LockWait = std::chrono::milliseconds(300);
    ASSERT_TRUE(connection.Open().ok());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    Recordset rows;
    ASSERT_TRUE(rows.Open(load_installments_statement("RB369"), connection).ok());
    rows.SetField("CG63_GGDECOR", 99);
    auto start = std::chrono::steady_clock::now();
    auto report = rows.UpdateBatch();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(report->errors.size(), 1u);
    EXPECT_TRUE(mentions(report->errors[0], "Impossibile scrivere nel database '" + path + "'"));
    EXPECT_TRUE(mentions(report->errors[0], "bloccato da un altro programma"))
        << report->errors[0].message;
    EXPECT_TRUE(rows.pending());
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(rows.UpdateBatch()->written, 1);
}

// A program that keeps the whole file to itself: opening waits for it as long as a statement
// would, succeeds when it lets go in time, else gives up naming the file.
TEST(DatabaseFile, OpeningWaitsForAProgramHoldingTheFileThenGivesUp) {
    testing::DemoDatabase database;
    ASSERT_TRUE(database.ok()) << database.error();
    auto connect = [&] {
        Connection connection;
        connection.ConnectionString = database.connection_string();
        connection.LockWait = std::chrono::milliseconds(1000);
        Status opened = connection.Open();
        return std::pair{opened, connection};
    };
    sqlite3* other = nullptr;
    auto hold = [&] {
        return sqlite3_open(database.file().c_str(), &other) == SQLITE_OK &&
               sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE", nullptr,
                            nullptr, nullptr) == SQLITE_OK;
    };
    ASSERT_TRUE(hold());
    std::thread holder([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    });
    auto [opened, connection] = connect();
    holder.join();
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    EXPECT_EQ(*ContaRate(connection, "RB369"), 3);
    connection.Close();

    ASSERT_TRUE(hold());
    auto start = std::chrono::steady_clock::now();
    auto [refused, unused] = connect();
    auto waited = std::chrono::steady_clock::now() - start;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(mentions(refused.error(), database.file()));
    EXPECT_TRUE(mentions(refused.error(), "locked")) << refused.error().message;
    EXPECT_GE(waited, std::chrono::milliseconds(1000));
    EXPECT_LT(waited, std::chrono::seconds(10));
}

}  // namespace
}  // namespace condpag
