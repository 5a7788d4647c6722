#include "component/print_listing.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "rules/records.h"
#include "rules/term_display.h"
#include "storage/recordset.h"

namespace condpag {

namespace {

using Rows = std::map<std::string, std::vector<Record>>;

// Rows of a detail table grouped by the code of their term.
Expected<Rows> read_details(Connection& connection, const std::string& sql,
                            std::string_view code_column) {
    Expected<std::vector<Record>> rows = read_records(connection, sql);
    if (!rows) return rows.error();
    Rows grouped;
    for (Record& row : *rows) {
        std::string code = RTrimN(field(row, code_column));
        grouped[code].push_back(std::move(row));
    }
    return grouped;
}

std::string text(const Record& row, std::string_view column) { return RTrimN(field(row, column)); }

std::string flag(const Record& row, std::string_view column) {
    return CDecN(field(row, column)) == 1 ? "Sì" : "No";
}

ListingTable installments_table(const std::vector<Record>& rows) {
    ListingTable table{
        "Rate",
        {"Rata", "T.eff.", "S.Tipo", "Tipo decorrenza", "GG dec.", "Riferimento dec.", "Quota Imp.",
         "Quota IVA", "Gestione Importo fisso", "Importo fisso", "GG/MM fisso"},
        {}};
    for (const Record& row : rows) {
        InstallmentCells cells = installment_cells(row);
        table.rows.push_back({
            std::move(cells.number),
            std::move(cells.type),
            std::move(cells.subtype),
            std::move(cells.start_rule),
            std::move(cells.days),
            std::move(cells.reference),
            std::move(cells.taxable_share),
            std::move(cells.vat_share),
            std::move(cells.fixed_handling),
            std::move(cells.fixed_amount),
            std::move(cells.fixed_day_month),
        });
    }
    return table;
}

ListingTable periods_table(const std::vector<Record>& rows) {
    ListingTable table{"Periodi di slittamento",
                       {"Limite inf.", "Limite sup.", "Tipo slitt.", "Data fissa", "GG succ."},
                       {}};
    for (const Record& row : rows) {
        PeriodCells cells = period_cells(row);
        table.rows.push_back({std::move(cells.lower), std::move(cells.upper), std::move(cells.type),
                              std::move(cells.fixed_date), std::move(cells.days)});
    }
    return table;
}

ListingTable languages_table(const std::vector<Record>& rows) {
    ListingTable table{"Descrizioni in lingua",
                       {"Codice lingua", "Descrizione lingua", "Descrizione analitica"},
                       {}};
    for (const Record& row : rows) {
        table.rows.push_back({text(row, db::CG6B_LINGUA_MG52), text(row, db::CG6B_DESCR),
                              text(row, db::CG6B_DESCRANAL)});
    }
    return table;
}

const std::vector<Record>& rows_of(const Rows& rows, const std::string& code) {
    static const std::vector<Record> kNone;
    auto found = rows.find(code);
    return found == rows.end() ? kNone : found->second;
}

// Display width in characters: UTF-8 continuation bytes take no column.
size_t width(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void append_padded(std::string& out, const std::string& text, size_t columns) {
    out += text;
    out.append(columns - std::min(columns, width(text)), ' ');
}

void append_table(std::string& out, const ListingTable& table) {
    out += "  " + table.title + "\n";
    if (table.rows.empty()) {
        out += "    (nessuno)\n";
        return;
    }
    std::vector<size_t> widths;
    for (const std::string& caption : table.captions) widths.push_back(width(caption));
    // Every row is built above with one cell per caption: the two bounds are the same bound.
    for (const auto& row : table.rows) {
        for (size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], width(row[i]));
        }
    }
    auto append_line = [&](const std::vector<std::string>& cells) {
        std::string line = "    ";
        for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
            append_padded(line, cells[i], widths[i] + 2);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    };
    append_line(table.captions);
    for (const auto& row : table.rows) append_line(row);
}

}  // namespace

