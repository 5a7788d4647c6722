#include "ui/pdf_listing.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

QString escaped(const std::string& text) { return qstr(text).toHtmlEscaped(); }

void append_table(QString& html, const ListingTable& table) {
    html += QStringLiteral("<h3>%1</h3>").arg(escaped(table.title));
    if (table.rows.empty()) {
        html += QStringLiteral("<p class='none'>(nessuno)</p>");
        return;
    }
    html += QStringLiteral("<table cellspacing='0' cellpadding='3' width='100%'><tr>");
    for (const std::string& caption : table.captions) {
        html += QStringLiteral("<th>%1</th>").arg(escaped(caption));
    }
    html += QStringLiteral("</tr>");
    bool odd = false;
    for (const auto& row : table.rows) {
        html += odd ? QStringLiteral("<tr class='odd'>") : QStringLiteral("<tr>");
        odd = !odd;
        for (const std::string& cell : row) {
            html += QStringLiteral("<td>%1</td>").arg(escaped(cell));
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
}

}  // namespace

QString listing_html(const Listing& listing) {
    QString html = QStringLiteral(
        "<html><head><style>"
        "body { font-family: sans-serif; font-size: 8pt; }"
        "h1 { font-size: 15pt; }"
        "h2 { font-size: 11pt; margin-top: 14px; background-color: #dde4ee; }"
        "h3 { font-size: 9pt; margin-top: 6px; margin-bottom: 2px; }"
        "th { background-color: #eeeeee; text-align: left; border-bottom: 1px solid #888888; }"
        "tr.odd td { background-color: #f7f7f7; }"
        "p.none { color: #777777; }"
        "td.caption { color: #555555; }"
        "</style></head><body>");
    html += QStringLiteral("<h1>%1</h1>").arg(escaped(listing.title));
    if (listing.terms.empty()) html += QStringLiteral("<p>Nessuna condizione di pagamento.</p>");
    for (const ListingTerm& term : listing.terms) {
        html += QStringLiteral("<h2>%1 &nbsp; %2</h2>")
                    .arg(escaped(term.code), escaped(term.description));
        // The header fields four to a line, so that a term's tables start near its title.
        html += QStringLiteral("<table cellspacing='0' cellpadding='1'><tr>");
        int placed = 0;
        for (const auto& [caption, value] : term.fields) {
            if (value.empty()) continue;
            if (placed > 0 && placed % 4 == 0) html += QStringLiteral("</tr><tr>");
            html += QStringLiteral("<td class='caption'>%1:</td><td>%2 &nbsp;&nbsp;</td>")
                        .arg(escaped(caption), escaped(value));
            ++placed;
        }
        html += QStringLiteral("</tr></table>");
        append_table(html, term.installments);
        append_table(html, term.periods);
        append_table(html, term.languages);
    }
    html += QStringLiteral("</body></html>");
    return html;
}

Expected<std::string> write_listing_pdf(const Listing& listing, const std::filesystem::path& file) {
    const QString path = QString::fromStdString(file.string());
    // An earlier listing left in place must not pass for this one.
    QFile::remove(path);
    {
        QPdfWriter writer(path);
        if (!writer.pageLayout().isValid()) {
            return Error{"Impossibile preparare la stampa in " + file.string(), kPrintProgId};
        }
        writer.setTitle(qstr(listing.title));
        writer.setCreator(QStringLiteral("Condizioni di pagamento"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        QTextDocument document;
        document.setHtml(listing_html(listing));
        document.print(&writer);
    }
    // The writer reports nothing when it cannot open its file: look at what it left.
    QFile written(path);
    if (!written.exists() || written.size() == 0) {
        return Error{"Impossibile scrivere la stampa in " + file.string(), kPrintProgId};
    }
    return file.string();
}

PrintWriter pdf_file_writer(std::filesystem::path folder) {
    return [folder](const Listing& listing) -> Expected<std::string> {
        return write_listing_pdf(listing, folder / kListingPdfName);
    };
}

void register_pdf_print_component(ComponentRegistry& registry, std::filesystem::path folder) {
    register_print_component(registry, pdf_file_writer(std::move(folder)));
}

}  // namespace condpag::ui
