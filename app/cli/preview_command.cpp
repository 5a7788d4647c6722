// condpag preview: the due dates and amounts of a stored payment term for an example invoice.

#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "app/cli/cli_options.h"
#include "app/cli/commands.h"
#include "editor/preview_model.h"

namespace condpag::cli {
namespace {

namespace chr = std::chrono;

struct Options {
    std::string code;
    std::string database = kDemoDatabase;
    bool database_given = false;
    bool json = false;
    ExampleInvoice invoice;
};

std::string iso_date(const chr::year_month_day& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return text;
}

// A JSON amount: a number with the cents as decimals.
double json_amount(Cents cents) { return static_cast<double>(cents) / 100; }

void print_json(const Options& options, const PreviewTerm& term, const DueDatePreview& preview) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const PreviewRow& row : preview.rows) {
        rows.push_back(
            {{"number", row.number},
             {"payment_type", row.type_label},
             {"due_date", iso_date(row.due)},
             {"taxable", json_amount(row.taxable)},
             {"vat", json_amount(row.vat)},
             {"total", json_amount(row.total)},
             {"moved_from", row.moved_from ? nlohmann::ordered_json(iso_date(*row.moved_from))
                                           : nlohmann::ordered_json(nullptr)},
             {"note", row.note}});
    }
    const nlohmann::ordered_json answer = {{"code", options.code},
                                           {"description", term.description},
                                           {"invoice_date", iso_date(options.invoice.invoice_date)},
                                           {"taxable", json_amount(options.invoice.taxable)},
                                           {"vat", json_amount(options.invoice.vat)},
                                           {"rows", rows},
                                           {"notes", preview.notes}};
    std::cout << answer.dump(1) << "\n";
}

void print_table(const Options& options, const PreviewTerm& term, const DueDatePreview& preview) {
    std::printf("Anteprima scadenze %s - %s\n", options.code.c_str(), term.description.c_str());
    std::printf("Fattura del %s: imponibile %s, IVA %s\n\n",
                format_date(options.invoice.invoice_date).c_str(),
                format_amount(options.invoice.taxable).c_str(),
                format_amount(options.invoice.vat).c_str());
    std::printf("%4s  %-20s  %-10s  %14s  %14s  %14s  %s\n", "Rata", "Tipo pagamento", "Scadenza",
                "Imponibile", "IVA", "Totale", "Note");
    Cents taxable = 0, vat = 0;
    for (const PreviewRow& row : preview.rows) {
        const std::string note = row_note(row);
        std::printf("%4d  %-20s  %-10s  %14s  %14s  %14s%s%s\n", row.number, row.type_label.c_str(),
                    format_date(row.due).c_str(), format_amount(row.taxable).c_str(),
                    format_amount(row.vat).c_str(), format_amount(row.total).c_str(),
                    note.empty() ? "" : "  ", note.c_str());
        taxable += row.taxable;
        vat += row.vat;
    }
    std::printf("%4s  %-20s  %-10s  %14s  %14s  %14s\n", "", "", "Totale",
                format_amount(taxable).c_str(), format_amount(vat).c_str(),
                format_amount(taxable + vat).c_str());
    for (const std::string& note : preview.notes) std::printf("Nota: %s\n", note.c_str());
}

int run(const Options& options) {
    auto opened = open_for_reading(options.database, options.database_given);
    if (!opened) {
        std::cerr << "condpag preview: " << opened.error().message << "\n";
        return 1;
    }
    Expected<std::optional<PreviewTerm>> term = read_preview_term(*opened, options.code);
    if (!term) {
        std::cerr << "condpag preview: " << term.error().message << "\n";
        return 1;
    }
    if (!term->has_value()) {
        std::cerr << "condpag preview: condizione di pagamento " << options.code
                  << " non trovata\n";
        return 1;
    }
    const DueDatePreview preview = preview_of(**term, options.invoice);
    if (options.json) {
        print_json(options, **term, preview);
    } else {
        print_table(options, **term, preview);
    }
    return 0;
}

}  // namespace

void add_preview_command(CLI::App& app, int& exit_code) {
    auto options = std::make_shared<Options>();
    options->invoice.invoice_date = chr::floor<chr::days>(chr::system_clock::now());
    options->invoice.taxable = kExampleTaxable;
    options->invoice.vat = kExampleVat;
    ExampleInvoice& invoice = options->invoice;

    CLI::App* command = app.add_subcommand(
        "preview",
        "le scadenze e gli importi di una condizione di pagamento per una fattura d'esempio");
    command->add_option("CODICE", options->code, "codice della condizione di pagamento")
        ->required();
    CLI::Option* database = command->add_option("--db,--connect", options->database,
                                                "file del database o stringa di connessione");
    command->add_flag("--json", options->json, "risposta in JSON");
    add_date(
        *command, "--date", [&invoice](auto date) { invoice.invoice_date = date; },
        "data della fattura, AAAA-MM-GG (se manca, oggi)");
    add_amount(*command, "--taxable", invoice.taxable,
               "imponibile, 1.234,50 o 1234.50 (se manca, 1.000,00)");
    add_amount(*command, "--vat", invoice.vat, "IVA, 1.234,50 o 1234.50 (se manca, 220,00)");
    add_date(
        *command, "--delivery-note-date",
        [&invoice](auto date) { invoice.delivery_note_date = date; },
        "data della bolla (se manca, la data della fattura)");
    add_date(
        *command, "--delivery-date", [&invoice](auto date) { invoice.delivery_date = date; },
        "data di consegna (se manca, la data della fattura)");
    add_date(
        *command, "--order-date", [&invoice](auto date) { invoice.order_date = date; },
        "data dell'ordine (se manca, la data della fattura)");
    add_date(
        *command, "--on-request-date", [&invoice](auto date) { invoice.on_request_date = date; },
        "data a richiesta (se manca, la data della fattura)");
    command
        ->add_option_function<std::vector<std::string>>(
            "--fixed",
            [&invoice](const std::vector<std::string>& values) {
                for (const std::string& value : values) {
                    const auto equals = value.find('=');
                    const auto number = parse_number(value.substr(0, equals));
                    const auto cents = equals == std::string::npos
                                           ? std::nullopt
                                           : to_cents(Value(value.substr(equals + 1)));
                    if (!number || !cents) {
                        throw CLI::ValidationError("--fixed",
                                                   "valore non valido (RATA=IMPORTO): " + value);
                    }
                    invoice.asked_fixed_amounts[int(*number)] = *cents;
                }
            },
            "importo fisso richiesto nel documento per una rata (RATA=IMPORTO)")
        ->type_name("RATA=IMPORTO")
        ->allow_extra_args(false)
        ->take_all();
    command->callback([options, database, &exit_code] {
        options->database_given = database->count() > 0;
        exit_code = run(*options);
    });
}

}  // namespace condpag::cli
