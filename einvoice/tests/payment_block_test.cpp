// The payment block of the demo terms, read from each backend: the dates and cents of the
// due-date preview, the modes of the table, and a block the invoice schema accepts.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "einvoice/payment_block_xml.h"
#include "einvoice/term_rows.h"
#include "einvoice/tests/schema_check.h"
#include "rules/einvoice_payment.h"

namespace condpag {
namespace {

class PaymentBlockOnDemoTerms : public testing::BackendTest {};

struct Detail {
    std::string mode, due, amount;
};

struct Case {
    std::string code;
    std::optional<PaymentMode> mode;  // given by the caller
    std::string condition;            // empty when refused
    std::vector<Detail> details;
};

// Invoice of 15/07/2027, taxable 1.000,01, VAT 220,00: 1.220,01 does not split in equal cents.
const std::vector<Case> kCases = {
    // clang-format off
    {"BB30", {}, "TP02", {{"MP05", "2027-08-15", "1220.01"}}},
    // Thirds of an odd number of cents; 31/08 falls in August's shift period, so 01/09.
    {"RB369", {}, "TP01", {{"MP12", "2027-09-01", "406.67"}, {"MP12", "2027-09-30", "406.67"},
                           {"MP12", "2027-10-31", "406.67"}}},
    // VAT at sight by the mode the caller gives, the taxable by Ri.Ba. 60 days month end.
    {"IVARB", PaymentMode::MP05, "TP03", {{"MP05", "2027-07-15", "220.00"},
                                          {"MP12", "2027-09-30", "1000.01"}}},
    {"RB60GF", {}, "TP02", {{"MP12", "2027-10-10", "1220.01"}}},
    // The advance's subtype is "Assegno bancario": its own mode wins over the payment type.
    {"ACC30", {}, "TP03", {{"MP02", "2027-07-15", "366.00"}, {"MP05", "2027-08-15", "854.01"}}},
    {"CTR", {}, "TP02", {{"MP01", "2027-07-15", "1220.01"}}},
    {"RD", PaymentMode::MP08, "TP02", {{"MP08", "2027-07-15", "1220.01"}}},
    {"RD", {}, "", {}},
    {"IVARB", {}, "", {}},
    // clang-format on
};

// What an invoice carries, character by character, with the days counted from the invoice date.
const std::string kAcc30Block =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<p:DatiPagamento xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">\n"
    "  <CondizioniPagamento>TP03</CondizioniPagamento>\n"
    "  <DettaglioPagamento>\n"
    "    <ModalitaPagamento>MP02</ModalitaPagamento>\n"
    "    <DataRiferimentoTerminiPagamento>2027-07-15</DataRiferimentoTerminiPagamento>\n"
    "    <GiorniTerminiPagamento>0</GiorniTerminiPagamento>\n"
    "    <DataScadenzaPagamento>2027-07-15</DataScadenzaPagamento>\n"
    "    <ImportoPagamento>366.00</ImportoPagamento>\n"
    "  </DettaglioPagamento>\n"
    "  <DettaglioPagamento>\n"
    "    <ModalitaPagamento>MP05</ModalitaPagamento>\n"
    "    <DataRiferimentoTerminiPagamento>2027-07-15</DataRiferimentoTerminiPagamento>\n"
    "    <GiorniTerminiPagamento>30</GiorniTerminiPagamento>\n"
    "    <DataScadenzaPagamento>2027-08-15</DataScadenzaPagamento>\n"
    "    <ImportoPagamento>854.01</ImportoPagamento>\n"
    "  </DettaglioPagamento>\n"
    "</p:DatiPagamento>\n";

TEST_P(PaymentBlockOnDemoTerms, FollowsThePreviewAndPassesTheInvoiceSchema) {
    CONDPAG_NEED_PAYMENT_SCHEMA();
    ExampleInvoice invoice;
    invoice.invoice_date = std::chrono::year{2027} / 7 / 15;
    invoice.taxable = 100001;
    invoice.vat = 22000;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        auto term = read_term_rows(connection, c.code);
        ASSERT_TRUE(term) << term.error().message;
        const auto result =
            payment_data(term->installments, term->shift_periods, term->subtypes, invoice, c.mode);
        if (c.condition.empty()) {
            const auto* error = std::get_if<PaymentDataError>(&result);
            ASSERT_NE(error, nullptr);
            EXPECT_EQ(error->problem, PaymentDataProblem::NoMode);
            EXPECT_EQ(describe(*error).rfind("Rata 1 (Rimessa diretta): ", 0), 0u)
                << describe(*error);
            continue;
        }
        const auto* data = std::get_if<PaymentData>(&result);
        ASSERT_NE(data, nullptr) << describe(std::get<PaymentDataError>(result));
        EXPECT_EQ(condition_code(data->condition), c.condition);
        ASSERT_EQ(data->details.size(), c.details.size());
        const DueDatePreview preview =
            due_date_preview(term->installments, term->shift_periods, term->subtypes, invoice);
        Cents sum = 0;
        for (std::size_t i = 0; i < c.details.size(); ++i) {
            const PaymentDetail& got = data->details[i];
            EXPECT_EQ(mode_code(got.mode), c.details[i].mode) << i;
            EXPECT_EQ(iso_date(got.due), c.details[i].due) << i;
            EXPECT_EQ(decimal_amount(got.amount), c.details[i].amount) << i;
            const PreviewRow& row = preview.rows.at(std::size_t(got.installment - 1));
            EXPECT_EQ(iso_date(row.due), iso_date(got.due)) << i;
            EXPECT_EQ(row.total, got.amount) << i;
            sum += got.amount;
        }
        EXPECT_EQ(sum, invoice.taxable + invoice.vat);

        const auto xml = payment_block_xml(*data);
        ASSERT_TRUE(xml) << xml.error().message;
        const auto verdict = testing::validate_payment_block(*xml);
        EXPECT_TRUE(verdict.valid) << verdict.output << *xml;
        if (c.code == "ACC30") {
            EXPECT_EQ(*xml, kAcc30Block);
        } else if (c.code == "RB60GF") {  // a fixed day decides: no days counted
            EXPECT_EQ(xml->find("GiorniTerminiPagamento"), std::string::npos) << *xml;
        }
    }
    auto unknown = read_term_rows(connection, "NOPE");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().message, "Condizione di pagamento NOPE inesistente");
}

