#include "rules/code_tables.h"

#include <gtest/gtest.h>

#include <tuple>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

TEST(CodeTables, GridLabelsAndDescriptionCodes) {
    const std::tuple<CodeTable, Value, std::string> cases[] = {
        // the value and its grid label, also as a fixed-width text
        {CodeTable::TipoEffetto, "99", "Des"},
        {CodeTable::TipoEffetto, "5 ", "Ces"},
        {CodeTable::TipoEffetto, Value(), ""},
        {CodeTable::ImportoFisso, 1, "Da condizione di pag."},
        {CodeTable::TipoSlittamento, "9", "9"},
        {CodeTable::TipoSlittamento, 2, "1° giorno dopo mese successivo"},
        {CodeTable::FormaQuota, 2, ""},
        {CodeTable::TipoDecorrenza, 4, "GG fix x int."},
    };
    for (const auto& [table, value, grid] : cases) {
        EXPECT_EQ(EtichettaGriglia(table, value), grid) << value.to_text();
    }

    const std::pair<Value, std::string> codes[] = {
        {5, "Cess"}, {"13 ", "Rd"}, {" 13", ""}, {"", ""}, {17, ""}};
    for (const auto& [type, code] : codes)
        EXPECT_EQ(SiglaTipoEffetto(type), code) << type.to_text();
}

TEST(CodeTables, ValoreCampoQuotesTextAndWritesNumbersBack) {
    const Record row{{"A", "ab  "}, {"B", 33.5}, {"C", Value()}, {"D", "x"}};
    EXPECT_EQ(ValoreCampo(row, "A", false), Value("'ab'"));
    EXPECT_EQ(ValoreCampo(row, "B", true), Value("33.5"));
    EXPECT_EQ(ValoreCampo(row, "B", false), Value("'33.5'"));
    EXPECT_TRUE(ValoreCampo(row, "C", false).is_null());
    EXPECT_TRUE(ValoreCampo(row, "missing", true).is_null());
    EXPECT_TRUE(ValoreCampo(row, "D", true).is_null());
}

}  // namespace
}  // namespace condpag
