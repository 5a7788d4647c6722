// condpag list, run as a person runs it, on a fresh demo database that it only reads.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"

namespace condpag {
namespace {

// The line of an installment of a term: "    1. Rb, ..." under the term's own lines.
std::string installment_line(const std::string& listing, const std::string& code, int number) {
    const std::size_t term = listing.find("\n" + code + "  ");
    if (term == std::string::npos) return {};
    const std::size_t start = listing.find("    " + std::to_string(number) + ". ", term);
    if (start == std::string::npos) return {};
    return listing.substr(start, listing.find('\n', start) - start);
}

TEST(ListCommand, ShowsEachInstallmentAsTheGridShowsItAndLeavesTheFileAsItWas) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    testing::TempFolder folder;
    {
        auto connection = db.connect();
        ASSERT_TRUE(connection.ok());
        // A share without its form: neither a fraction nor a percentage, as the grid shows it.
        ASSERT_TRUE(connection
                        ->ExecuteChange("UPDATE CG63_CONDPAGDET SET CG63_FLGFRPERCIMP = NULL "
                                        "WHERE CG63_CODPAG_CG62 = 'RD30'")
                        .ok());
        ASSERT_TRUE(connection->Execute("PRAGMA journal_mode=DELETE").ok());
    }  // closed: the file is all there is
    const std::string before = contents(db.file());
    const Outcome listed = run({"list", "--db", db.file()}, folder);
    ASSERT_EQ(listed.exit_code, 0) << listed.err;
    EXPECT_EQ(contents(db.file()), before) << "journal mode byte included";
    struct Case {
        std::string code;
        int number;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"RB369", 3, "    3. Rb/1, Mese commerc. 90 gg da Fine Mese, imponibile 1/3, IVA 1/3"},
        {"BB3060", 2, "    2. BBa/1, Mese commerc. 60 gg da Data Fattura, imponibile 50%, IVA 50%"},
        {"RD30", 1, "    1. Rd, Mese commerc. 30 gg da Data Fattura, imponibile -, IVA 100%"},
        {"RB60GF", 1,
         "    1. Rb/1, GG fix x int. 60 gg da Data Fattura, imponibile 100%, IVA 100% dal 01 "
         "al 31 scad. 10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(installment_line(listed.out, c.code, c.number), c.line) << c.code;
    }

    // An empty file is no database: refused, and left empty.
    const std::string empty = folder.path() + "/empty.db";
    std::ofstream(empty).close();
    EXPECT_NE(run({"list", "--db", empty}, folder).exit_code, 0);
    EXPECT_EQ(contents(empty), "");
}

}  // namespace
}  // namespace condpag
