// condpag: command-line tool over the payment-terms database.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: condpag list [--db PATH | --connect STRING]\n"
    "       condpag preview CODE --date YYYY-MM-DD --taxable N --vat N [--db PATH] [--json]\n"
    "       condpag einvoice CODE --date YYYY-MM-DD --taxable N --vat N [--mode MPxx] [--db "
    "PATH]\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    std::string command = args[0];
    args.erase(args.begin());
    if (command == "list") return condpag::cli::run_list(args);
    if (command == "preview") return condpag::cli::run_preview(args);
    if (command == "einvoice") return condpag::cli::run_einvoice(args);
    std::cerr << "condpag: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
