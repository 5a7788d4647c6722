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

// A generated row as "COLUMN=value" in its column order, with "-" for a null.
std::string shown(const GeneratedRow& row) {
    std::string text;
    for (const auto& [column, value] : row) {
        text +=
            std::string(column.substr(5)) + "=" + (value.is_null() ? "-" : value.to_text()) + " ";
    }
    return text;
}

TEST(Generation, ControllaGenerazione) {
    const std::vector<std::pair<GenerationRequest, std::string>> cases = {
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
        {request({{"TXT_NUMIMP", "0"}, {"TXT_DENIMP", "0"}}), "TXT_NUMIMP"},
        {request({{"TXT_IVA", ""}}), "TXT_IVA"},
        {request({{"CMB_FLGFRPERCIVA", "0"}}), "TXT_NUMIVA"},
    };
    for (const auto& [r, control] : cases) EXPECT_EQ(ControllaGenerazione(r), control);
}

// Rows numbered after the existing ones, in column order: the month rule adds 30 days a row,
// other start rules copy their days, and bad choices leave their columns out.
TEST(Generation, RigheGeneraRate) {
    const auto after_two = RigheGeneraRate(request({}), "RB306 ", 2);
    const auto fixed_day = RigheGeneraRate(request({{"CMB_TIPODECORR", "2"},
                                                    {"TXT_GGDECOR", "0"},
                                                    {"TXT_GGMMFIX", "15/08"},
                                                    {"TXT_SOTTOTIPO", "3 "}}),
                                           "X", 0);
    const auto bad = RigheGeneraRate(request({{"CMB_TIPO", "x"}, {"CMB_TIPODECORR", ""}}), "X", 0);
    EXPECT_EQ(after_two.size(), 3u);
    EXPECT_EQ(
        shown(after_two.at(2)).substr(0, 87),
        "CODPAG_CG62=RB306 PROG=5 TIPOEFF=2 STIPOEFF=- INDTIPOCALEND=0 INDTIPODECOR=1 GGDECOR=90");
    EXPECT_EQ(shown(fixed_day.at(2)),
              "CODPAG_CG62=X PROG=3 TIPOEFF=2 STIPOEFF=3 INDTIPOCALEND=0 INDTIPODECOR=2 GGDECOR=0 "
              "INDDATARIF=5 GGMMFIX=815 FLGFRPERCIMP=0 PERCIMP=- EL1FRIMP=1 EL2FRIMP=3 "
              "FLGFRPERCIVA=1 PERCIVA=33.3333 EL1FRIVA=- EL2FRIVA=- INDIMPFIX=0 IMPORFIX=- "
              "DAGGFIX1=- AGGFIX1=- GGSCADFIX1=- DAGGFIX2=- AGGFIX2=- GGSCADFIX2=- ");
    EXPECT_EQ(shown(bad.at(2)).substr(0, 71),
              "CODPAG_CG62=X PROG=3 STIPOEFF=- INDTIPOCALEND=0 GGDECOR=30 INDDATARIF=5");
    EXPECT_TRUE(RigheGeneraRate(request({{"TXT_NUMERORATE", "0"}}), "X", 4).empty());
    EXPECT_EQ(RigheGeneraRate(request({{"TXT_NUMERORATE", "150"}}), "X", 0).size(), 99u);
}

}  // namespace
}  // namespace condpag
