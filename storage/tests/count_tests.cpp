// The number of installments of a term, counted where it exceeds what a 16-bit count holds.

#include <gtest/gtest.h>

#include "storage/statements.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class Counting : public testing::BackendTest {};

TEST_P(Counting, ContaRateAboveThe16BitRangeStaysAtItsLargestInsteadOfWrapping) {
    const std::string rows =
        connection.dialect() == Dialect::Postgres
            ? "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG) SELECT 'MOLTE', i FROM "
              "generate_series(1, 40000) AS i"
            : "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG) WITH RECURSIVE n(i) AS "
              "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) SELECT 'MOLTE', i FROM n";
    ASSERT_TRUE(connection.ExecuteChange(rows).ok());
    auto stored =
        connection.Execute("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'MOLTE'");
    ASSERT_TRUE(stored.ok());
    ASSERT_EQ(CDecN(stored->rows[0][0]), 40000);
    auto counted = ContaRate(connection, "MOLTE");
    ASSERT_TRUE(counted.ok());
    EXPECT_EQ(*counted, 32767);
}

CONDPAG_ON_ALL_BACKENDS(Counting);

}  // namespace
}  // namespace condpag
