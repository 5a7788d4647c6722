#include "framework/host_lookups.h"

#include "rules/records.h"
#include "storage/statements.h"

namespace condpag {

std::string TableLookupService::Statement() const {
    return "SELECT " + table_.code_column + ", " + table_.description_column + " FROM " +
           table_.table + " ORDER BY " + table_.code_column;
}

std::vector<LookupColumn> TableLookupService::Columns() const {
    return {{"Codice", ""}, {"Descrizione", ""}};
}

std::string TableLookupService::Title() const { return table_.title; }

std::string TableLookupService::DecodeStatement(const std::string& code) const {
    return "SELECT " + table_.description_column + " FROM " + table_.table + " WHERE " +
           table_.code_column + " = '" + quote_doubled(code) + "'";
}

std::vector<std::string> TableLookupService::DecodeColumns() const {
    return {table_.description_column};
}

LookupTable language_table() {
    return {"MG52_LINGUE", "MG52_CODICE", "MG52_DESCR", "Elenco lingue", "Lkp_Lingue"};
}

LookupTable payment_term_table() {
    return {std::string(db::CG62_CONDPAGDES), std::string(db::CG62_CODPAG),
            std::string(db::CG62_DESCPAG), "Elenco condizioni di pagamento", "Lkp_CondPag"};
}

}  // namespace condpag
