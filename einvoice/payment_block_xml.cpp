#include "einvoice/payment_block_xml.h"

#include <libxml/xmlwriter.h>

#include <memory>

namespace condpag {
namespace {

const xmlChar* xml(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

struct BufferFree {
    void operator()(xmlBufferPtr buffer) const { xmlBufferFree(buffer); }
};
struct WriterFree {
    void operator()(xmlTextWriterPtr writer) const { xmlFreeTextWriter(writer); }
};

// Each call of libxml2 answers a negative number when it fails; the first failure is kept.
class Writer {
  public:
    explicit Writer(xmlTextWriterPtr writer) : writer_(writer) {}
    bool ok() const { return ok_; }
    void check(int result) { ok_ = ok_ && result >= 0; }
    void element(const char* name, const std::string& text) {
        if (ok_) check(xmlTextWriterWriteElement(writer_, xml(name), xml(text.c_str())));
    }
    xmlTextWriterPtr get() const { return writer_; }

  private:
    xmlTextWriterPtr writer_;
    bool ok_ = true;
};

}  // namespace

Expected<std::string> payment_block_xml(const PaymentData& data) {
    const Error failed{"Impossibile scrivere il blocco XML dei dati di pagamento", {}};
    std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
    if (!buffer) return failed;
    // The writer takes no ownership of the buffer; it must go first.
    std::unique_ptr<xmlTextWriter, WriterFree> handle(xmlNewTextWriterMemory(buffer.get(), 0));
    if (!handle) return failed;
    Writer writer(handle.get());
    writer.check(xmlTextWriterSetIndent(writer.get(), 1));
    writer.check(xmlTextWriterSetIndentString(writer.get(), xml("  ")));
    writer.check(xmlTextWriterStartDocument(writer.get(), nullptr, "UTF-8", nullptr));
    writer.check(xmlTextWriterStartElementNS(writer.get(), xml("p"), xml("DatiPagamento"),
                                             xml(kInvoiceNamespace)));
    writer.element("CondizioniPagamento", std::string(condition_code(data.condition)));
    for (const PaymentDetail& detail : data.details) {
        writer.check(xmlTextWriterStartElement(writer.get(), xml("DettaglioPagamento")));
        writer.element("ModalitaPagamento", mode_code(detail.mode));
        if (detail.terms) {
            writer.element("DataRiferimentoTerminiPagamento", iso_date(detail.terms->from));
            writer.element("GiorniTerminiPagamento", std::to_string(detail.terms->days));
        }
        writer.element("DataScadenzaPagamento", iso_date(detail.due));
        writer.element("ImportoPagamento", decimal_amount(detail.amount));
        writer.check(xmlTextWriterEndElement(writer.get()));
    }
    writer.check(xmlTextWriterEndDocument(writer.get()));  // closes the open elements
    handle.reset();                                        // flushes into the buffer
    if (!writer.ok()) return failed;
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       std::size_t(xmlBufferLength(buffer.get())));
}

Expected<std::string> payment_block_text(const std::vector<Record>& installments,
                                         const std::vector<Record>& shift_periods,
                                         const std::vector<Record>& subtypes,
                                         const ExampleInvoice& invoice) {
    const PaymentDataResult result =
        payment_data(installments, shift_periods, subtypes, invoice, std::nullopt);
    if (const auto* error = std::get_if<PaymentDataError>(&result)) {
        return Error{describe(*error), {}};
    }
    return payment_block_xml(std::get<PaymentData>(result));
}

}  // namespace condpag
