#pragma once
// The five tables of the payment terms: their names, their columns and how each column is typed
// and edited. The schema builds its tables from here and the editor takes a new row's defaults.

#include <optional>
#include <span>
#include <string_view>

#include "rules/value.h"

namespace condpag {

// Table and column names, spelled as the database spells them.
namespace db {

inline constexpr std::string_view CG62_CONDPAGDES = "CG62_CONDPAGDES";
inline constexpr std::string_view CG62_CODPAG = "CG62_CODPAG";
inline constexpr std::string_view CG62_DESCPAG = "CG62_DESCPAG";
inline constexpr std::string_view CG62_DESPAGANAL = "CG62_DESPAGANAL";
inline constexpr std::string_view CG62_FLGDESC = "CG62_FLGDESC";
inline constexpr std::string_view CG62_FLGSTORNOIVA = "CG62_FLGSTORNOIVA";
inline constexpr std::string_view CG62_FLGDISGG = "CG62_FLGDISGG";
inline constexpr std::string_view CG62_SCPERMER1 = "CG62_SCPERMER1";
inline constexpr std::string_view CG62_SCPERMER2 = "CG62_SCPERMER2";
inline constexpr std::string_view CG62_SCPERCAS = "CG62_SCPERCAS";
inline constexpr std::string_view CG62_SCPERCART26 = "CG62_SCPERCART26";
inline constexpr std::string_view CG62_SCART26 = "CG62_SCART26";
inline constexpr std::string_view CG62_IDMEDIA_CG99 = "CG62_IDMEDIA_CG99";

inline constexpr std::string_view CG63_CONDPAGDET = "CG63_CONDPAGDET";
inline constexpr std::string_view CG63_CODPAG_CG62 = "CG63_CODPAG_CG62";
inline constexpr std::string_view CG63_PROG = "CG63_PROG";
inline constexpr std::string_view CG63_TIPOEFF = "CG63_TIPOEFF";
inline constexpr std::string_view CG63_STIPOEFF = "CG63_STIPOEFF";
inline constexpr std::string_view CG63_INDTIPODECOR = "CG63_INDTIPODECOR";
inline constexpr std::string_view CG63_GGDECOR = "CG63_GGDECOR";
inline constexpr std::string_view CG63_INDDATARIF = "CG63_INDDATARIF";
inline constexpr std::string_view CG63_INDTIPOCALEND = "CG63_INDTIPOCALEND";
inline constexpr std::string_view CG63_FLGFRPERCIMP = "CG63_FLGFRPERCIMP";
inline constexpr std::string_view CG63_PERCIMP = "CG63_PERCIMP";
inline constexpr std::string_view CG63_EL1FRIMP = "CG63_EL1FRIMP";
inline constexpr std::string_view CG63_EL2FRIMP = "CG63_EL2FRIMP";
inline constexpr std::string_view CG63_FLGFRPERCIVA = "CG63_FLGFRPERCIVA";
inline constexpr std::string_view CG63_PERCIVA = "CG63_PERCIVA";
inline constexpr std::string_view CG63_EL1FRIVA = "CG63_EL1FRIVA";
inline constexpr std::string_view CG63_EL2FRIVA = "CG63_EL2FRIVA";
inline constexpr std::string_view CG63_INDIMPFIX = "CG63_INDIMPFIX";
inline constexpr std::string_view CG63_IMPORFIX = "CG63_IMPORFIX";
inline constexpr std::string_view CG63_DAGGFIX1 = "CG63_DAGGFIX1";
inline constexpr std::string_view CG63_AGGFIX1 = "CG63_AGGFIX1";
inline constexpr std::string_view CG63_GGSCADFIX1 = "CG63_GGSCADFIX1";
inline constexpr std::string_view CG63_DAGGFIX2 = "CG63_DAGGFIX2";
inline constexpr std::string_view CG63_AGGFIX2 = "CG63_AGGFIX2";
inline constexpr std::string_view CG63_GGSCADFIX2 = "CG63_GGSCADFIX2";
inline constexpr std::string_view CG63_GGMMFIX = "CG63_GGMMFIX";

inline constexpr std::string_view CG65_PAGSLITANAL = "CG65_PAGSLITANAL";
inline constexpr std::string_view CG65_CODPAG_CG62 = "CG65_CODPAG_CG62";
inline constexpr std::string_view CG65_DAMMGG = "CG65_DAMMGG";
inline constexpr std::string_view CG65_AMMGG = "CG65_AMMGG";
inline constexpr std::string_view CG65_INDTIPOSLIT = "CG65_INDTIPOSLIT";
inline constexpr std::string_view CG65_GGMMFIXSLIT = "CG65_GGMMFIXSLIT";
inline constexpr std::string_view CG65_GGSLSUCC = "CG65_GGSLSUCC";

inline constexpr std::string_view CG6B_CONDPAGLING = "CG6B_CONDPAGLING";
inline constexpr std::string_view CG6B_CODICE_CG62 = "CG6B_CODICE_CG62";
inline constexpr std::string_view CG6B_LINGUA_MG52 = "CG6B_LINGUA_MG52";
inline constexpr std::string_view CG6B_DESCR = "CG6B_DESCR";
inline constexpr std::string_view CG6B_DESCRANAL = "CG6B_DESCRANAL";

inline constexpr std::string_view CG64_SOTTOTIPO = "CG64_SOTTOTIPO";
inline constexpr std::string_view CG64_TIPOEFF = "CG64_TIPOEFF";
inline constexpr std::string_view CG64_CODSTIPOEFF = "CG64_CODSTIPOEFF";
inline constexpr std::string_view CG64_DESCSTIPO = "CG64_DESCSTIPO";
inline constexpr std::string_view CG64_GGOFFSET = "CG64_GGOFFSET";
inline constexpr std::string_view CG64_FLGASSEGNO = "CG64_FLGASSEGNO";
inline constexpr std::string_view CG64_CODICE_CG07 = "CG64_CODICE_CG07";
inline constexpr std::string_view CG64_CODPAGUC = "CG64_CODPAGUC";
inline constexpr std::string_view CG64_INDMODFATTURAPA = "CG64_INDMODFATTURAPA";
}  // namespace db

// The columns of one share of an installment, taxable or VAT: its form (0 fraction,
// 1 percentage), the percentage, and the fraction's numerator and denominator.
struct ShareColumns {
    std::string_view form, percent, numerator, denominator;
};
inline constexpr ShareColumns kTaxableShare{db::CG63_FLGFRPERCIMP, db::CG63_PERCIMP,
                                            db::CG63_EL1FRIMP, db::CG63_EL2FRIMP};
inline constexpr ShareColumns kVatShare{db::CG63_FLGFRPERCIVA, db::CG63_PERCIVA, db::CG63_EL1FRIVA,
                                        db::CG63_EL2FRIVA};

enum class ColumnKind {
    Text,
    WholeNumber,
    Code,        // a small whole number of a code table
    Flag,        // 0 off, 1 on
    Percentage,  // decimal
    Amount,      // decimal
    DayOfMonth,  // 1 to 31
    DayMonth,    // 100 x month + day
    Identifier,
};

struct ColumnDef {
    std::string_view name;
    ColumnKind kind;
    int max_length;  // characters of the editing control; 0 when the control sets no limit
    std::optional<double> default_value;  // what a new row receives; none leaves it null
    bool upper_case;
    bool mandatory;
    bool nullable;            // the row may keep a null here
    std::string_view format;  // display format where the column has one ("##0.00")
};

struct TableDef {
    std::string_view name;
    std::span<const ColumnDef> columns;
    std::span<const std::string_view> key;  // primary key columns, in order
};

// All five tables: header, installments, shift periods, language descriptions, subtypes.
std::span<const TableDef> table_defs();
const TableDef* table_def(std::string_view table);
const ColumnDef* column_def(std::string_view table, std::string_view column);

// A new row of a table: every column with a default holds it, every other column is absent.
Record default_row(std::string_view table);

}  // namespace condpag
