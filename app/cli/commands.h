#pragma once
// The subcommands of the `condpag` command-line tool. Each adds itself to the tool's parser;
// once its options are read it runs and leaves the process exit code in `exit_code`.

#include <CLI/CLI.hpp>
#include <string>

#include "storage/connection.h"

namespace condpag::cli {

// condpag list [--db PATH | --connect STRING]: every payment term with its rows, decoded.
void add_list_command(CLI::App& app, int& exit_code);
// condpag preview CODE [--date YYYY-MM-DD] [--taxable N] [--vat N] [--db PATH] [--json] ...
void add_preview_command(CLI::App& app, int& exit_code);
// condpag einvoice CODE --date YYYY-MM-DD --taxable N --vat N [--mode MPxx] [--db PATH]
void add_einvoice_command(CLI::App& app, int& exit_code);

// Where the tool looks when no database is named: the demo file, made on first use.
inline constexpr const char* kDemoDatabase = "build/demo.db";

// Opens the database a command reads. Only the demo file is made when missing (a database the
// user names must exist); whatever is then opened is read-only, so the file is left exactly as
// it was, journal mode included.
[[nodiscard]] Expected<Connection> open_for_reading(const std::string& database, bool named);

}  // namespace condpag::cli
