#pragma once
// The DatiPagamento block of an electronic invoice as XML text: the element in the invoice
// namespace, its children unqualified as inside an invoice, UTF-8, indented by two blanks.

#include <string>
#include <vector>

#include "rules/einvoice_payment.h"
#include "rules/expected.h"

namespace condpag {

inline constexpr const char* kInvoiceNamespace =
    "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2";

[[nodiscard]] Expected<std::string> payment_block_xml(const PaymentData& data);

// The block of a term's rows for an invoice, or the Italian message that says why there is none.
[[nodiscard]] Expected<std::string> payment_block_text(const std::vector<Record>& installments,
                                                       const std::vector<Record>& shift_periods,
                                                       const std::vector<Record>& subtypes,
                                                       const ExampleInvoice& invoice);

}  // namespace condpag
