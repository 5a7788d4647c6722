// condpag: command-line tool over the payment-terms database.

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_options.h"
#include "app/cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"condpag: le condizioni di pagamento da riga di comando"};
    app.require_subcommand(0, 1);
    condpag::cli::speak_italian_on_parse_errors(app);
    int exit_code = 0;
    condpag::cli::add_list_command(app, exit_code);
    condpag::cli::add_preview_command(app, exit_code);
    condpag::cli::add_einvoice_command(app, exit_code);
    condpag::cli::speak_italian_in_help(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help asked for is no failure; anything else the parser refused is a usage error.
        return app.exit(error) == 0 ? 0 : 2;
    }
    if (app.get_subcommands().empty()) {
        std::cerr << "manca il comando\n" << app.help();
        return 2;
    }
    return exit_code;
}
