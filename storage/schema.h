#pragma once
// The tables of the payment terms, the host tables they are checked against, and a demo data set
// a new user recognises. The same definitions run on SQLite and PostgreSQL.

#include <string>
#include <string_view>
#include <vector>

#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag {

// The key columns of a table of the system, in key order; empty for a table it does not know.
const std::vector<std::string>& key_columns(std::string_view table);

// Creates every table and index that is missing; with demo data, fills the empty ones.
Status create_database(Connection& connection, bool with_demo_data);

// Opens "sqlite:PATH", "odbc:..." or a plain file path. A missing SQLite file, or a database
// without the payment-term tables, is set up with demo data only when create_if_missing is set.
Expected<Connection> open_database(const std::string& connection_string_or_path,
                                   bool create_if_missing);

}  // namespace condpag
