#pragma once
// Statement texts are written in the SQL Server dialect; this turns them into the dialect of the
// backend that runs them. SQL Server texts pass unchanged.

#include <string>
#include <string_view>

#include "storage/connection.h"

namespace condpag {

// Rewrites a SQL Server statement for the given dialect:
//   SELECT TOP n ...      -> SELECT ... LIMIT n   (outermost select only)
//   ISNULL(a, b)          -> COALESCE(a, b)
//   'text' + x, x + 'text' -> 'text' || x, x || 'text'
// Quoted literals are never touched.
std::string adapt_statement(std::string_view sql, Dialect dialect);

// The table a statement reads: the name after its first FROM outside quotes, without a schema
// prefix or brackets; "" when there is none.
std::string source_table(std::string_view sql);

}  // namespace condpag
