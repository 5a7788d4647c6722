#pragma once
// The stored rows of one payment term that the due-date preview and the invoice's payment block
// are computed from.

#include <string>
#include <vector>

#include "rules/expected.h"
#include "rules/value.h"
#include "storage/connection.h"

namespace condpag {

struct TermRows {
    std::string description;            // CG62_DESCPAG
    std::vector<Record> installments;   // CG63 rows by CG63_PROG
    std::vector<Record> shift_periods;  // CG65 rows as stored
    std::vector<Record> subtypes;       // every CG64 row
};

// The rows of `code` (right-trimmed); an error with an Italian message when the term is not
// stored or a statement fails.
[[nodiscard]] Expected<TermRows> read_term_rows(Connection& connection, const std::string& code);

}  // namespace condpag
