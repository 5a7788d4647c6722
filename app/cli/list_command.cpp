// condpag list: every payment term of the database with its installments, shift periods and
// language descriptions, codes decoded to their labels and days shown GG/MM.

#include <iostream>
#include <string>
#include <vector>

#include "app/cli/commands.h"
#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statements.h"

namespace condpag::cli {
namespace {

constexpr const char* kUsage = "usage: condpag list [--db PATH | --connect STRING]\n";

std::string text(const Value& value) { return RTrimN(value); }

std::string label(CodeTable table, const Value& value) {
    std::string shown = EtichettaGriglia(table, value);
    return shown.empty() ? "-" : shown;
}

// A stored day/month as GG/MM; empty when unset.
std::string day_month(const Value& stored) { return RTrimN(FormattaGGMM(GGMMdaMMGG(stored), 1)); }

// A bare day of the month with two digits; empty when unset.
std::string day(const Value& stored) { return RTrimN(FormattaGGMM(stored, 0)); }

std::string share(const Recordset& rows, const char* form, const char* percent,
                  const char* numerator, const char* denominator) {
    if (text(rows.Field(form)) == "0") {
        return text(rows.Field(numerator)) + "/" + text(rows.Field(denominator));
    }
    return text(rows.Field(percent)) + "%";
}

std::string fixed_days(const Recordset& rows, const char* from, const char* to, const char* due) {
    if (text(rows.Field(due)).empty()) return {};
    return " dal " + day(rows.Field(from)) + " al " + day(rows.Field(to)) + " scad. " +
           day(rows.Field(due));
}

void print_installments(Recordset& rows) {
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        std::string line = "    " + text(rows.Field("CG63_PROG")) + ". " +
                           label(CodeTable::TipoEffetto, rows.Field("CG63_TIPOEFF"));
        const std::string subtype = text(rows.Field("CG63_STIPOEFF"));
        if (!subtype.empty()) line += "/" + subtype;
        line += ", " + label(CodeTable::TipoDecorrenza, rows.Field("CG63_INDTIPODECOR")) + " " +
                text(rows.Field("CG63_GGDECOR")) + " gg da " +
                label(CodeTable::DataRiferimento, rows.Field("CG63_INDDATARIF"));
        line += ", imponibile " +
                share(rows, "CG63_FLGFRPERCIMP", "CG63_PERCIMP", "CG63_EL1FRIMP", "CG63_EL2FRIMP");
        line += ", IVA " +
                share(rows, "CG63_FLGFRPERCIVA", "CG63_PERCIVA", "CG63_EL1FRIVA", "CG63_EL2FRIVA");
        if (CDecN(rows.Field("CG63_INDIMPFIX")) != 0) {
            line +=
                ", importo fisso: " + label(CodeTable::ImportoFisso, rows.Field("CG63_INDIMPFIX"));
            const std::string amount = text(rows.Field("CG63_IMPORFIX"));
            if (!amount.empty()) line += " " + amount;
        }
        line += fixed_days(rows, "CG63_DAGGFIX1", "CG63_AGGFIX1", "CG63_GGSCADFIX1");
        line += fixed_days(rows, "CG63_DAGGFIX2", "CG63_AGGFIX2", "CG63_GGSCADFIX2");
        const std::string fixed = day_month(rows.Field("CG63_GGMMFIX"));
        if (!fixed.empty()) line += ", giorno/mese fisso " + fixed;
        std::cout << line << "\n";
    }
}

void print_periods(Recordset& rows) {
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        std::string line = "    " + day_month(rows.Field("CG65_DAMMGG")) + " - " +
                           day_month(rows.Field("CG65_AMMGG")) + ": " +
                           label(CodeTable::TipoSlittamento, rows.Field("CG65_INDTIPOSLIT"));
        const std::string fixed = day_month(rows.Field("CG65_GGMMFIXSLIT"));
        if (!fixed.empty()) line += " " + fixed;
        if (CDecN(rows.Field("CG65_GGSLSUCC")) != 0) {
            line += ", " + text(rows.Field("CG65_GGSLSUCC")) + " gg";
        }
        std::cout << line << "\n";
    }
}

void print_languages(Recordset& rows) {
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        std::cout << "    " << text(rows.Field("CG6B_LINGUA_MG52")) << ": "
                  << text(rows.Field("CG6B_DESCR"));
        if (!text(rows.Field("CG6B_DESCRANAL")).empty()) {
            std::cout << " (" << text(rows.Field("CG6B_DESCRANAL")) << ")";
        }
        std::cout << "\n";
    }
}

}  // namespace

int run_list(const std::vector<std::string>& args) {
    std::string target = "build/demo.db";
    bool given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--db" || args[i] == "--connect") && i + 1 < args.size()) {
            target = args[++i];
            given = true;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    // Only the demo file is made when missing; a file the user names must exist.
    auto opened = open_database(target, !given);
    if (!opened) {
        std::cerr << "condpag: " << opened.error().message << "\n";
        return 1;
    }
    Connection connection = *opened;
    // Ordered here for a stable listing; the editor's own header statement has no order.
    Recordset header;
    if (auto done = header.Open("SELECT * FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG", connection);
        !done) {
        std::cerr << "condpag: " << done.error().message << "\n";
        return 1;
    }
    int failures = 0;
    for (header.MoveFirst(); !header.IsEOF(); header.MoveNext()) {
        std::string code = text(header.Field("CG62_CODPAG"));
        std::cout << code << "  " << text(header.Field("CG62_DESCPAG")) << "\n";
        if (!text(header.Field("CG62_DESPAGANAL")).empty()) {
            std::cout << "  " << text(header.Field("CG62_DESPAGANAL")) << "\n";
        }
        Recordset installments, periods, languages;
        struct Section {
            const char* title;
            Recordset* rows;
            std::string sql;
            void (*print)(Recordset&);
        };
        for (const Section& section :
             {Section{"Rate", &installments, load_installments_statement(code), print_installments},
              Section{"Periodi di slittamento", &periods, load_periods_statement(code),
                      print_periods},
              Section{"Descrizioni in lingua", &languages, load_languages_statement(code),
                      print_languages}}) {
            if (auto done = section.rows->Open(section.sql, connection); !done) {
                std::cerr << "condpag: " << done.error().message << "\n";
                ++failures;
                continue;
            }
            if (section.rows->RecordCount() == 0) continue;
            std::cout << "  " << section.title << ":\n";
            section.print(*section.rows);
        }
        std::cout << "\n";
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace condpag::cli
