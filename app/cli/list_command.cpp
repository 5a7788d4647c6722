// condpag list: every payment term of the database with its installments, shift periods and
// language descriptions, codes decoded to their labels and days shown GG/MM.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/commands.h"
#include "rules/term_display.h"
#include "storage/recordset.h"
#include "storage/statements.h"

namespace condpag::cli {
namespace {

struct Options {
    std::string database = kDemoDatabase;
    bool database_given = false;
};

std::string text(const Record& row, std::string_view column) { return RTrimN(field(row, column)); }

// A cell within a sentence: an empty one still takes its place.
std::string word(const std::string& label) { return label.empty() ? "-" : label; }

std::string fixed_days(const std::string& from, const std::string& to, const std::string& due) {
    if (due.empty()) return {};
    return " dal " + from + " al " + to + " scad. " + due;
}

void print_installment(const Record& row) {
    const InstallmentCells c = installment_cells(row);
    std::string line = "    " + c.number + ". " + word(c.type);
    if (!c.subtype.empty()) line += "/" + c.subtype;
    line += ", " + word(c.start_rule) + " " + c.days + " gg da " + word(c.reference);
    line += ", imponibile " + word(c.taxable_share) + ", IVA " + word(c.vat_share);
    if (CDecN(field(row, db::CG63_INDIMPFIX)) != 0) {
        line += ", importo fisso: " + word(c.fixed_handling);
        if (!c.fixed_amount.empty()) line += " " + c.fixed_amount;
    }
    line += fixed_days(c.first_from, c.first_to, c.first_due_day);
    line += fixed_days(c.second_from, c.second_to, c.second_due_day);
    if (!c.fixed_day_month.empty()) line += ", giorno/mese fisso " + c.fixed_day_month;
    std::cout << line << "\n";
}

void print_period(const Record& row) {
    const PeriodCells c = period_cells(row);
    std::string line = "    " + c.lower + " - " + c.upper + ": " + word(c.type);
    if (!c.fixed_date.empty()) line += " " + c.fixed_date;
    if (CDecN(field(row, db::CG65_GGSLSUCC)) != 0) line += ", " + c.days + " gg";
    std::cout << line << "\n";
}

void print_language(const Record& row) {
    std::cout << "    " << text(row, db::CG6B_LINGUA_MG52) << ": " << text(row, db::CG6B_DESCR);
    if (!text(row, db::CG6B_DESCRANAL).empty()) {
        std::cout << " (" << text(row, db::CG6B_DESCRANAL) << ")";
    }
    std::cout << "\n";
}

int run(const Options& options) {
    auto opened = open_for_reading(options.database, options.database_given);
    if (!opened) {
        std::cerr << "condpag: " << opened.error().message << "\n";
        return 1;
    }
    Connection connection = *opened;
    // Ordered here for a stable listing; the editor's own header statement has no order.
    auto headers = read_records(connection, "SELECT * FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG");
    if (!headers) {
        std::cerr << "condpag: " << headers.error().message << "\n";
        return 1;
    }
    int failures = 0;
    for (const Record& header : *headers) {
        const std::string code = text(header, db::CG62_CODPAG);
        std::cout << code << "  " << text(header, db::CG62_DESCPAG) << "\n";
        if (!text(header, db::CG62_DESPAGANAL).empty()) {
            std::cout << "  " << text(header, db::CG62_DESPAGANAL) << "\n";
        }
        struct Section {
            const char* title;
            std::string sql;
            void (*print)(const Record&);
        };
        for (const Section& section :
             {Section{"Rate", load_installments_statement(code), print_installment},
              Section{"Periodi di slittamento", load_periods_statement(code), print_period},
              Section{"Descrizioni in lingua", load_languages_statement(code), print_language}}) {
            auto rows = read_records(connection, section.sql);
            if (!rows) {
                std::cerr << "condpag: " << rows.error().message << "\n";
                ++failures;
                continue;
            }
            if (rows->empty()) continue;
            std::cout << "  " << section.title << ":\n";
            for (const Record& row : *rows) section.print(row);
        }
        std::cout << "\n";
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

void add_list_command(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "list", "ogni condizione di pagamento con le sue righe, codici decodificati");
    CLI::Option* database = command->add_option("--db,--connect", options->database,
                                                "file del database o stringa di connessione");
    command->callback([options, database, &exit_code] {
        options->database_given = database->count() > 0;
        exit_code = run(*options);
    });
}

}  // namespace condpag::cli
