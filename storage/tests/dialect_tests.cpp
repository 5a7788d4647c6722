#include <gtest/gtest.h>
#include <sqlite3.h>

#include "storage/backends.h"
#include "storage/dialect.h"
#include "storage/statements.h"

namespace condpag {
namespace {

// SQLite and PostgreSQL take the same rewrites; SQL Server texts pass unchanged.
TEST(Dialect, RewritesSqlServerTexts) {
    // A SQL Server text and what the other two make of it.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SELECT TOP 10 CG62_CODPAG FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG;",
         "SELECT CG62_CODPAG FROM CG62_CONDPAGDES ORDER BY CG62_CODPAG LIMIT 10;"},
        {"SELECT DISTINCT TOP 2 CG63_TIPOEFF FROM CG63_CONDPAGDET",
         "SELECT DISTINCT CG63_TIPOEFF FROM CG63_CONDPAGDET LIMIT 2"},
        {"SELECT ISNULL (a, 0), isnull(b,1) FROM T WHERE c IS NULL AND d = 'ISNULL(x)'",
         "SELECT COALESCE (a, 0), COALESCE(b,1) FROM T WHERE c IS NULL AND d = 'ISNULL(x)'"},
        {"SELECT 'Cod. ' + CG62_CODPAG + ' - ' + CG62_DESCPAG, a + 1 FROM CG62_CONDPAGDES",
         "SELECT 'Cod. ' || CG62_CODPAG || ' - ' || CG62_DESCPAG, a + 1 FROM CG62_CONDPAGDES"},
        {"SELECT 'TOP 1 it''s' FROM T", "SELECT 'TOP 1 it''s' FROM T"},
    };
    for (const auto& [sql, expected] : cases) {
        EXPECT_EQ(adapt_statement(sql, Dialect::Sqlite), expected) << sql;
        EXPECT_EQ(adapt_statement(sql, Dialect::Postgres), expected) << sql;
        EXPECT_EQ(adapt_statement(sql, Dialect::SqlServer), sql);
    }
}

TEST(Statements, TextsOfTheEditor) {
    // Trailing blanks go, leading blanks stay, quotes are doubled.
    EXPECT_EQ(load_installments_statement(" O'K  "),
              "SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = ' O''K'");
    EXPECT_EQ(delete_periods_statement("A'"),
              "DELETE FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62 = 'A'''");

    // Only digits pass into a statement; anything else is refused ("-").
    // clang-format off
    for (auto [input, expected] : {std::pair{"86", "86"}, {" 094 ", "094"}, {"", "-"}, {"8 6", "-"},
                                   {"86) OR (1=1", "-"}, {"-1", "-"}, {"1.5", "-"}}) {
        // clang-format on
        auto result = digits_only(input);
        EXPECT_EQ(result.ok() ? *result : "-", expected) << input;
    }
}

// Duplicate keys, locks and lost sessions are told by the databases' own codes.
TEST(FailureKinds, ToldFromNativeCodes) {
    using K = FailureKind;
    // SQLSTATE (nullptr: an extended result code of SQLite itself), native code, dialect, kind.
    using Case = std::tuple<const char*, long, Dialect, K>;
    const Dialect pg = Dialect::Postgres, lite = Dialect::Sqlite, ms = Dialect::SqlServer;
    // clang-format off
    for (const auto& [state, native, dialect, kind] :
            {Case{nullptr, SQLITE_CONSTRAINT_PRIMARYKEY, lite, K::DuplicateKey},
             {nullptr, SQLITE_CONSTRAINT_UNIQUE, lite, K::DuplicateKey},
             {nullptr, SQLITE_CONSTRAINT_NOTNULL, lite, K::Other},
             {nullptr, SQLITE_BUSY_SNAPSHOT, lite, K::Busy},
             {nullptr, SQLITE_LOCKED, lite, K::Busy},
             {nullptr, SQLITE_READONLY, lite, K::Other}, {"23505", 7, pg, K::DuplicateKey},
             {"23502", 7, pg, K::Other}, {"55P03", 7, pg, K::Busy}, {"40P01", 7, pg, K::Busy},
             {"57P01", 7, pg, K::LostConnection}, {"08S01", 0, pg, K::LostConnection},
             {"HY000", 19, lite, K::Constraint}, {"HY000", 5, lite, K::Busy},
             {"HY000", 1, lite, K::Other}, {"23000", 2627, ms, K::DuplicateKey},
             {"23000", 2601, ms, K::DuplicateKey}, {"23000", 547, ms, K::Other},
             {"HY000", 1222, ms, K::Busy}, {"HYT00", 0, ms, K::Busy},
             {"42S02", 208, ms, K::Other}}) {
        // clang-format on
        EXPECT_EQ(state ? odbc_failure_kind(state, native, dialect)
                        : sqlite_failure_kind(static_cast<int>(native)),
                  kind)
            << (state ? state : "sqlite") << " " << native;
    }
}

}  // namespace
}  // namespace condpag
