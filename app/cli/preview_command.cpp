// condpag preview: the due dates and amounts of a stored payment term for an example invoice.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/commands.h"
#include "rules/due_date_preview.h"
#include "storage/connection.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statements.h"

namespace condpag::cli {
namespace {

namespace chr = std::chrono;

constexpr const char* kUsage =
    "usage: condpag preview CODE [--date YYYY-MM-DD] [--taxable N] [--vat N]\n"
    "       [--db PATH | --connect STRING] [--json] [--fixed INSTALLMENT=AMOUNT]\n"
    "       [--delivery-note-date YYYY-MM-DD] [--delivery-date YYYY-MM-DD]\n"
    "       [--order-date YYYY-MM-DD] [--on-request-date YYYY-MM-DD]\n";

struct Options {
    std::string code;
    std::string database = "build/demo.db";
    bool database_given = false;
    bool json = false;
    ExampleInvoice invoice;
};

std::optional<chr::year_month_day> parse_date(const std::string& text) {
    int year = 0;
    unsigned month = 0, day = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2u-%2u%c", &year, &month, &day, &end) != 3) {
        return std::nullopt;
    }
    const chr::year_month_day date{chr::year{year}, chr::month{month}, chr::day{day}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::string iso_date(const chr::year_month_day& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()));
    return text;
}

// Reads the options; answers a message for the user when they make no sense.
std::optional<std::string> parse(const std::vector<std::string>& args, Options& options) {
    const chr::sys_days today = chr::floor<chr::days>(chr::system_clock::now());
    options.invoice.invoice_date = today;
    options.invoice.taxable = 100000;
    options.invoice.vat = 22000;
    const std::map<std::string, std::optional<chr::year_month_day>*> other_dates = {
        {"--delivery-note-date", &options.invoice.delivery_note_date},
        {"--delivery-date", &options.invoice.delivery_date},
        {"--order-date", &options.invoice.order_date},
        {"--on-request-date", &options.invoice.on_request_date}};

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            if (!options.code.empty()) return "more than one payment-term code: " + arg;
            options.code = arg;
            continue;
        }
        if (i + 1 >= args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        if (arg == "--db" || arg == "--connect") {
            options.database = value;
            options.database_given = true;
        } else if (arg == "--date" || other_dates.count(arg)) {
            const auto date = parse_date(value);
            if (!date) return arg + ": not a date of the form YYYY-MM-DD: " + value;
            if (arg == "--date") {
                options.invoice.invoice_date = *date;
            } else {
                *other_dates.at(arg) = *date;
            }
        } else if (arg == "--taxable" || arg == "--vat") {
            const auto cents = to_cents(Value(value));
            if (!cents) return arg + ": not an amount: " + value;
            (arg == "--taxable" ? options.invoice.taxable : options.invoice.vat) = *cents;
        } else if (arg == "--fixed") {
            const auto equals = value.find('=');
            const auto number = parse_number(value.substr(0, equals));
            const auto cents = equals == std::string::npos
                                   ? std::nullopt
                                   : to_cents(Value(value.substr(equals + 1)));
            if (!number || !cents) return "--fixed: expected INSTALLMENT=AMOUNT, got " + value;
            options.invoice.asked_fixed_amounts[int(*number)] = *cents;
        } else {
            return "unknown option " + arg;
        }
    }
    if (options.code.empty()) return std::string("the payment-term code is missing");
    return std::nullopt;
}

Expected<std::vector<Record>> read_rows(Connection& connection, const std::string& sql) {
    Recordset set;
    if (auto opened = set.Open(sql, connection); !opened) return opened.error();
    std::vector<Record> rows = set.records();
    set.Close();
    return rows;
}

