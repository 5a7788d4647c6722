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

// How a database is opened for a program of the system.
enum class OpenMode {
    Existing,               // must exist and hold the payment-term tables; opened to edit
    ReadOnly,               // as Existing, and nothing in it changes, not even its journal
    CreateDemoWhenMissing,  // a missing file, or a database without any table, gets the
                            // tables and the demo data; another program's database is refused
};

// Opens "sqlite:PATH", "odbc:..." or a plain file path. A database that lacks the payment-term
// tables is never written: the error names the tables that are missing.
Expected<Connection> open_database(const std::string& connection_string_or_path, OpenMode mode);
inline Expected<Connection> open_database(const std::string& connection_string_or_path,
                                          bool create_if_missing) {
    return open_database(connection_string_or_path,
                         create_if_missing ? OpenMode::CreateDemoWhenMissing : OpenMode::Existing);
}

}  // namespace condpag
