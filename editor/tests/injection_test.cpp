// Hostile codes: quotes, semicolons, comments and "1 OR 1=1" in every code that enters a
// statement text select, change and delete nothing beyond the row they name, on every backend.

#include <gtest/gtest.h>

#include "editor/tests/session.h"
#include "framework/host_lookups.h"
#include "storage/deletion_guard.h"
#include "storage/demo_data.h"
#include "storage/statements.h"
#include "storage/testing/demo_database.h"
#include "windows/lookup_statements.h"

namespace condpag {
namespace {

class HostileCodes : public testing::BackendTest {
  protected:
    // Row counts of every table a statement of the system reads or writes.
    Rows census() {
        Rows all;
        for (const char* table :
             {"CG62_CONDPAGDES", "CG63_CONDPAGDET", "CG65_PAGSLITANAL", "CG6B_CONDPAGLING",
              "CG64_SOTTOTIPO", "MG52_LINGUE", "CG07_TABSTATIEST", "CG6D_CODPAGEXPMAN",
              "CG44_CLIFOR", "MG20_CLIFORSCPAG", "DO11_DOCTESTATA", "EC01_MOVEC",
              "EF01_SCADENZE"}) {
            for (auto& row : stored(connection, std::string("SELECT COUNT(*) FROM ") + table)) {
                all.push_back(row);
            }
        }
        return all;
    }
    // The rows a statement selects; a statement that cannot run counts as selecting nothing,
    // but is reported.
    size_t selected(const std::string& sql) {
        auto result = connection.Execute(sql);
        EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message) << " [" << sql
                                 << "]";
        return result ? result->rows.size() : 0;
    }
};

const char* const kHostile[] = {
    "RD' OR '1'='1",
    "x' OR 1=1 --",
    "RD'; DELETE FROM CG63_CONDPAGDET; --",
    "RD' /* comment",
    "1 OR 1=1",
    "1; DROP TABLE CG64_SOTTOTIPO",
    "RD'--",
    "'",
    "''",
    "\\'; --",
};

TEST_P(HostileCodes, SelectChangeAndDeleteNothingThroughAnyStatement) {
    const Rows before = census();
    auto identity = [](const std::string& text) { return text; };
    for (const char* code : kHostile) {
        SCOPED_TRACE(code);
        // Payment-term codes, between quotes.
        EXPECT_EQ(selected(load_installments_statement(code)), 0u);
        EXPECT_EQ(selected(load_periods_statement(code)), 0u);
        EXPECT_EQ(selected(load_languages_statement(code)), 0u);
        auto count = condpag::ContaRate(connection, code);
        ASSERT_TRUE(count.ok()) << count.error().message;
        EXPECT_EQ(*count, 0);
        DeletionOutcome outcome = guard_and_delete_details(connection, code, identity);
        EXPECT_FALSE(outcome.verdict.refused) << outcome.verdict.message;
        EXPECT_TRUE(outcome.cascade_errors.empty());
        // Language codes and foreign payment codes, between quotes.
        EXPECT_EQ(selected(TableLookupService(language_table()).DecodeStatement(code)), 0u);
        EXPECT_EQ(selected(TableLookupService(payment_term_table()).DecodeStatement(code)), 0u);
        EXPECT_EQ(selected(export_payment_name_statement(code)), 0u);
        EXPECT_EQ(selected(export_payment_decode_statement("380", code)), 0u);
        // Country, payment-type and subtype numbers, without quotes: no statement at all.
        EXPECT_FALSE(country_name_statement(code).ok());
        EXPECT_FALSE(subtype_name_statement("2", code).ok());
        EXPECT_FALSE(subtype_name_statement(code, "1").ok());
        EXPECT_FALSE(subtype_list_statement(code).ok());
        EXPECT_FALSE(digits_only(code).ok());
    }
    EXPECT_EQ(census(), before);
}

TEST_P(HostileCodes, AStoredCodeWithQuotesIsTheOnlyOneLoadedCountedAndDeleted) {
    // "1'OR'1" unescaped would read: ... = '1'OR'1' , true for every row.
    const std::string code = "1'OR'1";
    ASSERT_TRUE(insert_rows(connection, "CG62_CONDPAGDES", {"CG62_CODPAG", "CG62_DESCPAG"},
                            {{code, "Ostile"}})
                    .ok());
    ASSERT_TRUE(insert_rows(connection, "CG63_CONDPAGDET",
                            {"CG63_CODPAG_CG62", "CG63_PROG", "CG63_TIPOEFF", "CG63_PERCIMP",
                             "CG63_PERCIVA"},
                            {{code, 1, 13, 100, 100}})
                    .ok());
    const Rows others = stored(
        connection, "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 <> '1''OR''1'");

    // Through the window, as a person types it: shown, counted and deleted alone.
    User anna(database->connection_string(), 1);
    ASSERT_TRUE(anna.go_to(code)) << anna.all_messages();
    EXPECT_EQ(anna.window->GRID_CONDPAG.row_count(), 1);
    EXPECT_EQ(anna.window->ContaRate(code), 1);
    ASSERT_TRUE(anna.window->INTERNAV.user_click("Elimina")) << anna.all_messages();
    EXPECT_EQ(stored(connection,
                     "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '1''OR''1'"),
              (Rows{{"0"}}));
    EXPECT_EQ(
        stored(connection, "SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '1''OR''1'"),
        (Rows{{"0"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 "
                     "<> '1''OR''1'"),
              others);

    // A subtype typed with a separator decodes nothing and breaks nothing.
    ASSERT_TRUE(anna.go_to("RB30FM"));
    anna.messages.shown.clear();
    ASSERT_TRUE(anna.window->TXT_SOTTOTIPO.user_type("1;"));
    anna.window->TXT_SOTTOTIPO.user_leave();
    EXPECT_EQ(anna.window->TXT_DECODSTIPO.text(), "");
    EXPECT_TRUE(anna.messages.shown.empty()) << anna.all_messages();
}

CONDPAG_ON_ALL_BACKENDS(HostileCodes);

}  // namespace
}  // namespace condpag
