// condpag preview, run as a person runs it, on a fresh demo database.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"

namespace condpag {
namespace {

TEST(PreviewCommand, ShowsTheThreeRibaOfTheWorkedExampleAsATableAndAsJson) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    testing::TempFolder folder;
    // RB369: three Ri.Ba. at 30, 60 and 90 commercial days from the invoice, then month end,
    // a third each. 1.000,00 / 3 leaves a cent to the last; so does 220,00 / 3.
    struct Row {
        std::string date, iso, taxable, vat, total;
    };
    const std::vector<Row> expected = {{"28/02/2027", "2027-02-28", "333,33", "73,33", "406,66"},
                                       {"31/03/2027", "2027-03-31", "333,33", "73,33", "406,66"},
                                       {"30/04/2027", "2027-04-30", "333,34", "73,34", "406,68"}};
    const std::vector<std::string> args = {"preview", "RB369", "--date", "2027-01-15", "--taxable",
                                           "1000",    "--vat", "220",    "--db",       db.file()};

    const Outcome table = run(args, folder);
    ASSERT_EQ(table.exit_code, 0) << table.err;
    // A row starts with its installment number and ends with its date and three amounts.
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> totals;
    std::istringstream lines(table.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.size() >= 5 && w.front().find_first_not_of("0123456789") == std::string::npos) {
            rows.push_back(w);
        } else if (!w.empty() && w.front() == "Totale") {
            totals = w;
        }
    }
    ASSERT_EQ(rows.size(), expected.size()) << table.out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].front(), std::to_string(i + 1));
        const std::vector<std::string> tail(rows[i].end() - 4, rows[i].end());
        EXPECT_EQ(tail, (std::vector<std::string>{expected[i].date, expected[i].taxable,
                                                  expected[i].vat, expected[i].total}));
    }
    EXPECT_EQ(totals, (std::vector<std::string>{"Totale", "1.000,00", "220,00", "1.220,00"}));

    std::vector<std::string> json_args = args;
    json_args.push_back("--json");
    const Outcome json = run(json_args, folder);
    ASSERT_EQ(json.exit_code, 0) << json.err;
    const nlohmann::json answer = nlohmann::json::parse(json.out, nullptr, false);
    ASSERT_TRUE(answer.is_object() && answer.contains("rows")) << json.out;
    ASSERT_EQ(answer["rows"].size(), expected.size()) << json.out;
    auto dotted = [](std::string amount) {
        std::replace(amount.begin(), amount.end(), ',', '.');
        return amount;
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const nlohmann::json& row = answer["rows"][i];
        EXPECT_EQ(row.value("number", 0u), i + 1);
        EXPECT_EQ(row.value("due_date", ""), expected[i].iso);
        EXPECT_EQ(row.value("taxable", nlohmann::json()).dump(), dotted(expected[i].taxable));
        EXPECT_EQ(row.value("vat", nlohmann::json()).dump(), dotted(expected[i].vat));
        EXPECT_EQ(row.value("total", nlohmann::json()).dump(), dotted(expected[i].total));
    }
}

}  // namespace
}  // namespace condpag
