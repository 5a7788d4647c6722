#pragma once
// The stored rows of one payment term that the due-date preview and the invoice's payment block
// are computed from.

#include <optional>
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

// The one loader of a stored term's rows, for the preview and the invoice's payment block:
// the rows of `code` (right-trimmed), nullopt when no term has that code, an error with an
// Italian message when a statement fails.
[[nodiscard]] Expected<std::optional<TermRows>> find_term_rows(Connection& connection,
                                                               const std::string& code);

// As find_term_rows, with a term that is not stored as an error ("... inesistente").
[[nodiscard]] Expected<TermRows> read_term_rows(Connection& connection, const std::string& code);

// The subtypes table as the preview reads it: type, code, offset days and invoice mode.
[[nodiscard]] Expected<std::vector<Record>> read_subtypes(Connection& connection);

}  // namespace condpag
