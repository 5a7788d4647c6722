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

// Refused, the shell says why in Italian, a bad value with the usage (exit 2); a database it is
// pointed at is left as it was and none is made up.
TEST(ShellOptions, RefusalsAreToldInItalianAndLeaveEveryFileAsItWas) {
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
        int exit_code;
        std::string told;  // the first line, for a bad value
    } cases[] = {
        {{"--db", "foreign.db"}, 1, "mancano: CG62_CONDPAGDES"},
        {{"--demo", "--db", "foreign.db"}, 1, "mancano: CG62_CONDPAGDES"},
        {{"--db", "missing.db"}, 1, "il file non esiste"},
        {{}, 1, "--demo"},
        {{"--profile", "abc"}, 2, "--profile vuole un numero intero, non 'abc'"},
        {{"--tab", "9"}, 2, "--tab vuole un numero da 0 a 3, non '9'"},
        {{"--tab", "-1"}, 2, "--tab vuole un numero da 0 a 3, non '-1'"},
        {{"--measure", "many"}, 2, "--measure vuole un numero di spostamenti"},
        {{"--status", "edit"}, 2, "--status vuole view, insert o search"},
        {{"--db", "a.db", "--connect", "b"}, 2, "--db e --connect non vanno insieme"},
        {{"--nothing"}, 2, "opzione sconosciuta: nothing"},
        {{"--demo=yes"}, 2, "--demo: non accetta un valore"},
        {{"--tab"}, 2, "--tab: manca il valore"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.told);
        if (c.args.size() != 1 || c.args.front() != "--tab") {
            c.args.insert(c.args.end(), {"--screenshot", "a.png"});
        }
        Outcome run = shell(folder, c.args);
        EXPECT_EQ(run.exit_code, c.exit_code) << run.out;
        const std::string said =
            c.exit_code == 2 ? "condpag-shell: " + c.told + "\nuso: condpag-shell" : c.told;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
    EXPECT_EQ(contents(foreign), before);
    for (const char* made : {"missing.db", "build/demo.db", "a.png"}) {
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "/" + made)) << made;
    }
    Outcome help = shell(folder, {"--help"});
    EXPECT_EQ(help.exit_code, 0) << help.out;
    EXPECT_NE(help.out.find("uso: condpag-shell"), std::string::npos) << help.out;

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

}  // namespace
}  // namespace condpag
