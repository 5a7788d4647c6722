// The shell's command line: a database it is pointed at is never written unless it already holds
// the payment terms, the demo database is made only on request, and a bad value is a usage
// message, not a crash.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "storage/connection.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

struct ShellRun {
    int status;
    std::string output;
};

ShellRun shell(const std::string& folder, const std::string& args) {
    std::string out = folder + "/out.txt";
    std::string command = "cd '" + folder + "' && QT_QPA_PLATFORM=offscreen " + CONDPAG_SHELL +
                          " " + args + " > '" + out + "' 2>&1";
    int raw = std::system(command.c_str());
    std::ifstream in(out);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())};
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ShellOptions, ADatabaseWithoutThePaymentTermsIsNamedAndLeftUntouched) {
    testing::TempFolder folder;
    const std::string foreign = folder.path() + "/foreign.db";
    {
        Connection other;
        other.ConnectionString = "sqlite:" + foreign;
        std::ofstream(foreign).close();
        ASSERT_TRUE(other.Open().ok());
        ASSERT_TRUE(other.ExecuteChange("CREATE TABLE ARTICOLI (CODICE VARCHAR(10))").ok());
    }
    const std::string before = contents(foreign);
    struct Case {
        std::string args;
        const char* said;
    };
    for (const Case& c :
         {Case{"--db foreign.db --screenshot a.png", "mancano: CG62_CONDPAGDES"},
          Case{"--demo --db foreign.db --screenshot a.png", "mancano: CG62_CONDPAGDES"},
          Case{"--db missing.db --screenshot a.png", "il file non esiste"},
          Case{"--screenshot a.png", "--demo"}}) {
        SCOPED_TRACE(c.args);
        ShellRun run = shell(folder.path(), c.args);
        EXPECT_NE(run.status, 0) << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    }
    EXPECT_EQ(contents(foreign), before);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/missing.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/build/demo.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/a.png"));

    // Asked for, the demo database is made, and then opened as it is.
    ShellRun made = shell(folder.path(), "--demo --db new.db --screenshot a.png");
    ASSERT_EQ(made.status, 0) << made.output;
    Connection demo;
    demo.ConnectionString = "sqlite:" + folder.path() + "/new.db";
    ASSERT_TRUE(demo.Open().ok());
    auto terms = demo.Execute("SELECT COUNT(*) FROM CG62_CONDPAGDES");
    ASSERT_TRUE(terms.ok());
    EXPECT_GT(CDecN(terms->rows[0][0]), 0);
}

TEST(ShellOptions, ABadValueGivesTheUsageMessage) {
    testing::TempFolder folder;
    for (const char* args : {"--profile abc", "--tab 9", "--tab -1", "--tab x", "--measure many",
                             "--status edit", "--db a.db --connect b", "--nothing"}) {
        SCOPED_TRACE(args);
        ShellRun run = shell(folder.path(), std::string(args) + " --screenshot a.png");
        EXPECT_EQ(run.status, 2) << run.output;
        EXPECT_NE(run.output.find("usage: condpag-shell"), std::string::npos) << run.output;
    }
}

}  // namespace
}  // namespace condpag
