#pragma once
// Before a payment term is deleted, the places of the host that may use it are searched in a
// fixed order; the first use found refuses the deletion with a message that says where to look.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/expected.h"
#include "rules/message_style.h"
#include "storage/connection.h"
#include "storage/recordset.h"

namespace condpag {

using Translate = std::function<std::string(const std::string&)>;

inline constexpr const char* kDeletionRefusedTitle = "Eliminazione impossibile";
inline constexpr int kDeletionRefusedStyle = kStyleOk + kStyleStop;

// The five usage statements for a code, in the order they run (rounding brackets, customers
// and suppliers, documents, open-item statements, portfolio).
std::vector<std::string> usage_statements(std::string_view code);

struct [[nodiscard]] UsageVerdict {
    bool refused = false;
    std::string message;  // why the deletion is refused; lines joined by CR LF
};

// Runs the checks in order and stops at the first use found. A check that cannot run refuses
// too, since a use cannot be ruled out.
UsageVerdict find_usage(Connection& connection, std::string_view code, const Translate& translate);

struct [[nodiscard]] DeletionOutcome {
    // refused: nothing was deleted and the message says why (a use found, the term changed by
    // another user since it was read, or a statement that failed, named with its cause).
    UsageVerdict verdict;
    std::vector<Error> cascade_errors;  // the DELETE that failed, when one did
};

// The deletion of one term runs in one transaction, so that either the whole term goes or
// nothing does. begin_term_deletion runs the guard, then opens the transaction, checks that the
// header row (when given) is still stored as it was read and deletes the shift periods,
// installments and language descriptions, in this order, stopping at the first failure. When it
// refuses, the transaction is already rolled back; otherwise it stays open for the header row,
// which the caller deletes on the same connection before end_term_deletion commits (header deleted)
// or rolls back.
DeletionOutcome begin_term_deletion(Connection& connection, const Recordset* header,
                                    std::string_view code, const Translate& translate);
Status end_term_deletion(Connection& connection, bool header_deleted);

// The guard and the details in one transaction, committed at once; the header row is left.
DeletionOutcome guard_and_delete_details(Connection& connection, std::string_view code,
                                         const Translate& translate);

}  // namespace condpag
