// What condpag refuses, run as a person runs it: options the parser refuses are told in Italian,
// naming the option (exit 2); a term or a database that cannot serve is told too (exit 1).
// Nothing is printed as an answer, and no database is made up.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli/tests/run_tool.h"

namespace condpag {
namespace {

TEST(Refusals, AreToldInItalianAndAnswerNothing) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    auto connection = db.connect();
    ASSERT_TRUE(connection);
    // BB3060's taxable shares no longer add up to 100.
    const auto changed = connection->ExecuteChange(
        "UPDATE CG63_CONDPAGDET SET CG63_PERCIMP = 40 WHERE CG63_CODPAG_CG62 = 'BB3060' AND "
        "CG63_PROG = 2");
    ASSERT_TRUE(changed && *changed == 1);
    testing::TempFolder folder;
    const std::string missing = folder.path() + "/missing.db";
    // An invoice and the demo database are added to the rows that start with "+" where the row
    // does not name them itself.
    const std::vector<std::string> invoice = {"--date", "2027-07-15", "--taxable", "100",
                                              "--vat",  "100",        "--db",      db.file()};
    struct Case {
        std::vector<std::string> args;
        int exit_code;
        std::string told;  // the first line of what is told
    } cases[] = {
        // clang-format off
        {{}, 2, "manca il comando"},
        {{"show"}, 2, "argomento non previsto: show"},
        {{"list", "--nope"}, 2, "argomento non previsto: --nope"},
        {{"list", "--db"}, 2, "--db: manca il valore"},
        {{"list", "--db", "a.db", "--db", "b.db"}, 2, "--db: troppi valori"},
        {{"preview", "--json"}, 2, "CODICE: obbligatorio, non indicato"},
        {{"preview", "RD", "--json=forse"}, 2, "--json: valore non valido: forse"},
        {{"einvoice", "RD", "--taxable", "1", "--vat", "1"}, 2, "--date: obbligatorio, non indicato"},
        {{"+einvoice", "RD", "--date", "2027-02-30"}, 2, "--date: data non valida (AAAA-MM-GG): 2027-02-30"},
        {{"+preview", "RB369", "--date", "15/01/2027"}, 2, "--date: data non valida (AAAA-MM-GG): 15/01/2027"},
        {{"+preview", "RB369", "--fixed", "1"}, 2, "--fixed: valore non valido (RATA=IMPORTO): 1"},
        {{"+einvoice", "RD", "--taxable", "12,345"}, 2, "--taxable: importo non valido: 12,345 (al massimo due decimali)"},
        {{"+einvoice", "RD", "--vat", "1,234.50"}, 2, "--vat: importo non valido: 1,234.50"},
        {{"+einvoice", "RD", "--vat"}, 2, "--vat: manca il valore"},
        {{"+einvoice", "RD", "--mode", "MP99"}, 2, "--mode: modalità di pagamento non valida (MP01..MP23): MP99"},
        {{"list", "--db", missing}, 1, "condpag: Impossibile aprire il database '" + missing + "': il file non esiste"},
        {{"+preview", "RB369", "--db", missing}, 1, "condpag preview: Impossibile aprire il database '" + missing + "': il file non esiste"},
        {{"+einvoice", "RD", "--db", missing}, 1, "condpag einvoice: Impossibile aprire il database '" + missing + "': il file non esiste"},
        {{"+preview", "RB'369"}, 1, "condpag preview: condizione di pagamento RB'369 non trovata"},
        {{"+einvoice", "NOPE"}, 1, "condpag einvoice: Condizione di pagamento NOPE inesistente"},
        {{"+einvoice", "BB3060"}, 1, "condpag einvoice: BB3060: Somma delle percentuali di imponibile diversa da 100: 90"},
        {{"+einvoice", "RD"}, 1, "condpag einvoice: RD: Rata 1 (Rimessa diretta): il tipo di pagamento non indica la modalità di pagamento della fattura elettronica; indicarne una (--mode MPxx)"},
        // clang-format on
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        if (!args.empty() && args.front().front() == '+') {
            args.front().erase(0, 1);
            for (std::size_t i = 0; i < invoice.size(); i += 2) {
                if (std::find(c.args.begin(), c.args.end(), invoice[i]) == c.args.end()) {
                    args.insert(args.begin() + 1, {invoice[i], invoice[i + 1]});
                }
            }
        }
        SCOPED_TRACE(c.told);
        const Outcome r = run(args, folder);
        EXPECT_EQ(r.exit_code, c.exit_code);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.told) << r.err;
        if (c.exit_code == 2 && !args.empty()) {
            EXPECT_EQ(r.err.substr(c.told.size()), "\nPer l'elenco delle opzioni: --help\n");
        }
    }
    EXPECT_FALSE(std::ifstream(missing).good());
}

// The help a person asks for is in Italian too, down to the parser's own headings.
TEST(Refusals, TheHelpOfEachCommandIsInItalian) {
    testing::TempFolder folder;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"list", "--help"}, {"preview", "--help"}, {"einvoice", "-h"}}) {
        SCOPED_TRACE(args.front());
        const Outcome r = run(args, folder);
        EXPECT_EQ(r.exit_code, 0);
        EXPECT_NE(r.out.find("Opzioni:"), std::string::npos) << r.out;
        for (const char* english : {"Usage", "Options", "OPTIONS", "Subcommands", "Print this",
                                    "TEXT", "REQUIRED", "payment", "database file", "default"}) {
            EXPECT_EQ(r.out.find(english), std::string::npos) << english << " in\n" << r.out;
        }
    }
}

}  // namespace
}  // namespace condpag