std::string json_text(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string json_amount(Cents cents) {
    const Cents magnitude = cents < 0 ? -cents : cents;
    char text[40];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", cents < 0 ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

void print_json(const Options& options, const std::string& description,
                const DueDatePreview& preview) {
    std::cout << "{\"code\": " << json_text(options.code)
              << ", \"description\": " << json_text(description)
              << ", \"invoice_date\": " << json_text(iso_date(options.invoice.invoice_date))
              << ", \"taxable\": " << json_amount(options.invoice.taxable)
              << ", \"vat\": " << json_amount(options.invoice.vat) << ",\n \"rows\": [";
    for (std::size_t i = 0; i < preview.rows.size(); ++i) {
        const PreviewRow& row = preview.rows[i];
        std::cout << (i ? ",\n  " : "\n  ") << "{\"number\": " << row.number
                  << ", \"payment_type\": " << json_text(row.type_label)
                  << ", \"due_date\": " << json_text(iso_date(row.due))
                  << ", \"taxable\": " << json_amount(row.taxable)
                  << ", \"vat\": " << json_amount(row.vat)
                  << ", \"total\": " << json_amount(row.total) << ", \"moved_from\": "
                  << (row.moved_from ? json_text(iso_date(*row.moved_from)) : "null")
                  << ", \"note\": " << json_text(row.note) << "}";
    }
    std::cout << "],\n \"notes\": [";
    for (std::size_t i = 0; i < preview.notes.size(); ++i) {
        std::cout << (i ? ", " : "") << json_text(preview.notes[i]);
    }
    std::cout << "]}\n";
}

void print_table(const Options& options, const std::string& description,
                 const DueDatePreview& preview) {
    std::printf("Anteprima scadenze %s - %s\n", options.code.c_str(), description.c_str());
    std::printf("Fattura del %s: imponibile %s, IVA %s\n\n",
                format_date(options.invoice.invoice_date).c_str(),
                format_amount(options.invoice.taxable).c_str(),
                format_amount(options.invoice.vat).c_str());
    std::printf("%4s  %-20s  %-10s  %14s  %14s  %14s  %s\n", "Rata", "Tipo pagamento", "Scadenza",
                "Imponibile", "IVA", "Totale", "Note");
    Cents taxable = 0, vat = 0;
    for (const PreviewRow& row : preview.rows) {
        std::printf("%4d  %-20s  %-10s  %14s  %14s  %14s%s%s\n", row.number, row.type_label.c_str(),
                    format_date(row.due).c_str(), format_amount(row.taxable).c_str(),
                    format_amount(row.vat).c_str(), format_amount(row.total).c_str(),
                    row.note.empty() ? "" : "  ", row.note.c_str());
        taxable += row.taxable;
        vat += row.vat;
    }
    std::printf("%4s  %-20s  %-10s  %14s  %14s  %14s\n", "", "", "Totale",
                format_amount(taxable).c_str(), format_amount(vat).c_str(),
                format_amount(taxable + vat).c_str());
    for (const std::string& note : preview.notes) std::printf("Nota: %s\n", note.c_str());
}

}  // namespace

int run_preview(const std::vector<std::string>& args) {
    Options options;
    if (auto problem = parse(args, options)) {
        std::cerr << "condpag preview: " << *problem << "\n" << kUsage;
        return 2;
    }
    // The default demo database is made on first use; a database named by the user is not.
    auto opened = open_database(options.database, !options.database_given);
    if (!opened) {
        std::cerr << "condpag preview: " << opened.error().message << "\n";
        return 1;
    }
    Connection& connection = *opened;

    auto header =
        connection.Execute("SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = ?", 1,
                           {Value(RTrimN(std::string_view(options.code)))});
    if (!header) {
        std::cerr << "condpag preview: " << header.error().message << "\n";
        return 1;
    }
    if (header->rows.empty()) {
        std::cerr << "condpag preview: payment term " << options.code << " not found\n";
        return 1;
    }
    const std::string description = RTrimN(header->rows.front().front());

    auto installments = read_rows(connection, load_installments_statement(options.code));
    auto periods = read_rows(connection, load_periods_statement(options.code));
    auto subtypes = read_rows(connection, "SELECT * FROM CG64_SOTTOTIPO");
    for (const auto* read : {&installments, &periods, &subtypes}) {
        if (!*read) {
            std::cerr << "condpag preview: " << read->error().message << "\n";
            return 1;
        }
    }
    std::stable_sort(installments->begin(), installments->end(),
                     [](const Record& a, const Record& b) {
                         return CDecN(field(a, "CG63_PROG")) < CDecN(field(b, "CG63_PROG"));
                     });

    const DueDatePreview preview =
        due_date_preview(*installments, *periods, *subtypes, options.invoice);
    if (options.json) {
        print_json(options, description, preview);
    } else {
        print_table(options, description, preview);
    }
    return 0;
}

}  // namespace condpag::cli
