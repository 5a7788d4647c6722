// The shell's command line: a database it is pointed at is never written unless it already holds
// the payment terms, the demo database is made only on request, and a bad value is a usage
// message, not a crash.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"
#include "storage/connection.h"

namespace condpag {
namespace {

Outcome shell(const testing::TempFolder& folder, const std::vector<std::string>& args) {
    Outcome run = run_program(CONDPAG_SHELL, args, folder);
    run.out += run.err;
    return run;
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
        std::vector<std::string> args;
        const char* said;
    };
    for (const Case& c : {Case{{"--db", "foreign.db"}, "mancano: CG62_CONDPAGDES"},
                          Case{{"--demo", "--db", "foreign.db"}, "mancano: CG62_CONDPAGDES"},
                          Case{{"--db", "missing.db"}, "il file non esiste"}, Case{{}, "--demo"}}) {
        SCOPED_TRACE(c.said);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--screenshot", "a.png"});
        Outcome run = shell(folder, args);
        EXPECT_NE(run.exit_code, 0) << run.out;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
    }
    EXPECT_EQ(contents(foreign), before);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/missing.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/build/demo.db"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/a.png"));

    // Asked for, the demo database is made, and then opened as it is.
    Outcome made = shell(folder, {"--demo", "--db", "new.db", "--screenshot", "a.png"});
    ASSERT_EQ(made.exit_code, 0) << made.out;
    Connection demo;
    demo.ConnectionString = "sqlite:" + folder.path() + "/new.db";
    ASSERT_TRUE(demo.Open().ok());
    auto terms = demo.Execute("SELECT COUNT(*) FROM CG62_CONDPAGDES");
    ASSERT_TRUE(terms.ok());
    EXPECT_GT(CDecN(terms->rows[0][0]), 0);
}

TEST(ShellOptions, ABadValueIsToldInItalianWithTheUsage) {
    testing::TempFolder folder;
    struct Case {
        std::vector<std::string> args;
        std::string told;  // the first line
    } cases[] = {
        {{"--profile", "abc"}, "--profile vuole un numero intero, non 'abc'"},
        {{"--tab", "9"}, "--tab vuole un numero da 0 a 3, non '9'"},
        {{"--tab", "-1"}, "--tab vuole un numero da 0 a 3, non '-1'"},
        {{"--measure", "many"}, "--measure vuole un numero di spostamenti"},
        {{"--status", "edit"}, "--status vuole view, insert o search"},
        {{"--db", "a.db", "--connect", "b"}, "--db e --connect non vanno insieme"},
        {{"--nothing"}, "opzione sconosciuta: nothing"},
        {{"--demo=yes"}, "--demo: non accetta un valore"},
        {{"--tab"}, "--tab: manca il valore"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.told);
        if (c.args.size() > 1 || c.args.front() != "--tab") {
            c.args.insert(c.args.end(), {"--screenshot", "a.png"});
        }
        Outcome run = shell(folder, c.args);
        EXPECT_EQ(run.exit_code, 2) << run.out;
        EXPECT_NE(run.err.find("condpag-shell: " + c.told + "\nuso: condpag-shell"),
                  std::string::npos)
            << run.err;
    }
    Outcome help = shell(folder, {"--help"});
    EXPECT_EQ(help.exit_code, 0) << help.out;
    EXPECT_NE(help.out.find("uso: condpag-shell"), std::string::npos) << help.out;
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/a.png"));
}

}  // namespace
}  // namespace condpag
