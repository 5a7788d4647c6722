#include "rules/generation.h"

#include <gtest/gtest.h>

#include <vector>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

GenerationRequest request(
    std::initializer_list<std::pair<const std::string, std::string>> changes) {
    GenerationRequest r;
    r.texts = {{"TXT_NUMERORATE", "3"},   {"CMB_TIPO", "2"},       {"TXT_SOTTOTIPO", ""},
               {"CMB_CALENDARIO", "0"},   {"CMB_TIPODECORR", "1"}, {"TXT_GGDECOR", "30"},
               {"CMB_DATARIF", "5"},      {"TXT_GGMMFIX", ""},     {"CMB_FLGFRPERCIMP", "0"},
               {"TXT_IMP", ""},           {"TXT_NUMIMP", "1"},     {"TXT_DENIMP", "3"},
               {"CMB_FLGFRPERCIVA", "1"}, {"TXT_IVA", "33.3333"},  {"TXT_NUMIVA", ""},
               {"TXT_DENIVA", ""},        {"CMB_TIPOIMPFIX", "0"}, {"TXT_IMPFIX", ""}};
    for (const auto& [control, text] : changes) r.texts[control] = text;
    return r;
}

Value column(const GeneratedRow& row, std::string_view name) {
    for (const auto& [column, value] : row) {
        if (column == name) return value;
    }
    return Value("absent");
}

TEST(Generation, ControllaGenerazione) {
    const std::vector<std::pair<GenerationRequest, std::string>> cases = {
        {request({}), ""},
        {request({{"TXT_GGDECOR", "-1"}}), "TXT_GGDECOR"},
        {request({{"TXT_GGDECOR", " "}}), "TXT_GGDECOR"},
        {request({{"CMB_TIPODECORR", "2"}, {"TXT_GGSCADFIX1", "10"}, {"TXT_GGDECOR", ""}}),
         "TXT_GGDECOR"},
        {request({{"CMB_TIPODECORR", "2"}, {"TXT_GGDECOR", "0"}}), "TXT_GGSCADFIX1"},
        {request({{"CMB_TIPODECORR", "2"}, {"TXT_GGSCADFIX1", "10"}, {"TXT_GGDECOR", "0"}}), ""},
        {request({{"CMB_TIPODECORR", "3"}}), "TXT_GGMMFIX"},
        {request({{"CMB_TIPODECORR", "4"}}), "TXT_DAGGFIX2"},
        {request({{"CMB_TIPODECORR", "4"},
                  {"TXT_DAGGFIX1", "1"},
                  {"TXT_AGGFIX1", "15"},
                  {"TXT_GGSCADFIX1", "20"}}),
         ""},
        {request({{"TXT_NUMIMP", "5"}, {"TXT_DENIMP", "4"}}), "TXT_NUMIMP"},
        {request({{"TXT_IVA", ""}}), "TXT_IVA"},
        {request({{"CMB_FLGFRPERCIVA", "0"}}), "TXT_NUMIVA"},
    };
    for (const auto& [r, control] : cases) EXPECT_EQ(ControllaGenerazione(r), control);
}

TEST(Generation, RowsNumberedAfterTheExistingOnesInColumnOrder) {
    const auto fresh = RigheGeneraRate(request({}), "RB306 ", 0);
    const auto after_two = RigheGeneraRate(request({}), "RB306", 2);
    ASSERT_EQ(fresh.size(), 3u);
    ASSERT_EQ(after_two.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(column(fresh[i], "CG63_PROG"), Value(i + 1));
        EXPECT_EQ(column(after_two[i], "CG63_PROG"), Value(i + 3));
        EXPECT_EQ(column(fresh[i], "CG63_GGDECOR"), Value(30 * (i + 1)));
        EXPECT_EQ(column(after_two[i], "CG63_GGDECOR"), Value(30 * (i + 1)));
    }
    std::string order;
    for (const auto& [column, value] : fresh[2]) order += std::string(column.substr(5)) + " ";
    EXPECT_EQ(
        order,
        "CODPAG_CG62 PROG TIPOEFF STIPOEFF INDTIPOCALEND INDTIPODECOR GGDECOR INDDATARIF "
        "GGMMFIX FLGFRPERCIMP PERCIMP EL1FRIMP EL2FRIMP FLGFRPERCIVA PERCIVA EL1FRIVA "
        "EL2FRIVA INDIMPFIX IMPORFIX DAGGFIX1 AGGFIX1 GGSCADFIX1 DAGGFIX2 AGGFIX2 GGSCADFIX2 ");

    const GeneratedRow& row = fresh[0];
    EXPECT_EQ(column(row, "CG63_CODPAG_CG62"), Value("RB306"));
    EXPECT_TRUE(column(row, "CG63_STIPOEFF").is_null());
    EXPECT_TRUE(column(row, "CG63_PERCIMP").is_null());
    EXPECT_TRUE(column(row, "CG63_GGMMFIX").is_null());
    EXPECT_EQ(column(row, "CG63_EL2FRIMP"), Value(3));
    EXPECT_EQ(column(row, "CG63_PERCIVA"), Value(33.3333));
}

TEST(Generation, OtherStartRulesCopyTheirDaysAndBadBoxesAreLeftOut) {
    const auto fixed_day = RigheGeneraRate(request({{"CMB_TIPODECORR", "2"},
                                                    {"TXT_GGDECOR", "0"},
                                                    {"TXT_GGMMFIX", "15/08"},
                                                    {"TXT_SOTTOTIPO", "3 "}}),
                                           "X", 0);
    for (const GeneratedRow& row : fixed_day) {
        EXPECT_EQ(column(row, "CG63_GGDECOR"), Value(0));
        EXPECT_EQ(column(row, "CG63_GGMMFIX"), Value(815));
        EXPECT_EQ(column(row, "CG63_STIPOEFF"), Value(3));
    }
    EXPECT_TRUE(RigheGeneraRate(request({{"TXT_NUMERORATE", "0"}}), "X", 4).empty());
    EXPECT_EQ(RigheGeneraRate(request({{"TXT_NUMERORATE", "150"}}), "X", 0).size(), 99u);

    const auto bad = RigheGeneraRate(request({{"CMB_TIPO", "x"}, {"CMB_TIPODECORR", ""}}), "X", 0);
    ASSERT_EQ(bad.size(), 3u);
    EXPECT_EQ(column(bad[2], "CG63_TIPOEFF"), Value("absent"));
    EXPECT_EQ(column(bad[2], "CG63_INDTIPODECOR"), Value("absent"));
    EXPECT_EQ(column(bad[2], "CG63_GGDECOR"), Value(30));
}

}  // namespace
}  // namespace condpag
