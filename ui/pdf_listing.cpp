#include "ui/pdf_listing.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

QString escaped(const std::string& text) { return qstr(text).toHtmlEscaped(); }

// The headings of the listing, numbered in the order they are written; a heading given a push
// is moved down by that many pixels, onto the next page.
using Pushes = std::map<int, int>;
struct Headings {
    const Pushes& pushes;
    int count = 0;
    QString operator()(const char* tag, const QString& text) {
        auto push = pushes.find(count++);
        return QStringLiteral("<%1%2>%3</%1>")
            .arg(QLatin1String(tag),
                 push == pushes.end()
                     ? QString()
                     : QStringLiteral(" style='margin-top: %1px'").arg(push->second),
                 text);
    }
};

void append_table(QString& html, const ListingTable& table, Headings& heading) {
    html += heading("h3", escaped(table.title));
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

QString build_html(const Listing& listing, const Pushes& pushes) {
    Headings heading{pushes};
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
    html += heading("h1", escaped(listing.title));
    if (listing.terms.empty()) html += QStringLiteral("<p>Nessuna condizione di pagamento.</p>");
    for (const ListingTerm& term : listing.terms) {
        html += heading(
            "h2", escaped(term.code) + QStringLiteral(" &nbsp; ") + escaped(term.description));
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
        append_table(html, term.installments, heading);
        append_table(html, term.periods, heading);
        append_table(html, term.languages, heading);
    }
    html += QStringLiteral("</body></html>");
    return html;
}

}  // namespace

QString listing_html(const Listing& listing) { return build_html(listing, Pushes{}); }

std::unique_ptr<QTextDocument> listing_document(const Listing& listing, QPagedPaintDevice& device) {
    // Laid out as printing lays a document out on the device: its pages, a margin of 2 cm.
    const QSizeF page(device.width(), device.height());
    // In pixels of a 96 dpi screen, which the layout scales to the device.
    const int margin = static_cast<int>((2 / 2.54) * 96);
    const double per_pixel = device.logicalDpiY() / 96.0;
    auto make = [&](const Pushes& pushes) {
        auto made = std::make_unique<QTextDocument>();
        made->documentLayout()->setPaintDevice(&device);
        made->setHtml(build_html(listing, pushes));
        QTextFrameFormat frame = made->rootFrame()->frameFormat();
        frame.setMargin(margin);
        made->rootFrame()->setFrameFormat(frame);
        made->setPageSize(page);
        (void)made->documentLayout()->documentSize();  // laid out whole before it is asked
        return made;
    };
    auto document = make(Pushes{});
    const double height = page.height();
    // What must follow a heading on its page: the first block of what it titles (a table's
    // caption row), and room for the first rows under it.
    const double more = 4 * QFontMetricsF(document->defaultFont(), &device).lineSpacing();
    Pushes pushes;
    // Each push moves what follows it: lay the listing out again and look further on.
    for (std::size_t pass = 0; pass < 500; ++pass) {
        if (pass > 0) document = make(pushes);
        QAbstractTextDocumentLayout* layout = document->documentLayout();
        int index = 0;
        bool pushed = false;
        for (QTextBlock block = document->begin(); block.isValid() && !pushed;
             block = block.next()) {
            if (block.blockFormat().headingLevel() == 0) continue;
            const int number = index++;
            if (pushes.count(number) != 0) continue;
            const QRectF heading = layout->blockBoundingRect(block);
            double end = heading.bottom() + more;
            if (QTextBlock next = block.next(); next.isValid()) {
                end = std::max(end, layout->blockBoundingRect(next).bottom() + more);
            }
            const double page_top = std::floor(heading.top() / height) * height;
            const double page_end = page_top + height - margin * per_pixel;
            if (end > page_end && heading.top() > page_top + margin * per_pixel + more) {
                pushes[number] =
                    static_cast<int>(std::ceil((page_end - heading.top()) / per_pixel));
                pushed = true;
            }
        }
        if (!pushed) break;
    }
    // Printed as a document without pages, which printing lays out again as above: a document
    // printed with its own pages leaves the headings of its later pages unpainted.
    auto printed = std::make_unique<QTextDocument>();
    printed->setHtml(build_html(listing, pushes));
    return printed;
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
        listing_document(listing, writer)->print(&writer);
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

void register_pdf_print_component(ComponentRegistry& registry, std::filesystem::path folder,
                                  PrintOpener opener) {
    register_print_component(registry, pdf_file_writer(std::move(folder)), std::move(opener));
}

}  // namespace condpag::ui
