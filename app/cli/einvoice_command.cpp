// condpag einvoice: the DatiPagamento block of an electronic invoice for a stored payment term.

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/cli/cli_options.h"
#include "app/cli/commands.h"
#include "einvoice/payment_block_xml.h"
#include "einvoice/term_rows.h"
#include "rules/einvoice_payment.h"

namespace condpag::cli {
namespace {

struct Options {
    std::string code;
    std::string database = kDemoDatabase;
    bool database_given = false;
    std::chrono::year_month_day date;
    Cents taxable = 0;
    Cents vat = 0;
    std::optional<PaymentMode> mode;
};

int run(const Options& options) {
    auto opened = open_for_reading(options.database, options.database_given);
    if (!opened) {
        std::cerr << "condpag einvoice: " << opened.error().message << "\n";
        return 1;
    }
    auto term = read_term_rows(*opened, options.code);
    if (!term) {
        std::cerr << "condpag einvoice: " << term.error().message << "\n";
        return 1;
    }
    ExampleInvoice invoice;
    invoice.invoice_date = options.date;
    invoice.taxable = options.taxable;
    invoice.vat = options.vat;
    const PaymentDataResult result = payment_data(term->installments, term->shift_periods,
                                                  term->subtypes, invoice, options.mode);
    if (const auto* error = std::get_if<PaymentDataError>(&result)) {
        std::cerr << "condpag einvoice: " << options.code << ": " << describe(*error);
        if (error->problem == PaymentDataProblem::NoMode) std::cerr << " (--mode MPxx)";
        std::cerr << "\n";
        return 1;
    }
    const auto xml = payment_block_xml(std::get<PaymentData>(result));
    if (!xml) {
        std::cerr << "condpag einvoice: " << xml.error().message << "\n";
        return 1;
    }
    std::cout << *xml;
    return 0;
}

}  // namespace

void add_einvoice_command(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(
        "einvoice", "il blocco DatiPagamento della fattura elettronica per una condizione");
    command->add_option("CODICE", options->code, "codice della condizione di pagamento")
        ->required();
    CLI::Option* database = command
                                ->add_option("--db,--connect", options->database,
                                             "file del database o stringa di connessione")
                                ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    add_date(
        *command, "--date", [target = options](auto date) { target->date = date; },
        "data della fattura (AAAA-MM-GG)")
        ->required();
    add_amount(*command, "--taxable", options->taxable, "imponibile (1.234,50 o 1234.50)")
        ->required();
    add_amount(*command, "--vat", options->vat, "IVA (1.234,50 o 1234.50)")->required();
    command->add_option_function<std::string>(
        "--mode",
        [target = options](const std::string& text) {
            target->mode = parse_mode(text);
            if (!target->mode) {
                throw CLI::ValidationError(
                    "--mode", "modalità di pagamento non valida (MP01..MP23): " + text);
            }
        },
        "modalità per le rate il cui tipo di pagamento non ne indica una");
    command->callback([options, database, &exit_code] {
        options->database_given = database->count() > 0;
        exit_code = run(*options);
    });
}

}  // namespace condpag::cli
