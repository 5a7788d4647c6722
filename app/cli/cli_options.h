#pragma once
// Options that more than one command-line tool reads: dates and amounts as a clerk types them,
// and the Italian message for options the parser refuses.

#include <CLI/CLI.hpp>
#include <chrono>
#include <functional>
#include <string>

#include "rules/due_date_preview.h"

namespace condpag::cli {

// A date option "YYYY-MM-DD": checked while the options are read, then stored.
CLI::Option* add_date(CLI::App& command, const std::string& name,
                      std::function<void(std::chrono::year_month_day)> store,
                      const std::string& help);

// An amount option typed the Italian way ("1.234,50") or with a decimal point ("1234.50"), at
// most two decimals, stored in cents.
CLI::Option* add_amount(CLI::App& command, const std::string& name, Cents& amount,
                        const std::string& help);

// What the parser refused, in Italian: the option (or argument) and why ("--db: manca il
// valore"). A message it does not know is kept as it is, after a note saying so.
std::string italian_parse_error(const CLI::Error& error);

// Makes the help of `app` and of every command it holds Italian: the parser's own headings and
// labels, the group of the options and of the commands, the help option. Call it once the
// options and commands are all added.
void speak_italian_in_help(CLI::App& app);

// Makes `app` print its parse errors as italian_parse_error says, followed by how to ask for
// help; what the program returns for them is left as it is.
void speak_italian_on_parse_errors(CLI::App& app);

}  // namespace condpag::cli
