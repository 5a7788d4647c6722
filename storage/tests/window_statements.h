#pragma once
// Every statement text the payment-terms windows send, with sample codes filled in, as the
// windows build them (SQL Server dialect).

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
    std::string decode_export = lines({"SELECT",
                                       "   CG6D_DESCRPAG",
                                       "FROM",
                                       "   CG6D_CODPAGEXPMAN",
                                       "INNER JOIN CG07_TABSTATIEST ON",
                                       "   CG07_CODICE = 86",
                                       "WHERE",
                                       "   CG6D_CODICE = 'SCT'",
                                       "   AND",
                                       "   (",
                                       "      (",
                                       "         CG6D_CODISO IS NOT NULL",
                                       "         AND CG6D_CODISO = CG07_CODISO",
                                       "      )",
                                       "      OR",
                                       "      (",
                                       "         CG6D_CODISO IS NULL",
                                       "         AND ISNULL(CG07_FLGSEPA, 0) =",
                                       "         (",
                                       "            CASE",
                                       "               WHEN CG6D_AREA IN (0, 1) THEN CG6D_AREA",
                                       "               ELSE ISNULL(CG07_FLGSEPA, 0)",
                                       "            END",
                                       "         )",
                                       "      )",
                                       "   )"},
                                      24);
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
    return {
        " SELECT   CG64_DESCSTIPO FROM   CG64_SOTTOTIPO WHERE   (CG64_TIPOEFF = 14)   AND "
        "(CG64_CODSTIPOEFF = 1)",
        " SELECT   CG64_CODSTIPOEFF,   CG64_DESCSTIPO,   CG64_GGOFFSET FROM   CG64_SOTTOTIPO "
        "WHERE   (CG64_TIPOEFF = 14) ORDER BY   CG64_CODSTIPOEFF",
        " SELECT   CG64_CODSTIPOEFF,   CG64_DESCSTIPO FROM   CG64_SOTTOTIPO WHERE   "
        "(CG64_TIPOEFF = 14) ORDER BY   CG64_CODSTIPOEFF",
        " SELECT    * FROM    CG64_SOTTOTIPO WHERE    CG64_TIPOEFF = 14 ORDER BY    "
        "CG64_CODSTIPOEFF",
        " SELECT   CG07_DESCR FROM   CG07_TABSTATIEST WHERE   (CG07_CODICE = 86)",
        "SELECT CG6D_DESCRPAG FROM CG6D_CODPAGEXPMAN WHERE CG6D_CODICE = 'SCT'",
        "SELECT CG07_CODICE,CG07_DESCR FROM CG07_TABSTATIEST ORDER BY CG07_CODICE",
        decode_export,
        list_export,
    };
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