// The schema check must be able to fail, or the test above proves nothing.
TEST_P(PaymentBlockOnDemoTerms, TheSchemaRefusesAnUnknownModeAndAMissingAmount) {
    CONDPAG_NEED_PAYMENT_SCHEMA();
    auto term = read_term_rows(connection, "BB30");
    ASSERT_TRUE(term) << term.error().message;
    ExampleInvoice invoice;
    invoice.invoice_date = std::chrono::year{2027} / 1 / 15;
    invoice.taxable = 100000;
    const auto result =
        payment_data(term->installments, term->shift_periods, term->subtypes, invoice, {});
    const auto xml = payment_block_xml(std::get<PaymentData>(result));
    ASSERT_TRUE(xml);
    ASSERT_TRUE(testing::validate_payment_block(*xml).valid);

    auto broken = [&](const std::string& from, const std::string& to) {
        std::string text = *xml;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    };
    const auto unknown_mode = testing::validate_payment_block(broken("MP05", "MP99"));
    EXPECT_FALSE(unknown_mode.valid);
    EXPECT_NE(unknown_mode.output.find("MP99"), std::string::npos) << unknown_mode.output;
    const auto no_amount =
        testing::validate_payment_block(broken("<ImportoPagamento>1000.00</ImportoPagamento>", ""));
    EXPECT_FALSE(no_amount.valid);
    EXPECT_NE(no_amount.output.find("ImportoPagamento"), std::string::npos) << no_amount.output;
}

CONDPAG_ON_ALL_BACKENDS(PaymentBlockOnDemoTerms);

}  // namespace
}  // namespace condpag
