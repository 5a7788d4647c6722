#pragma once
// The statements the payment-terms editor sends, and the two helpers through which every code
// enters a statement text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/expected.h"
#include "storage/connection.h"
#include "storage/recordset.h"

namespace condpag {

// A code placed between single quotes: its quotes doubled, so it can neither end the literal
// nor widen what the statement selects or deletes.
std::string quote_doubled(std::string_view code);
// A code written without quotes (country codes): digits only, blanks around it ignored.
Expected<std::string> digits_only(std::string_view code);

inline constexpr const char* kHeaderStatement = "SELECT * FROM CG62_CONDPAGDES";
inline constexpr const char* kInstallmentsEmpty = "SELECT * FROM CG63_CONDPAGDET WHERE 1=0";
inline constexpr const char* kPeriodsEmpty = "SELECT * FROM CG65_PAGSLITANAL WHERE 1=0";
inline constexpr const char* kLanguagesEmpty = "SELECT * FROM CG6B_CONDPAGLING WHERE 1=0";

// Each takes the code as typed; it is right-trimmed before it enters the statement.
std::string load_installments_statement(std::string_view code);
std::string load_periods_statement(std::string_view code);
std::string load_languages_statement(std::string_view code);
std::string count_installments_statement(std::string_view code);
std::string delete_periods_statement(std::string_view code);
std::string delete_installments_statement(std::string_view code);
std::string delete_languages_statement(std::string_view code);

// Number of installments stored for a code.
Expected<std::int16_t> ContaRate(Connection& connection, std::string_view code);

// Deletes the shift periods, installments and language descriptions of a code, in this order.
// A failing statement does not stop the next; the errors of those that failed are answered.
std::vector<Error> delete_term_details(Connection& connection, std::string_view code);

// Writes a media code into the current header row and saves that row at once.
Expected<BatchReport> link_media(Recordset& header, const Value& media_code);

}  // namespace condpag
