#pragma once
// The demo data set: payment terms, subtypes, countries, languages and a few customers,
// suppliers and documents that use some of the terms.

#include <string>
#include <vector>

#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag {

// Inserts rows with bound values: INSERT INTO table (columns) VALUES (?, ...), one per row.
Status insert_rows(Connection& connection, const std::string& table,
                   const std::vector<std::string>& columns,
                   const std::vector<std::vector<Value>>& rows);

// Fills the tables of the demo data set that are still empty.
Status insert_demo_data(Connection& connection);

}  // namespace condpag
