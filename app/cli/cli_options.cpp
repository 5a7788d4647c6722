#include "app/cli/cli_options.h"

#include <cmath>
#include <cstdio>
#include <regex>

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
    return command
        .add_option_function<std::string>(
            name,
            [name, store](const std::string& text) {
                const auto parsed = parse_date(text);
                if (!parsed) {
                    throw CLI::ValidationError(name, "data non valida (AAAA-MM-GG): " + text);
                }
                store(*parsed);
            },
            help)
        ->type_name("AAAA-MM-GG");
}

CLI::Option* add_amount(CLI::App& command, const std::string& name, Cents& amount,
                        const std::string& help) {
    return command
        .add_option_function<std::string>(
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
            help)
        ->type_name("IMPORTO");
}

namespace {

// CLI11's English texts, each with the Italian that says the same; $1, $2 are the option and
// the values the English names. Matched on the text alone: CLI11 names some errors after the
// command that raised them rather than after their kind.
struct Translation {
    const char* english;
    const char* italian;
};

const Translation kTranslations[] = {
    {R"(The following arguments? (?:was|were) not expected: (.*))", "argomento non previsto: $1"},
    {R"(A subcommand is required)", "manca il comando"},
    {R"((\S+) is required)", "$1: obbligatorio, non indicato"},
    {R"((\S+): \d+ required \S+ missing)", "$1: manca il valore"},
    {R"((\S+): At least \d+ required but received \d+)", "$1: manca il valore"},
    {R"((\S+): At Most \d+ required but received \d+)", "$1: troppi valori"},
    {R"(Expected (?:exactly|at least) \d+ arguments to (\S+), got \d+)",
     "$1: numero di valori errato"},
    {R"((\S+) was given a disallowed flag override)", "$1: non accetta un valore"},
    {R"(Could not convert: (\S+) = (.*))", "$1: valore non valido: $2"},
    {R"(The value (.*) is not an allowed value for (\S+))", "$2: valore non ammesso: $1"},
    {R"((\S+): too many inputs for a flag)", "$1: non accetta un valore"},
    {R"((\S+): Should be true/false or a number)",
     "$1: valore non valido (vero/falso o un numero)"},
    {R"((\S+): Value (.*) not in range (\S+) to (\S+))",
     "$1: valore $2 fuori dall'intervallo da $3 a $4"},
    {R"((\S+) requires (\S+))", "$1 richiede anche $2"},
    {R"((\S+) excludes (\S+))", "$1 non si può usare insieme a $2"},
};

}  // namespace

std::string italian_parse_error(const CLI::Error& error) {
    const std::string what = error.what();
    for (const Translation& t : kTranslations) {
        const std::regex english(t.english);
        if (std::regex_match(what, english)) return std::regex_replace(what, english, t.italian);
    }
    // Our own checks already speak Italian ("--date: data non valida ..."), and say the option.
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) return what;
    return "opzioni non valide: " + what;
}

void speak_italian_in_help(CLI::App& app) {
    // The formatter is shared with the commands added after it, so its labels serve them all.
    const auto formatter = app.get_formatter();
    for (const auto& [english, italian] : {std::pair{"Usage", "Uso"},
                                           {"OPTIONS", "OPZIONI"},
                                           {"SUBCOMMAND", "COMANDO"},
                                           {"SUBCOMMANDS", "COMANDI"},
                                           {"Positionals", "Argomenti"},
                                           {"REQUIRED", "OBBLIGATORIO"},
                                           {"TEXT", "TESTO"},
                                           {"Needs", "Richiede"},
                                           {"Excludes", "Esclude"}}) {
        formatter->label(english, italian);
    }
    if (CLI::Option* help = app.get_help_ptr()) help->description("mostra questo aiuto ed esce");
    for (CLI::Option* option : app.get_options()) {
        if (option->get_group() == "Options") option->group("Opzioni");
    }
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        if (command->get_group() == "Subcommands") command->group("Comandi");
        speak_italian_in_help(*command);
    }
}

void speak_italian_on_parse_errors(CLI::App& app) {
    app.failure_message([](const CLI::App* failing, const CLI::Error& error) {
        std::string message = italian_parse_error(error) + "\n";
        if (const CLI::Option* help = failing->get_help_ptr()) {
            message += "Per l'elenco delle opzioni: " + help->get_name() + "\n";
        }
        return message;
    });
}

}  // namespace condpag::cli
