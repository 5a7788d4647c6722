// condpag einvoice, run as a person runs it, on a fresh demo database.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"
#include "einvoice/tests/schema_check.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

std::vector<std::string> all(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (std::sregex_iterator m(text.begin(), text.end(), re), end; m != end; ++m) {
        found.push_back((*m)[1]);
    }
    return found;
}

TEST(EInvoiceCommand, PrintsAValidBlockWithThePreviewsDatesAndCents) {
    CONDPAG_NEED_PAYMENT_SCHEMA();
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    testing::TempFolder folder;
    const Outcome italian = run({"einvoice", "RB369", "--date", "2027-07-15", "--taxable",
                                 "1.000,01", "--vat", "220,00", "--db", db.file()},
                                folder);
    ASSERT_EQ(italian.exit_code, 0) << italian.err;
    EXPECT_EQ(italian.err, "");
    const auto verdict = testing::validate_payment_block(italian.out);
    EXPECT_TRUE(verdict.valid) << verdict.output << italian.out;

    const Outcome dotted = run({"einvoice", "RB369", "--date", "2027-07-15", "--taxable", "1000.01",
                                "--vat", "220", "--db", db.file()},
                               folder);
    EXPECT_EQ(dotted.out, italian.out);

    const Outcome preview = run({"preview", "RB369", "--date", "2027-07-15", "--taxable", "1000.01",
                                 "--vat", "220", "--db", db.file(), "--json"},
                                folder);
    ASSERT_EQ(preview.exit_code, 0) << preview.err;
    const auto dues = all(italian.out, "<DataScadenzaPagamento>([^<]*)<");
    EXPECT_EQ(dues, all(preview.out, "\"due_date\": \"([^\"]*)\""));
    EXPECT_EQ(dues, (std::vector<std::string>{"2027-09-01", "2027-09-30", "2027-10-31"}));
    EXPECT_EQ(all(italian.out, "<ImportoPagamento>([^<]*)<"),
              all(preview.out, "\"total\": ([-0-9.]+)"));
}

TEST(EInvoiceCommand, TellsWhatIsWrongAndPrintsNoBlock) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    auto connection = db.connect();
    ASSERT_TRUE(connection);
    const auto changed = connection->ExecuteChange(
        "UPDATE CG63_CONDPAGDET SET CG63_PERCIMP = 40 WHERE CG63_CODPAG_CG62 = 'BB3060' AND "
        "CG63_PROG = 2");
    ASSERT_TRUE(changed && *changed == 1);
    testing::TempFolder folder;
    struct Case {
        std::vector<std::string> args;
        int exit_code;
        std::string message;
    } cases[] = {
        {{"NOPE"}, 1, "condpag einvoice: Condizione di pagamento NOPE inesistente\n"},
        {{"BB3060"},
         1,
         "condpag einvoice: BB3060: Somma delle percentuali di imponibile diversa da 100: 90\n"},
        {{"RD"},
         1,
         "condpag einvoice: RD: Rata 1 (Rimessa diretta): il tipo di pagamento non indica la "
         "modalità di pagamento della fattura elettronica; indicarne una (--mode MPxx)\n"},
        {{"RD", "--mode", "MP99"},
         2,
         "--mode: modalità di pagamento non valida (MP01..MP23): MP99"},
        {{"RD", "--date", "2027-02-30"}, 2, "--date: data non valida (AAAA-MM-GG): 2027-02-30"},
        {{"RD", "--taxable", "12,345"}, 2, "--taxable: importo non valido: 12,345"},
        {{"RD", "--vat", "1,234.50"}, 2, "--vat: importo non valido: 1,234.50"},
        {{"RD", "--vat"}, 2, "--vat: 1 required TEXT missing"},
        {{"RD", "--db", folder.path() + "/missing.db"}, 1, "/missing.db': il file non esiste"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"einvoice", "--db", db.file()};
        for (const char* option : {"--date", "--taxable", "--vat"}) {
            if (std::find(c.args.begin(), c.args.end(), option) == c.args.end()) {
                args.insert(args.end(), {option, option[2] == 'd' ? "2027-07-15" : "100"});
            }
        }
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.message);
        const Outcome r = run(args, folder);
        EXPECT_EQ(r.exit_code, c.exit_code);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    // A database the person names is never made up.
    EXPECT_FALSE(std::ifstream(folder.path() + "/missing.db").good());

    // The mode given for a type that names none.
    const Outcome given = run({"einvoice", "RD", "--date", "2027-07-15", "--taxable", "100",
                               "--vat", "22", "--mode", "MP08", "--db", db.file()},
                              folder);
    EXPECT_EQ(given.exit_code, 0) << given.err;
    EXPECT_NE(given.out.find("<ModalitaPagamento>MP08</ModalitaPagamento>"), std::string::npos);
    EXPECT_NE(given.out.find("<ImportoPagamento>122.00</ImportoPagamento>"), std::string::npos);
}

}  // namespace
}  // namespace condpag
