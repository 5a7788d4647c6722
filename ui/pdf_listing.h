#pragma once
// The host's print component on screen: the listing of the payment terms laid out as a document
// (title, each term's header fields, its installments, shift periods and language descriptions)
// and written as a PDF file with Qt's PDF writer. Needs a running QGuiApplication (fonts).

#include <QString>
#include <filesystem>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

#include "component/print_listing.h"
#include "component/registry.h"
#include "rules/expected.h"

namespace condpag::ui {

// The file name the print component writes into its folder.
inline constexpr const char* kListingPdfName = "condizioni_pagamento.pdf";

// The listing as HTML for a QTextDocument.
QString listing_html(const Listing& listing);

// The listing to print on `device`: a heading that would stand at the foot of a page, without
// the first lines of what it titles, is moved onto the next page.
std::unique_ptr<QTextDocument> listing_document(const Listing& listing, QPagedPaintDevice& device);

// Writes the listing as a landscape A4 PDF at `file`; answers the path written.
Expected<std::string> write_listing_pdf(const Listing& listing, const std::filesystem::path& file);

// A writer for the print component: the PDF goes into `folder`.
PrintWriter pdf_file_writer(std::filesystem::path folder);

// Registers the print component ("TREVANIX.CLSTREVANIX") with the PDF writer; a later
// registration under the same identifier replaces an earlier one. With an opener the user is
// offered to open the PDF once told where it is.
void register_pdf_print_component(ComponentRegistry& registry, std::filesystem::path folder,
                                  PrintOpener opener = {});

}  // namespace condpag::ui
