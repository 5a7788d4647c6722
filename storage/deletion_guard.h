#pragma once
// Before a payment term is deleted, the places of the host that may use it are searched in a
// fixed order; the first use found refuses the deletion with a message that says where to look.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag {

using Translate = std::function<std::string(const std::string&)>;

inline constexpr const char* kDeletionRefusedTitle = "Eliminazione impossibile";
inline constexpr int kDeletionRefusedStyle = 16;  // stop icon, OK button

// The five usage statements for a code, in the order they run (rounding brackets, customers
// and suppliers, documents, open-item statements, portfolio).
std::vector<std::string> usage_statements(std::string_view code);

struct UsageVerdict {
    bool refused = false;
    std::string message;  // why the deletion is refused; lines joined by CR LF
};

// Runs the checks in order and stops at the first use found. A check that cannot run refuses
// too, since a use cannot be ruled out.
UsageVerdict find_usage(Connection& connection, std::string_view code, const Translate& translate);

struct DeletionOutcome {
    UsageVerdict verdict;
    std::vector<Error> cascade_errors;  // DELETE statements that failed (the others still ran)
};

// The guard, then, when nothing uses the code, the delete of its periods, installments and
// language descriptions. The header row itself is left to the caller.
DeletionOutcome guard_and_delete_details(Connection& connection, std::string_view code,
                                         const Translate& translate);

}  // namespace condpag
