#include "rules/term_display.h"

#include <optional>

#include "rules/code_tables.h"
#include "rules/day_month.h"
#include "rules/italian_format.h"

namespace condpag {
namespace {

std::string text(const Record& row, std::string_view column) { return RTrimN(field(row, column)); }

std::string label(CodeTable table, const Record& row, std::string_view column) {
    return EtichettaGriglia(table, Value(text(row, column)));
}

// A bare day of the month with two digits: 5 reads "05".
std::string day_text(const Record& row, std::string_view column) {
    return RTrimN(FormattaGGMM(field(row, column), 0));
}

}  // namespace

std::string day_month_text(const Value& stored) {
    return RTrimN(FormattaGGMM(GGMMdaMMGG(stored), 1));
}

std::string decimal_text(const Value& stored) {
    const std::optional<double> number = stored.to_number();
    return number ? FormattaDecimale(*number) : RTrimN(stored);
}

std::string amount_text(const Value& stored) {
    const std::optional<double> number = stored.to_number();
    return number ? FormattaImporto(*number) : RTrimN(stored);
}

std::string share_text(const Record& row, const ShareColumns& share) {
    const std::optional<double> form = field(row, share.form).to_number();
    if (form == 0) return text(row, share.numerator) + "/" + text(row, share.denominator);
    if (form == 1) return decimal_text(field(row, share.percent)) + "%";
    return {};
}

InstallmentCells installment_cells(const Record& row) {
    return {
        .number = text(row, db::CG63_PROG),
        .type = label(CodeTable::TipoEffetto, row, db::CG63_TIPOEFF),
        .subtype = text(row, db::CG63_STIPOEFF),
        .start_rule = label(CodeTable::TipoDecorrenza, row, db::CG63_INDTIPODECOR),
        .days = text(row, db::CG63_GGDECOR),
        .reference = label(CodeTable::DataRiferimento, row, db::CG63_INDDATARIF),
        .taxable_share = share_text(row, kTaxableShare),
        .vat_share = share_text(row, kVatShare),
        .fixed_handling = label(CodeTable::ImportoFisso, row, db::CG63_INDIMPFIX),
        .fixed_amount = amount_text(field(row, db::CG63_IMPORFIX)),
        .first_from = day_text(row, db::CG63_DAGGFIX1),
        .first_to = day_text(row, db::CG63_AGGFIX1),
        .first_due_day = day_text(row, db::CG63_GGSCADFIX1),
        .second_from = day_text(row, db::CG63_DAGGFIX2),
        .second_to = day_text(row, db::CG63_AGGFIX2),
        .second_due_day = day_text(row, db::CG63_GGSCADFIX2),
        .fixed_day_month = day_month_text(field(row, db::CG63_GGMMFIX)),
    };
}

PeriodCells period_cells(const Record& row) {
    return {
        .lower = day_month_text(field(row, db::CG65_DAMMGG)),
        .upper = day_month_text(field(row, db::CG65_AMMGG)),
        .type = label(CodeTable::TipoSlittamento, row, db::CG65_INDTIPOSLIT),
        .fixed_date = day_month_text(field(row, db::CG65_GGMMFIXSLIT)),
        .days = text(row, db::CG65_GGSLSUCC),
    };
}

}  // namespace condpag
