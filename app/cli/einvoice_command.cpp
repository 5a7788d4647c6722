// condpag einvoice: the DatiPagamento block of an electronic invoice for a stored payment term.

#include <iostream>
#include <optional>
#include <regex>
#include <string>
#include <variant>
#include <vector>

#include "app/cli/commands.h"
#include "einvoice/payment_block_xml.h"
#include "einvoice/term_rows.h"
#include "rules/einvoice_payment.h"
#include "storage/schema.h"

namespace condpag::cli {
namespace {

constexpr const char* kUsage =
    "uso: condpag einvoice CODICE --date AAAA-MM-GG --taxable IMPORTO --vat IMPORTO\n"
    "     [--mode MPxx] [--db PERCORSO | --connect STRINGA]\n"
    "     IMPORTO come 1.234,50 o 1234.50; --mode vale per le rate il cui tipo di pagamento\n"
    "     non indica una modalità\n";

struct Options {
    std::string code;
    std::string database = "build/demo.db";
    bool database_given = false;
    std::optional<std::chrono::year_month_day> date;
    std::optional<Cents> taxable;
    std::optional<Cents> vat;
    std::optional<PaymentMode> mode;
};

// An amount as typed, in cents: Italian "1.234,50" (dots between thousands, decimal comma) or
// "1234.50"; at most two decimals. A lone dot before three digits ("1.500") groups thousands.
std::optional<Cents> parse_amount(const std::string& text) {
    static const std::regex kItalian(R"((-?)(\d{1,3}(?:\.\d{3})+|\d{1,13})(?:,(\d{1,2}))?)");
    static const std::regex kDotted(R"((-?)(\d{1,13})(?:\.(\d{1,2}))?)");
    std::smatch parts;
    if (!std::regex_match(text, parts, kItalian) && !std::regex_match(text, parts, kDotted)) {
        return std::nullopt;
    }
    std::string units = parts[2];
    std::erase(units, '.');
    if (units.size() > 13) return std::nullopt;
    std::string cents = parts[3];
    cents.resize(2, '0');
    const Cents amount = std::stoll(units) * 100 + std::stoll(cents);
    return parts[1].length() ? -amount : amount;
}

// Reads the options; answers the message for the user when they make no sense.
std::optional<std::string> parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (!options.code.empty()) return "più di un codice di pagamento: " + arg;
            options.code = arg;
            continue;
        }
        if (i + 1 >= args.size()) return arg + ": manca il valore";
        const std::string& value = args[++i];
        if (arg == "--db" || arg == "--connect") {
            options.database = value;
            options.database_given = true;
        } else if (arg == "--date") {
            options.date = parse_iso_date(value);
            if (!options.date) return "--date: data non valida (AAAA-MM-GG): " + value;
        } else if (arg == "--taxable" || arg == "--vat") {
            const auto cents = parse_amount(value);
            if (!cents) return arg + ": importo non valido: " + value;
            (arg == "--taxable" ? options.taxable : options.vat) = *cents;
        } else if (arg == "--mode") {
            options.mode = parse_mode(value);
            if (!options.mode)
                return "--mode: modalità di pagamento non valida (MP01..MP23): " + value;
        } else {
            return "opzione sconosciuta: " + arg;
        }
    }
    if (options.code.empty()) return std::string("manca il codice della condizione di pagamento");
    if (!options.date) return std::string("manca la data fattura (--date)");
    if (!options.taxable) return std::string("manca l'imponibile (--taxable)");
    if (!options.vat) return std::string("manca l'IVA (--vat)");
    return std::nullopt;
}

}  // namespace

int run_einvoice(const std::vector<std::string>& args) {
    Options options;
    if (auto problem = parse(args, options)) {
        std::cerr << "condpag einvoice: " << *problem << "\n" << kUsage;
        return 2;
    }
    auto opened = open_database(options.database, !options.database_given);
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
    invoice.invoice_date = *options.date;
    invoice.taxable = *options.taxable;
    invoice.vat = *options.vat;
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

}  // namespace condpag::cli