Expected<Listing> build_listing(Connection& connection, const std::string& only_code) {
    Expected<std::vector<Record>> headers =
        read_records(connection, "SELECT * FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG");
    if (!headers) return headers.error();
    Expected<Rows> installments = read_details(
        connection, "SELECT * FROM CG63_CONDPAGDET ORDER BY CG63_CODPAG_CG62, CG63_PROG",
        db::CG63_CODPAG_CG62);
    if (!installments) return installments.error();
    Expected<Rows> periods = read_details(
        connection, "SELECT * FROM CG65_PAGSLITANAL ORDER BY CG65_CODPAG_CG62, CG65_DAMMGG",
        db::CG65_CODPAG_CG62);
    if (!periods) return periods.error();
    Expected<Rows> languages = read_details(
        connection, "SELECT * FROM CG6B_CONDPAGLING ORDER BY CG6B_CODICE_CG62, CG6B_LINGUA_MG52",
        db::CG6B_CODICE_CG62);
    if (!languages) return languages.error();

    Listing listing;
    for (const Record& header : *headers) {
        ListingTerm term;
        term.code = text(header, db::CG62_CODPAG);
        if (!only_code.empty() && term.code != only_code) continue;
        term.description = text(header, db::CG62_DESCPAG);
        term.fields = {
            {"Descriz. automatica", flag(header, db::CG62_FLGDESC)},
            {"Descrizione analitica", text(header, db::CG62_DESPAGANAL)},
            {"Sconto merce 1", decimal_text(field(header, db::CG62_SCPERMER1))},
            {"Sconto merce 2", decimal_text(field(header, db::CG62_SCPERMER2))},
            {"Sc. cassa", decimal_text(field(header, db::CG62_SCPERCAS))},
            {"Sconto Art.26 %", decimal_text(field(header, db::CG62_SCPERCART26))},
            {"Sconto Art.26 importo", amount_text(field(header, db::CG62_SCART26))},
            {"Flag storno IVA", flag(header, db::CG62_FLGSTORNOIVA)},
        };
        term.installments = installments_table(rows_of(*installments, term.code));
        term.periods = periods_table(rows_of(*periods, term.code));
        term.languages = languages_table(rows_of(*languages, term.code));
        listing.terms.push_back(std::move(term));
    }
    return listing;
}

std::string listing_text(const Listing& listing) {
    std::string out = listing.title + "\n";
    for (const ListingTerm& term : listing.terms) {
        out += "\n" + term.code + "  " + term.description + "\n";
        for (const auto& [caption, value] : term.fields) {
            if (!value.empty()) out += "  " + caption + ": " + value + "\n";
        }
        append_table(out, term.installments);
        append_table(out, term.periods);
        append_table(out, term.languages);
    }
    return out;
}

PrintWriter text_file_writer(std::filesystem::path folder) {
    return [folder](const Listing& listing) -> Expected<std::string> {
        std::filesystem::path path = folder / "condizioni_pagamento.txt";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << listing_text(listing);
        file.close();
        if (!file) return Error{"Impossibile scrivere la stampa in " + path.string(), ""};
        return path.string();
    };
}

namespace {

// The code of the term shown in the host's active window, "" when none is shown.
std::string shown_code(ClsGlobal& global) {
    Form* window = global.Application();
    auto* code = window != nullptr ? window->find_as<EditBox>("TXT_CODICE") : nullptr;
    return code != nullptr ? RTrimN(code->text()) : std::string();
}

}  // namespace

ProgramRunner print_component(PrintWriter writer, PrintOpener opener) {
    return [writer, opener](Cinterface* host, const std::vector<Value>&) -> Status {
        ClsGlobal* global = host != nullptr ? host->ClsGlobal() : nullptr;
        if (global == nullptr) return Error{"Nessun servizio globale per la stampa", kPrintProgId};
        MessageService* messages = global->MessageObject();
        std::string only_code;
        if (std::string shown = shown_code(*global); !shown.empty() && messages != nullptr) {
            Answer answer = messages->ShowMessage(
                "Stampare tutte le condizioni di pagamento?\n\nSì: tutte.\nNo: solo la "
                "condizione " +
                    shown + ".",
                kStyleYesNoCancel | kStyleQuestion, "Stampa");
            if (answer == Answer::Cancel) return success();  // nothing asked for, nothing written
            if (answer == Answer::No) only_code = shown;
        }
        Connection connection = global->NewConnection();
        connection.ConnectionString = global->ConnectionString();
        if (Status opened = connection.Open(); !opened) return opened.error();
        Expected<Listing> listing = build_listing(connection, only_code);
        connection.Close();
        if (!listing) return listing.error();
        Expected<std::string> where = writer(*listing);
        if (!where) return where.error();
        if (messages == nullptr) return success();
        const std::string saved = "Stampa delle condizioni di pagamento salvata in:\n" + *where;
        if (!opener) {
            messages->ShowMessage(saved, kStyleInformation, "Informazione");
        } else if (messages->ShowMessage(saved + "\n\nAprirla ora?", kStyleYesNo | kStyleQuestion,
                                         "Informazione") == Answer::Yes &&
                   !opener(*where)) {
            messages->ShowMessage(
                "Impossibile aprire la stampa " + *where + ": nessun programma per visualizzarla.",
                kStyleExclamation, "Attenzione");
        }
        return success();
    };
}

void register_print_component(ComponentRegistry& registry, PrintWriter writer, PrintOpener opener) {
    registry.RegisterProgram(kPrintProgId, print_component(std::move(writer), std::move(opener)));
}

}  // namespace condpag
