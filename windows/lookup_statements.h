#pragma once
// The statements of the secondary windows: the subtypes of a payment type, and the lookups of
// subtypes, countries and foreign payment codes. Country, payment-type and subtype codes are
// numbers written without quotes, so a code that is not all digits makes no statement (the
// error says why); foreign payment codes go between quotes with their quotes doubled.

#include <string>
#include <string_view>

#include "rules/expected.h"

namespace condpag {

// The subtypes of one payment type, in code order (the subtypes window's record set).
std::string subtypes_statement(double payment_type);

// Description of a country by its number (decode of the country box and the grid's country).
Expected<std::string> country_name_statement(std::string_view country);
// Every country, for the country box's list.
std::string country_list_statement();

// Description of a foreign payment code offered for a country: same ISO code as the country, or
// without an ISO code and of the country's area (SEPA or not; areas other than 0 and 1 serve
// every country). The country is taken as a number, so anything else counts as country 0.
std::string export_payment_decode_statement(std::string_view country, std::string_view code);
// The foreign payment codes offered for a country, in code order.
std::string export_payment_list_statement(std::string_view country);
// Description of a foreign payment code, whatever the country (the grid's column).
std::string export_payment_name_statement(std::string_view code);

// Description of a subtype of a payment type (decode of a subtype box).
Expected<std::string> subtype_name_statement(std::string_view payment_type,
                                             std::string_view subtype);
// The subtypes of a payment type with their descriptions, for the generation window's list.
Expected<std::string> subtype_list_statement(std::string_view payment_type);

}  // namespace condpag
