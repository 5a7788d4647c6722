#include "app/cli/cli_options.h"

#include <cmath>
#include <cstdio>

#include "rules/italian_format.h"

namespace condpag::cli {

namespace chr = std::chrono;

namespace {

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

}  // namespace

CLI::Option* add_date(CLI::App& command, const std::string& name,
                      std::function<void(chr::year_month_day)> store, const std::string& help) {
    return command.add_option_function<std::string>(
        name,
        [name, store](const std::string& text) {
            const auto parsed = parse_date(text);
            if (!parsed) {
                throw CLI::ValidationError(name, "data non valida (AAAA-MM-GG): " + text);
            }
            store(*parsed);
        },
        help);
}

CLI::Option* add_amount(CLI::App& command, const std::string& name, Cents& amount,
                        const std::string& help) {
    return command.add_option_function<std::string>(
        name,
        [name, &amount](const std::string& text) {
            const Expected<double> value = LeggiImporto(text);
            // Beyond 13 whole digits a double no longer holds every cent.
            if (!value || std::fabs(*value) >= 1e13) {
                throw CLI::ValidationError(name, "importo non valido: " + text);
            }
            const double cents = *value * 100;
            if (std::fabs(cents - std::round(cents)) > 1e-6) {
                throw CLI::ValidationError(
                    name, "importo non valido: " + text + " (al massimo due decimali)");
            }
            amount = static_cast<Cents>(std::llround(cents));
        },
        help);
}

}  // namespace condpag::cli
