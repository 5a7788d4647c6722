#pragma once
// Every statement text the payment-terms editor sends, with sample codes filled in, and the most
// involved one of the subtypes window (SQL Server dialect), so that each is run on every backend.

#include <string>
#include <vector>

#include "storage/deletion_guard.h"
#include "storage/statements.h"

namespace condpag::test_texts {

inline std::vector<std::string> subtype_and_country_statements() {
    const std::string crlf = "\r\n";
    auto lines = [&](const std::vector<std::string>& parts, size_t glued) {
        std::string sql;
        for (size_t i = 0; i < parts.size(); ++i) {
            sql += parts[i];
            if (i + 1 < parts.size() && i + 1 != glued) sql += crlf;
        }
        return sql;
    };
    std::string list_export = lines({"SELECT",
                                     "   CG6D_CODICE",
                                     "   , CG6D_DESCRPAG",
                                     "FROM",
                                     "   CG6D_CODPAGEXPMAN",
                                     "INNER JOIN CG07_TABSTATIEST ON",
                                     "   CG07_CODICE = 86",
                                     "WHERE",
                                     "   (",
                                     "      CG6D_CODISO IS NOT NULL",
                                     "      AND CG6D_CODISO = CG07_CODISO",
                                     "   )",
                                     "   OR",
                                     "   (",
                                     "      CG6D_CODISO IS NULL",
                                     "      AND ISNULL(CG07_FLGSEPA, 0) =",
                                     "      (",
                                     "         CASE",
                                     "            WHEN CG6D_AREA IN (0, 1) THEN CG6D_AREA",
                                     "            ELSE ISNULL(CG07_FLGSEPA, 0)",
                                     "         END",
                                     "      )",
                                     "   )",
                                     "ORDER BY",
                                     "   CG6D_CODICE"},
                                    22);
    return {list_export};
}

inline std::vector<std::string> all_statements(const std::string& code) {
    std::vector<std::string> all = {kHeaderStatement,
                                    kInstallmentsEmpty,
                                    kPeriodsEmpty,
                                    kLanguagesEmpty,
                                    load_installments_statement(code),
                                    load_periods_statement(code),
                                    load_languages_statement(code),
                                    count_installments_statement(code)};
    for (auto& sql : usage_statements(code)) all.push_back(sql);
    for (auto& sql : subtype_and_country_statements()) all.push_back(sql);
    all.push_back(delete_periods_statement(code));
    all.push_back(delete_installments_statement(code));
    all.push_back(delete_languages_statement(code));
    return all;
}

}  // namespace condpag::test_texts
