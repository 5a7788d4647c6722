// condpag preview, run as a person runs it, on a fresh demo database.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

struct Outcome {
    int exit_code = -1;
    std::string out;
    std::string err;
};

std::string shell_quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome run(const std::vector<std::string>& args, const testing::TempFolder& folder) {
    const std::string err_file = folder.path() + "/stderr.txt";
    std::string command = shell_quoted(CONDPAG_CLI);
    for (const std::string& arg : args) command += " " + shell_quoted(arg);
    command += " 2>" + shell_quoted(err_file);
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    std::ostringstream err;
    err << std::ifstream(err_file).rdbuf();
    run.err = err.str();
    return run;
}

// Just enough JSON to read the tool's answer back: strings, numbers and null as their text,
// arrays and objects; anything malformed is refused.
struct Json {
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;
};

class JsonReader {
  public:
    explicit JsonReader(std::string text) : s_(std::move(text)) {}

    std::optional<Json> document() {
        Json json;
        if (!value(json)) return std::nullopt;
        space();
        return at_ == s_.size() ? std::optional(json) : std::nullopt;
    }

  private:
    void space() {
        while (at_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[at_]))) ++at_;
    }
    bool eat(char c) {
        space();
        return at_ < s_.size() && s_[at_] == c && ++at_;
    }
    bool string(std::string& text) {
        if (!eat('"')) return false;
        while (at_ < s_.size() && s_[at_] != '"') {
            char c = s_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c == '\\' && at_ < s_.size()) {
                c = s_[at_++];
                if (c == 'u') {
                    c = char(std::stoi(s_.substr(at_, 4), nullptr, 16));
                    at_ += 4;
                } else if (c != '"' && c != '\\') {
                    return false;
                }
            }
            text += c;
        }
        return at_++ < s_.size();
    }
    template <class Item>
    bool list(char close, Item item) {
        if (eat(close)) return true;
        do {
            if (!item()) return false;
        } while (eat(','));
        return eat(close);
    }
    bool value(Json& json) {
        if (eat('{')) {
            return list('}', [&] {
                std::string key;
                return string(key) && eat(':') && value(json.members[key]);
            });
        }
        if (eat('[')) return list(']', [&] { return value(json.items.emplace_back()); });
        if (at_ < s_.size() && s_[at_] == '"') return string(json.text);
        const std::size_t start = at_;
        if (s_.compare(at_, 4, "null") == 0) {
            at_ += 4;
        } else {
            char* end = nullptr;
            std::strtod(s_.c_str() + at_, &end);
            at_ = std::size_t(end - s_.c_str());
        }
        json.text = s_.substr(start, at_ - start);
        return at_ > start;
    }

    std::string s_;
    std::size_t at_ = 0;
};

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
    const auto answer = JsonReader(json.out).document();
    ASSERT_TRUE(answer) << json.out;
    ASSERT_EQ(answer->members.count("rows"), 1u) << json.out;
    const std::vector<Json>& items = answer->members.at("rows").items;
    ASSERT_EQ(items.size(), expected.size()) << json.out;
    auto dotted = [](std::string amount) {
        amount.replace(amount.find(','), 1, ".");
        return amount;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& m = items[i].members;
        ASSERT_EQ(m.count("due_date") + m.count("taxable") + m.count("vat") + m.count("total"), 4u);
        EXPECT_EQ(m.at("number").text, std::to_string(i + 1));
        EXPECT_EQ(m.at("due_date").text, expected[i].iso);
        EXPECT_EQ(m.at("taxable").text, dotted(expected[i].taxable));
        EXPECT_EQ(m.at("vat").text, dotted(expected[i].vat));
        EXPECT_EQ(m.at("total").text, dotted(expected[i].total));
    }
}

TEST(PreviewCommand, BadInputIsToldAndFails) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    testing::TempFolder folder;
    struct Case {
        std::string code, date, told;
    };
    const std::vector<Case> cases = {
        {"NOPE", "2027-01-15", "NOPE not found"},
        {"RB'369", "2027-01-15", "RB'369 not found"},
        {"RB369", "2027-13-01", "--date: not a date of the form YYYY-MM-DD: 2027-13-01"},
        {"RB369", "15/01/2027", "--date: not a date of the form YYYY-MM-DD: 15/01/2027"},
        {"RB369", "2027-01-15x", "--date: not a date of the form YYYY-MM-DD: 2027-01-15x"},
    };
    for (const Case& c : cases) {
        const Outcome r = run({"preview", c.code, "--date", c.date, "--db", db.file()}, folder);
        EXPECT_NE(r.exit_code, 0) << c.code << " " << c.date;
        EXPECT_NE(r.err.find(c.told), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.code << " " << c.date;
    }
    // A database named on the command line is never made up when it is missing.
    const std::string missing = folder.path() + "/missing.db";
    const Outcome r = run({"preview", "RB369", "--db", missing}, folder);
    EXPECT_NE(r.exit_code, 0);
    EXPECT_FALSE(std::ifstream(missing).good());
}

}  // namespace
}  // namespace condpag
