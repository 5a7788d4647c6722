// condpag einvoice, run as a person runs it, on a fresh demo database.

#include <gtest/gtest.h>

#include <regex>
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

    // The same invoice written the dotted way, as preview shows it.
    const Outcome preview = run({"preview", "RB369", "--date", "2027-07-15", "--taxable", "1000.01",
                                 "--vat", "220", "--db", db.file(), "--json"},
                                folder);
    ASSERT_EQ(preview.exit_code, 0) << preview.err;
    const auto dues = all(italian.out, "<DataScadenzaPagamento>([^<]*)<");
    EXPECT_EQ(dues, all(preview.out, "\"due_date\": \"([^\"]*)\""));
    EXPECT_EQ(dues, (std::vector<std::string>{"2027-09-01", "2027-09-30", "2027-10-31"}));
    EXPECT_EQ(all(italian.out, "<ImportoPagamento>([^<]*)<"),
              all(preview.out, "\"total\": ([-0-9.]+)"));

    // A mode given for a type that names none fills it in.
    const Outcome given = run({"einvoice", "RD", "--date", "2027-07-15", "--taxable", "100",
                               "--vat", "22", "--mode", "MP08", "--db", db.file()},
                              folder);
    EXPECT_EQ(given.exit_code, 0) << given.err;
    EXPECT_NE(given.out.find("<ModalitaPagamento>MP08</ModalitaPagamento>"), std::string::npos);
    EXPECT_NE(given.out.find("<ImportoPagamento>122.00</ImportoPagamento>"), std::string::npos);
}

}  // namespace
}  // namespace condpag
