// The three grids: their columns, how coded and day/month cells are shown, the day/month format
// objects between the edit fields and their columns, and Enter in the language grid.

#include <optional>

#include "editor/FRMCO_CONDPAG.h"
#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/records.h"
#include "rules/term_display.h"

namespace condpag {
namespace {

struct ColumnDefinition {
    std::string_view column;
    const char* caption;
    int width;
};

void define_columns(Grid& grid, Cinterface* host, std::initializer_list<ColumnDefinition> columns) {
    ColumnLayout layout(grid);
    layout.Setup(host, nullptr, "", 0);  // no set, source or further object: the grid keeps none
    // Kind 1 and shown, for every column; the kind is the host grid's and changes nothing here.
    for (const ColumnDefinition& c : columns) {
        layout.AddColumn(std::string(c.column), c.caption, 1, c.width, true);
    }
    layout.Apply();
}

std::optional<CodeTable> installment_code_table(const std::string& column) {
    if (column == db::CG63_TIPOEFF) return CodeTable::TipoEffetto;
    if (column == db::CG63_INDTIPODECOR) return CodeTable::TipoDecorrenza;
    if (column == db::CG63_INDDATARIF) return CodeTable::DataRiferimento;
    if (column == db::CG63_FLGFRPERCIMP || column == db::CG63_FLGFRPERCIVA) {
        return CodeTable::FormaQuota;
    }
    if (column == db::CG63_INDIMPFIX) return CodeTable::ImportoFisso;
    return std::nullopt;
}

std::string day_month_cell(const std::string& text) {
    return FormattaGGMM(GGMMdaMMGG(Value(text)), 1).to_text();
}

}  // namespace

void FRMCO_CONDPAG::DefineInstallmentColumns() {
    define_columns(GRID_CONDPAG, host_,
                   {{db::CG63_PROG, "Rata", 420},
                    {db::CG63_TIPOEFF, "T.eff.", 480},
                    {db::CG63_STIPOEFF, "S.Tipo", 525},
                    {db::CG63_INDTIPODECOR, "Tipo decorrenza", 1260},
                    {db::CG63_GGDECOR, "GG dec.", 585},
                    {db::CG63_INDDATARIF, "Riferimento dec.", 1260},
                    {db::CG63_FLGFRPERCIMP, "Fr./Perc. Imp.", 1095},
                    {db::CG63_PERCIMP, "% Imp.", 690},
                    {db::CG63_EL1FRIMP, "Num.", 420},
                    {db::CG63_EL2FRIMP, "Den.", 390},
                    {db::CG63_FLGFRPERCIVA, "Fr./Perc. IVA", 990},
                    {db::CG63_PERCIVA, "% IVA", 630},
                    {db::CG63_EL1FRIVA, "Num", 450},
                    {db::CG63_EL2FRIVA, "Den", 405},
                    {db::CG63_INDIMPFIX, "Gestione Importo fisso", 2010},
                    {db::CG63_IMPORFIX, "Importo fisso", 1335},
                    {db::CG63_DAGGFIX1, "Limite inf. gg 1° int.", 1890},
                    {db::CG63_AGGFIX1, "Limite sup. gg 1° int.", 1980},
                    {db::CG63_GGSCADFIX1, "GG scad. 1", 855},
                    {db::CG63_DAGGFIX2, "Limite inf. gg 2° int.", 1935},
                    {db::CG63_AGGFIX2, "Limite sup. gg 2° int.", 1950},
                    {db::CG63_GGSCADFIX2, "GG scad. 2", 870},
                    {db::CG63_GGMMFIX, "GG/MM fisso", 2040}});
}

void FRMCO_CONDPAG::DefinePeriodColumns() {
    define_columns(GRID_PERSLIT, host_,
                   {{db::CG65_DAMMGG, "Limite inf.", 1275},
                    {db::CG65_AMMGG, "Limite sup.", 1275},
                    {db::CG65_INDTIPOSLIT, "Tipo slitt.", 3420},
                    {db::CG65_GGMMFIXSLIT, "Data fissa", 1620},
                    {db::CG65_GGSLSUCC, "GG succ.", 930}});
}

void FRMCO_CONDPAG::DefineLanguageColumns() {
    define_columns(GRID_LINGUA, host_,
                   {{db::CG6B_LINGUA_MG52, "Codice lingua", 1514},
                    {db::CG6B_DESCR, "Descrizione lingua", 9210}});
}

void FRMCO_CONDPAG::GRID_CONDPAG_CellDisplay(const std::string& column, std::string& text) {
    if (auto table = installment_code_table(column)) {
        std::string label = EtichettaGriglia(*table, Value(text));
        text = label.empty() ? label : translate(label);
    } else if (column == db::CG63_GGMMFIX) {
        text = day_month_cell(text);
    } else if (column == db::CG63_IMPORFIX) {
        text = amount_text(Value(text));
    } else if (column == db::CG63_PERCIMP || column == db::CG63_PERCIVA) {
        // The grid's share columns are narrow: the shortest form, the boxes show the format.
        text = decimal_text(Value(text));
    }
}

void FRMCO_CONDPAG::GRID_PERSLIT_CellDisplay(const std::string& column, std::string& text) {
    if (column == db::CG65_DAMMGG || column == db::CG65_AMMGG || column == db::CG65_GGMMFIXSLIT) {
        text = day_month_cell(text);
    } else if (column == db::CG65_INDTIPOSLIT) {
        std::string label = EtichettaGriglia(CodeTable::TipoSlittamento, Value(text));
        text = label.empty() ? label : translate(label);
    }
}

void FRMCO_CONDPAG::GRID_LINGUA_KeyDown(int& key, int) {
    if (key != kKeyEnter || FME_LINGUA.Status() == FrameStatus::Insert) return;
    key = 0;
    DoEvents();  // a grid key posts no focus move of its own, so there is nothing to wait for
    if (TXT_DESCRLINGUA.enabled()) TXT_DESCRLINGUA.SetTextFocus();
}

// Stored 1231 is shown 31/12; null stays null.
void FRMCO_CONDPAG::DayMonth_Format(DataValue& value) {
    value.value = FormattaGGMM(GGMMdaMMGG(value.value), 1);
}

// Typed 31/12 (or 3112) is stored 1231; an empty field stores null. Not validated here: the
// fields mark their text themselves when left.
void FRMCO_CONDPAG::DayMonth_UnFormat(DataValue& value) {
    value.value = MMGGdaGGMM(Value(TogliBarre(RTrimN(value.value))));
}

}  // namespace condpag
