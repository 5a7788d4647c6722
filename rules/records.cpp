#include "rules/records.h"

#include <array>

namespace condpag {

namespace {

using K = ColumnKind;
constexpr std::optional<double> none = std::nullopt;

// name, kind, max length, default, upper case, mandatory, nullable, format
constexpr std::array<ColumnDef, 12> kHeader{{
    {db::CG62_CODPAG, K::Text, 6, none, true, true, false, ""},
    {db::CG62_DESCPAG, K::Text, 40, none, false, false, true, ""},
    {db::CG62_DESPAGANAL, K::Text, 80, none, false, false, true, ""},
    {db::CG62_FLGDESC, K::Flag, 0, 0, false, false, true, ""},
    {db::CG62_FLGSTORNOIVA, K::Flag, 0, 0, false, false, true, ""},
    {db::CG62_FLGDISGG, K::Flag, 0, none, false, false, true, ""},
    {db::CG62_SCPERMER1, K::Percentage, 0, none, false, false, true, "##0.00"},
    {db::CG62_SCPERMER2, K::Percentage, 0, none, false, false, true, "##0.00"},
    {db::CG62_SCPERCAS, K::Percentage, 0, none, false, false, true, "##0.00"},
    {db::CG62_SCPERCART26, K::Percentage, 0, none, false, false, true, "##0.00"},
    {db::CG62_SCART26, K::Amount, 8, none, false, false, true, "#,##0.00"},
    {db::CG62_IDMEDIA_CG99, K::Identifier, 0, none, false, false, true, ""},
}};

constexpr std::array<ColumnDef, 25> kInstallment{{
    {db::CG63_CODPAG_CG62, K::Text, 6, none, true, true, false, ""},
    {db::CG63_PROG, K::WholeNumber, 5, none, false, true, false, ""},
    {db::CG63_TIPOEFF, K::Code, 0, 13, false, false, true, ""},
    {db::CG63_STIPOEFF, K::WholeNumber, 2, none, false, false, true, ""},
    {db::CG63_INDTIPODECOR, K::Code, 0, 1, false, false, true, ""},
    {db::CG63_GGDECOR, K::WholeNumber, 4, none, false, false, true, ""},
    {db::CG63_INDDATARIF, K::Code, 0, 0, false, false, true, ""},
    {db::CG63_INDTIPOCALEND, K::Code, 0, 0, false, false, true, ""},
    {db::CG63_FLGFRPERCIMP, K::Code, 0, 1, false, false, true, ""},
    {db::CG63_PERCIMP, K::Percentage, 0, 0, false, false, true, "##0.0000"},
    {db::CG63_EL1FRIMP, K::WholeNumber, 2, 0, false, false, true, "##"},
    {db::CG63_EL2FRIMP, K::WholeNumber, 2, 0, false, false, true, "##"},
    {db::CG63_FLGFRPERCIVA, K::Code, 0, 1, false, false, true, ""},
    {db::CG63_PERCIVA, K::Percentage, 0, 0, false, false, true, "##0.0000"},
    {db::CG63_EL1FRIVA, K::WholeNumber, 2, 0, false, false, true, "##"},
    {db::CG63_EL2FRIVA, K::WholeNumber, 2, 0, false, false, true, "##"},
    {db::CG63_INDIMPFIX, K::Code, 0, 0, false, false, true, ""},
    {db::CG63_IMPORFIX, K::Amount, 16, none, false, false, true, ""},
    {db::CG63_DAGGFIX1, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_AGGFIX1, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_GGSCADFIX1, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_DAGGFIX2, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_AGGFIX2, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_GGSCADFIX2, K::DayOfMonth, 2, none, false, false, true, ""},
    {db::CG63_GGMMFIX, K::DayMonth, 0, none, false, false, true, ""},
}};

constexpr std::array<ColumnDef, 6> kShiftPeriod{{
    {db::CG65_CODPAG_CG62, K::Text, 6, none, true, true, false, ""},
    {db::CG65_DAMMGG, K::DayMonth, 0, none, false, true, false, ""},
    {db::CG65_AMMGG, K::DayMonth, 0, none, false, true, false, ""},
    {db::CG65_INDTIPOSLIT, K::Code, 0, 1, false, false, true, ""},
    {db::CG65_GGMMFIXSLIT, K::DayMonth, 0, none, false, false, true, ""},
    {db::CG65_GGSLSUCC, K::WholeNumber, 4, 0, false, false, true, ""},
}};

constexpr std::array<ColumnDef, 4> kLanguage{{
    {db::CG6B_CODICE_CG62, K::Text, 6, none, true, true, false, ""},
    {db::CG6B_LINGUA_MG52, K::Text, 4, none, true, true, false, ""},
    {db::CG6B_DESCR, K::Text, 40, none, false, false, true, ""},
    {db::CG6B_DESCRANAL, K::Text, 80, none, false, false, true, ""},
}};

constexpr std::array<ColumnDef, 8> kSubtype{{
    {db::CG64_TIPOEFF, K::Code, 0, none, false, true, false, ""},
    {db::CG64_CODSTIPOEFF, K::WholeNumber, 2, none, false, true, false, ""},
    {db::CG64_DESCSTIPO, K::Text, 40, none, false, false, true, ""},
    {db::CG64_GGOFFSET, K::WholeNumber, 3, none, false, false, true, ""},
    {db::CG64_FLGASSEGNO, K::Flag, 0, none, false, false, true, ""},
    {db::CG64_CODICE_CG07, K::Text, 4, none, true, false, true, ""},
    {db::CG64_CODPAGUC, K::Text, 3, none, true, false, true, ""},
    {db::CG64_INDMODFATTURAPA, K::Code, 0, 0, false, false, true, ""},
}};

constexpr std::array<std::string_view, 1> kHeaderKey{db::CG62_CODPAG};
constexpr std::array<std::string_view, 2> kInstallmentKey{db::CG63_CODPAG_CG62, db::CG63_PROG};
constexpr std::array<std::string_view, 3> kShiftPeriodKey{db::CG65_CODPAG_CG62, db::CG65_DAMMGG,
                                                          db::CG65_AMMGG};
constexpr std::array<std::string_view, 2> kLanguageKey{db::CG6B_CODICE_CG62, db::CG6B_LINGUA_MG52};
constexpr std::array<std::string_view, 2> kSubtypeKey{db::CG64_TIPOEFF, db::CG64_CODSTIPOEFF};

const std::array<TableDef, 5> kTables{{
    {db::CG62_CONDPAGDES, kHeader, kHeaderKey},
    {db::CG63_CONDPAGDET, kInstallment, kInstallmentKey},
    {db::CG65_PAGSLITANAL, kShiftPeriod, kShiftPeriodKey},
    {db::CG6B_CONDPAGLING, kLanguage, kLanguageKey},
    {db::CG64_SOTTOTIPO, kSubtype, kSubtypeKey},
}};

}  // namespace

std::span<const TableDef> table_defs() { return kTables; }

const TableDef* table_def(std::string_view table) {
    for (const TableDef& def : kTables) {
        if (def.name == table) return &def;
    }
    return nullptr;
}

const ColumnDef* column_def(std::string_view table, std::string_view column) {
    const TableDef* def = table_def(table);
    if (!def) return nullptr;
    for (const ColumnDef& c : def->columns) {
        if (c.name == column) return &c;
    }
    return nullptr;
}

Record default_row(std::string_view table) {
    Record row;
    if (const TableDef* def = table_def(table)) {
        for (const ColumnDef& c : def->columns) {
            if (c.default_value) row.emplace(std::string(c.name), Value(*c.default_value));
        }
    }
    return row;
}

}  // namespace condpag
