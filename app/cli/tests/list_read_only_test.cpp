// `condpag list` only reads: a file it is pointed at stays byte for byte as it was, whether it
// is a database in rollback-journal mode or an empty file.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "storage/connection.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int list(const std::string& path) {
    std::string command = std::string(CONDPAG_CLI) + " list --db '" + path + "' >/dev/null 2>&1";
    int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(ListReadOnly, ListingLeavesTheFileAsItWas) {
    testing::DemoDatabase database;
    ASSERT_TRUE(database.ok()) << database.error();
    {
        Connection connection;
        connection.ConnectionString = database.connection_string();
        ASSERT_TRUE(connection.Open().ok());
        ASSERT_TRUE(connection.Execute("PRAGMA journal_mode=DELETE").ok());
    }
    testing::TempFolder folder;
    const std::string empty = folder.path() + "/empty.db";
    std::ofstream(empty).close();
    struct Case {
        std::string path;
        bool lists;
    };
    for (const Case& c : {Case{database.file(), true}, Case{empty, false}}) {
        SCOPED_TRACE(c.path);
        const std::string before = contents(c.path);
        EXPECT_EQ(list(c.path) == 0, c.lists);
        EXPECT_EQ(contents(c.path), before);  // journal mode byte included
    }
}

}  // namespace
}  // namespace condpag
