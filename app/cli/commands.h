#pragma once
// The subcommands of the `condpag` command-line tool; each answers the process exit code.

#include <string>
#include <vector>

namespace condpag::cli {

// condpag list [--db PATH | --connect STRING]: every payment term with its rows, decoded.
int run_list(const std::vector<std::string>& args);
// condpag preview CODE --date YYYY-MM-DD --taxable N --vat N [--db PATH] [--json]
int run_preview(const std::vector<std::string>& args);
// condpag einvoice CODE --date YYYY-MM-DD --taxable N --vat N [--mode MPxx] [--db PATH]
int run_einvoice(const std::vector<std::string>& args);

}  // namespace condpag::cli
