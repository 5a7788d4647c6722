#pragma once
// The listing of the payment terms that the default print component produces: for each term its
// header, its installments with decoded labels and GG/MM values, its shift periods and its
// language descriptions. Built here as plain tables; a writer renders them (text here, PDF in
// the Qt view) and answers where it put the result.

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "component/registry.h"
#include "rules/expected.h"
#include "storage/connection.h"

namespace condpag {

inline constexpr const char* kPrintProgId = "TREVANIX.CLSTREVANIX";

struct ListingTable {
    std::string title;
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> rows;
};

struct ListingTerm {
    std::string code;
    std::string description;
    // Caption and value of each header field, in window order.
    std::vector<std::pair<std::string, std::string>> fields;
    ListingTable installments;
    ListingTable periods;
    ListingTable languages;
};

struct Listing {
    std::string title = "Condizioni di pagamento";
    std::vector<ListingTerm> terms;
};

// Every payment term stored, by code; with `only_code`, that term alone.
Expected<Listing> build_listing(Connection& connection, const std::string& only_code = "");

// The listing as plain text, tables in aligned columns.
std::string listing_text(const Listing& listing);

// Renders a listing; answers where the result is.
using PrintWriter = std::function<Expected<std::string>(const Listing& listing)>;

// Writes the text listing into a file of that folder.
PrintWriter text_file_writer(std::filesystem::path folder);

// Shows a written listing to the user (the desktop's viewer); answers whether it could.
using PrintOpener = std::function<bool(const std::string& where)>;

// The print component: opens a connection of its own through the global services of the
// interface it runs under, asks whether to list every term or only the one shown in the active
// window, builds the listing, has the writer render it and tells the user where it is. With an
// opener it then offers to open it.
ProgramRunner print_component(PrintWriter writer, PrintOpener opener = {});

// Registers the print component under its identifier.
void register_print_component(ComponentRegistry& registry, PrintWriter writer,
                              PrintOpener opener = {});

}  // namespace condpag
