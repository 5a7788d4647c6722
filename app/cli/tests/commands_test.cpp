// condpag list, preview and einvoice, run as a person runs them, on a fresh demo database.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"
#include "einvoice/tests/schema_check.h"

namespace condpag {
namespace {

// The first group of each match of `pattern` in `text`.
std::vector<std::string> all(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m) {
        found.push_back((*m)[1]);
    }
    return found;
}

// An installment's line under its term's own lines, before the next term.
std::string under(const std::string& code, const std::string& line) {
    return "\n" + code + "  .*\n(  .*\n)*" + line + "\n";
}

TEST(ListCommand, PreviewAndEInvoiceShowTheTermsAsTheEditorDoesAndLeaveTheFileAsItWas) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
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
    testing::TempFolder folder;
    // RB369 on the worked example: three Ri.Ba. at 30, 60 and 90 commercial days from the
    // invoice, then month end, a third each. 1.000,00 / 3 leaves a cent to the last; so does
    // 220,00 / 3.
    const std::vector<std::string> preview = {"preview",   "RB369", "--date", "2027-01-15",
                                              "--taxable", "1000",  "--vat",  "220"};
    std::vector<std::string> json = preview;
    json.push_back("--json");
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> shown;  // patterns found in what it prints
    };
    const Case cases[] = {
        {{"list"},
         {under("RB369", "    3. Rb/1, Mese commerc. 90 gg da Fine Mese, imponibile 1/3, IVA 1/3"),
          under("BB3060",
                "    2. BBa/1, Mese commerc. 60 gg da Data Fattura, imponibile 50%, IVA 50%"),
          under("RD30", "    1. Rd, Mese commerc. 30 gg da Data Fattura, imponibile -, IVA 100%"),
          under("RB60GF",
                "    1. Rb/1, GG fix x int. 60 gg da Data Fattura, imponibile 100%, "
                "IVA 100% dal 01 al 31 scad. 10")}},
        {preview,
         {"\n +1 .* 28/02/2027 +333,33 +73,33 +406,66 *\n",
          "\n +2 .* 31/03/2027 +333,33 +73,33 +406,66 *\n",
          "\n +3 .* 30/04/2027 +333,34 +73,34 +406,68 *\n",
          "\n +Totale +1.000,00 +220,00 +1.220,00 *\n"}},
        {json,
         {R"("rows": \[\s*\{\s*"number": 1,[^}]*"due_date": "2027-02-28",\s*"taxable": 333.33,)"
          R"(\s*"vat": 73.33,\s*"total": 406.66,)",
          R"(\},\s*\{\s*"number": 2,[^}]*"due_date": "2027-03-31",\s*"taxable": 333.33,)"
          R"(\s*"vat": 73.33,\s*"total": 406.66,)",
          R"(\},\s*\{\s*"number": 3,[^}]*"due_date": "2027-04-30",\s*"taxable": 333.34,)"
          R"(\s*"vat": 73.34,\s*"total": 406.68,[^}]*\}\s*\],)"}},
        // A mode given for a type that names none fills it in.
        {{"einvoice", "RD", "--date", "2027-07-15", "--taxable", "100", "--vat", "22", "--mode",
          "MP08"},
         {"<ModalitaPagamento>MP08</ModalitaPagamento>",
          "<ImportoPagamento>122.00</ImportoPagamento>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--db", db.file()});
        const Outcome r = run(args, folder);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        for (const std::string& pattern : c.shown) {
            EXPECT_TRUE(std::regex_search(r.out, std::regex(pattern))) << pattern << "\n" << r.out;
        }
        // Every command only reads: the file is left as it was, journal mode byte included.
        EXPECT_TRUE(contents(db.file()) == before);
    }

    // Named no database, the tool makes the demo file on first use where it runs.
    const Outcome demo = run({"list"}, folder);
    EXPECT_EQ(demo.exit_code, 0) << demo.err;
    EXPECT_NE(demo.out.find("\nRB369  "), std::string::npos);

    // An empty file is no database: refused, and left empty.
    const std::string empty = folder.path() + "/empty.db";
    std::ofstream(empty).close();
    EXPECT_NE(run({"list", "--db", empty}, folder).exit_code, 0);
    EXPECT_EQ(contents(empty), "");
}

// Amounts typed the Italian way, and the block valid for the invoice schema.
TEST(EInvoiceCommand, PrintsAValidBlockWithTheAmountsTypedTheItalianWayToTheCent) {
    CONDPAG_NEED_PAYMENT_SCHEMA();
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    testing::TempFolder folder;
    const Outcome r = run({"einvoice", "RB369", "--date", "2027-07-15", "--taxable", "1.000,01",
                           "--vat", "220,00", "--db", db.file()},
                          folder);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto verdict = testing::validate_payment_block(r.out);
    EXPECT_TRUE(verdict.valid) << verdict.output << r.out;
    EXPECT_EQ(all(r.out, "<DataScadenzaPagamento>([^<]*)<"),
              (std::vector<std::string>{"2027-09-01", "2027-09-30", "2027-10-31"}));
    EXPECT_EQ(all(r.out, "<ImportoPagamento>([^<]*)<"),
              (std::vector<std::string>{"406.67", "406.67", "406.67"}));
}

}  // namespace
}  // namespace condpag
