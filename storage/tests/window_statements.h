#pragma once
// Every statement text the payment-terms editor sends, with sample codes filled in, and the most
// involved one of the subtypes window (SQL Server dialect), so that each is run on every backend.

#include <string>
#include <vector>

#include "storage/deletion_guard.h"
#include "storage/statements.h"

namespace condpag::test_texts {

inline std::vector<std::string> subtype_and_country_statements() {
    // Lines end in CR LF as the window writes them, but for one it glues to the next.
    return {
        "SELECT\r\n   CG6D_CODICE\r\n   , CG6D_DESCRPAG\r\nFROM\r\n   CG6D_CODPAGEXPMAN\r\n"
        "INNER JOIN CG07_TABSTATIEST ON\r\n   CG07_CODICE = 86\r\nWHERE\r\n   (\r\n"
        "      CG6D_CODISO IS NOT NULL\r\n      AND CG6D_CODISO = CG07_CODISO\r\n   )\r\n"
        "   OR\r\n   (\r\n      CG6D_CODISO IS NULL\r\n      AND ISNULL(CG07_FLGSEPA, 0) =\r\n"
        "      (\r\n         CASE\r\n            WHEN CG6D_AREA IN (0, 1) THEN CG6D_AREA\r\n"
        "            ELSE ISNULL(CG07_FLGSEPA, 0)\r\n         END\r\n      )   )\r\nORDER BY\r\n"
        "   CG6D_CODICE"};
}

inline std::vector<std::string> all_statements(const std::string& code) {
    std::vector<std::string> all = usage_statements(code);
    // The deletions last, once everything else has read the rows.
    all.insert(all.end(), {kHeaderStatement, kInstallmentsEmpty, kPeriodsEmpty, kLanguagesEmpty,
                           load_installments_statement(code), load_periods_statement(code),
                           load_languages_statement(code), count_installments_statement(code),
                           subtype_and_country_statements().front(), delete_periods_statement(code),
                           delete_installments_statement(code), delete_languages_statement(code)});
    return all;
}

}  // namespace condpag::test_texts
