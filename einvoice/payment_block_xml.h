#pragma once
// The DatiPagamento block of an electronic invoice as XML text: the element in the invoice
// namespace, its children unqualified as inside an invoice, UTF-8, indented by two blanks.

#include <string>

#include "rules/einvoice_payment.h"
#include "rules/expected.h"

namespace condpag {

inline constexpr const char* kInvoiceNamespace =
    "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2";

[[nodiscard]] Expected<std::string> payment_block_xml(const PaymentData& data);

}  // namespace condpag
