#pragma once
// Options that more than one condpag command reads: dates and amounts as a clerk types them.

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

}  // namespace condpag::cli
