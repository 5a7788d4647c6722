// The payment block of the demo terms, read from each backend: the modes, dates and cents of
// each installment, and a block the invoice schema accepts.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "einvoice/payment_block_xml.h"
#include "einvoice/term_rows.h"
#include "einvoice/tests/schema_check.h"
#include "rules/tests/rows.h"

namespace condpag {
namespace {

class PaymentBlockOnDemoTerms : public testing::BackendTest {};

// Invoice of 15/07/2027, taxable 1.000,01, VAT 220,00: 1.220,01 does not split in equal cents.
// Each term with the block as outcome() writes it, or the refusal.
const std::pair<std::string, std::string> kCases[] = {
    // Thirds of an odd number of cents; 31/08 falls in August's shift period, so 01/09.
    {"RB369", "TP01 1:MP12@2027-09-01=406.67 2:MP12@2027-09-30=406.67 3:MP12@2027-10-31=406.67"},
    {"RB60GF", "TP02 1:MP12@2027-10-10=1220.01"},
    // The advance's subtype is "Assegno bancario": its own mode wins over the payment type.
    {"ACC30", "TP03 1:MP02@2027-07-15=366.00 2:MP05@2027-08-15=854.01"},
    {"RD",
     "Rata 1 (Rimessa diretta): il tipo di pagamento non indica la modalità di pagamento "
     "della fattura elettronica; indicarne una"},
};

TEST_P(PaymentBlockOnDemoTerms, PassesTheInvoiceSchemaWhichRefusesABrokenBlock) {
    CONDPAG_NEED_PAYMENT_SCHEMA();
    const ExampleInvoice invoice = fattura(std::chrono::year{2027} / 7 / 15, 100001);
    std::string acc30;
    for (const auto& [code, expected] : kCases) {
        SCOPED_TRACE(code);
        auto term = read_term_rows(connection, code);
        ASSERT_TRUE(term) << term.error().message;
        const auto result =
            payment_data(term->installments, term->shift_periods, term->subtypes, invoice, {});
        EXPECT_EQ(outcome(result), expected);
        const auto* data = std::get_if<PaymentData>(&result);
        if (data == nullptr) continue;
        const auto xml = payment_block_xml(*data);
        ASSERT_TRUE(xml) << xml.error().message;
        const auto verdict = testing::validate_payment_block(*xml);
        EXPECT_TRUE(verdict.valid) << verdict.output << *xml;
        if (code == "ACC30") acc30 = *xml;
        if (code == "RB60GF") {  // a fixed day decides: no days counted
            EXPECT_EQ(xml->find("GiorniTerminiPagamento"), std::string::npos) << *xml;
        }
    }
    // A declared document, and every element of a detail in its place: the schema leaves the
    // terms and the due date optional.
    EXPECT_TRUE(acc30.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p:DatiPagamento"))
        << acc30;
    EXPECT_TRUE(
        acc30.ends_with("  <DettaglioPagamento>\n"
                        "    <ModalitaPagamento>MP05</ModalitaPagamento>\n"
                        "    <DataRiferimentoTerminiPagamento>2027-07-15"
                        "</DataRiferimentoTerminiPagamento>\n"
                        "    <GiorniTerminiPagamento>30</GiorniTerminiPagamento>\n"
                        "    <DataScadenzaPagamento>2027-08-15</DataScadenzaPagamento>\n"
                        "    <ImportoPagamento>854.01</ImportoPagamento>\n"
                        "  </DettaglioPagamento>\n"
                        "</p:DatiPagamento>\n"))
        << acc30;
    // The schema check must be able to fail, or the checks above prove nothing.
    for (const auto& [from, to, named] :
         {std::tuple{"MP05", "MP99", "MP99"},
          {"<ImportoPagamento>854.01</ImportoPagamento>", "", "ImportoPagamento"}}) {
        std::string broken = acc30;
        const std::size_t at = broken.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        const auto verdict =
            testing::validate_payment_block(broken.replace(at, std::strlen(from), to));
        EXPECT_FALSE(verdict.valid) << broken;
        EXPECT_NE(verdict.output.find(named), std::string::npos) << verdict.output;
    }
    auto unknown = read_term_rows(connection, "NOPE");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().message, "Condizione di pagamento NOPE inesistente");
}

CONDPAG_ON_ALL_BACKENDS(PaymentBlockOnDemoTerms);

}  // namespace
}  // namespace condpag
