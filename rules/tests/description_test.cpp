#include "rules/description.h"

#include <gtest/gtest.h>

#include <vector>

#include "rules/records.h"

namespace condpag {
namespace {

// An installment with percentage shares, fixed amount not handled.
Record rata(Value type, Value rule, Value days, Value reference, Value taxable, Value vat) {
    Record row{{"CG63_TIPOEFF", type},         {"CG63_INDTIPODECOR", rule},
               {"CG63_INDDATARIF", reference}, {"CG63_FLGFRPERCIMP", 1},
               {"CG63_PERCIMP", taxable},      {"CG63_FLGFRPERCIVA", 1},
               {"CG63_PERCIVA", vat},          {"CG63_INDIMPFIX", 0}};
    const char* day_column = rule == Value(2)   ? "CG63_GGSCADFIX1"
                             : rule == Value(3) ? "CG63_GGMMFIX"
                                                : "CG63_GGDECOR";
    row[day_column] = days;
    return row;
}

Record with(Record row, std::initializer_list<std::pair<const std::string, Value>> changes) {
    for (const auto& [column, value] : changes) row[column] = value;
    return row;
}

const Record kThird = with(rata(2, 1, 30, 0, 0, 0), {{"CG63_FLGFRPERCIMP", 0},
                                                     {"CG63_EL1FRIMP", 1},
                                                     {"CG63_EL2FRIMP", 3},
                                                     {"CG63_FLGFRPERCIVA", 0},
                                                     {"CG63_EL1FRIVA", "1"},
                                                     {"CG63_EL2FRIVA", "3"}});

TEST(Description, BuildsGroupsDayListsAndCutsAt40) {
    struct Case {
        const char* name;
        std::vector<Record> rows;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"rimessa diretta", {rata(13, 1, 0, 0, 100, 100)}, "Num.1 Rd (100%/100%) 0GG-DF"},
        {"two halves end of month",
         {rata(2, 1, 30, 5, 50, 50), rata(2, 1, 60, 5, 50, 50)},
         "Num.2 Rb (50%/50%) 30-60GG-FM"},
        {"thirds as percentages, equal after the cut",
         {rata(2, 1, 30, 5, 33.3333, 33.3333), rata(2, 1, 60, 5, 33.3333, 33.3333),
          rata(2, 1, 90, 5, 33.3334, 33.3334)},
         "Num.3 Rb (33,33%/33,33%) 30-60-90GG-FM"},
        {"thirds as fractions",
         {kThird, with(kThird, {{"CG63_GGDECOR", 60}}), with(kThird, {{"CG63_GGDECOR", 90}})},
         "Num.3 Rb (33,33%/33,33%) 30-60-90GG-DF"},
        {"fraction and percentage of a third group together",
         {with(kThird, {{"CG63_INDDATARIF", 5}, {"CG63_FLGFRPERCIVA", 1}, {"CG63_PERCIVA", 50}}),
          rata(2, 1, 60, 5, "33,3333", 50)},
         "Num.2 Rb (33,33%/50%) 30-60GG-FM"},
        {"reference dates differ",
         {rata(2, 1, 30, 5, 50, 50), rata(2, 1, 60, 0, 50, 50)},
         "Num.1 Rb (50%/50%) 30GG-FM + Num.1 R ..."},
        {"types differ",
         {rata(5, 1, 30, 5, 50, 50), rata(13, 2, 10, 5, 50, 50)},
         "Num.1 Cess (50%/50%) 30GG-FM + Num.1 ..."},
        {"start rules differ in one group",
         {rata(2, 1, 30, 5, 50, 50), rata(2, 2, 10, 5, 50, 50)},
         "Num.2 Rb (50%/50%) 30GG-10-FM"},
        {"descriptive only, fixed day",
         {rata(99, 2, 10, 4, 100, 100)},
         "Num.1 Des (100%/100%) 10-DR"},
        {"fixed date", {rata(13, 3, 815, 0, 100, 100)}, "Num.1 Rd (100%/100%) 15/08-DF"},
        {"no start rule", {rata(2, Value(), Value(), 5, 50, 50)}, "Num.1 Rb (50%/50%) FM"},
        {"unlisted type and start rule", {rata(17, 9, 30, 0, 100, 100)}, "Num.1  (100%/100%) DF"},
        {"second interval only",
         {with(rata(2, 4, Value(), 0, 100, 100), {{"CG63_DAGGFIX1", 1},
                                                  {"CG63_GGSCADFIX2", 5},
                                                  {"CG63_DAGGFIX2", 16},
                                                  {"CG63_AGGFIX2", 31}})},
         "Num.1 Rb (100%/100%) [5[16..31]]-DF"},
        {"both intervals, cut",
         {with(rata(2, 4, Value(), 0, 100, 100), {{"CG63_GGSCADFIX1", 20},
                                                  {"CG63_DAGGFIX1", 1},
                                                  {"CG63_AGGFIX1", 15},
                                                  {"CG63_GGSCADFIX2", 5},
                                                  {"CG63_DAGGFIX2", 16},
                                                  {"CG63_AGGFIX2", 31}})},
         "Num.1 Rb (100%/100%) [20[1..15], 5[1 ..."},
        {"fixed amount",
         {with(rata(13, 1, 0, 0, 0, 0), {{"CG63_INDIMPFIX", 1}, {"CG63_IMPORFIX", 150.5}})},
         "Num.1 Rd 150,5+(0%/0%) 0GG-DF"},
        {"exactly 40 characters",
         {rata(2, 1, 300, 5, 25, 25), rata(2, 1, 600, 5, 25, 25), rata(2, 1, 900, 5, 25, 25),
          rata(2, 1, 1200, 5, 25, 25)},
         "Num.4 Rb (25%/25%) 300-600-900-1200GG-FM"},
        {"41 characters",
         {rata(2, 1, 3000, 5, 25, 25), rata(2, 1, 600, 5, 25, 25), rata(2, 1, 900, 5, 25, 25),
          rata(2, 1, 1200, 5, 25, 25)},
         "Num.4 Rb (25%/25%) 3000-600-900-1200 ..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescrizioneAutomatica(c.rows, {}), c.expected) << c.name;
    }

    std::vector<Record> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(rata(2, 1, 30 * i, 5, 8.3333, 8.3333));
    EXPECT_EQ(DescrizioneAutomatica(twelve, {}), "Num.12 Rb (8,333%/8,333%) 30-60-90-1 ...");
    EXPECT_EQ(DescrizioneAutomatica(std::vector<Record>{kThird}, {}, '.'),
              "Num.1 Rb (33.33%/33.33%) 30GG-DF");
    EXPECT_EQ(DescrizioneAutomatica({}, {}), "");
}

TEST(Description, FailsOnRowsItCannotDescribe) {
    const Record good = rata(2, 1, 30, 5, 50, 50);
    const std::vector<Record> bad = {
        with(good, {{"CG63_INDDATARIF", Value()}}), with(good, {{"CG63_INDDATARIF", 7}}),
        with(good, {{"CG63_INDIMPFIX", ""}}),       with(kThird, {{"CG63_EL2FRIMP", 0}}),
        with(kThird, {{"CG63_EL1FRIVA", ""}}),      with(good, {{"CG63_PERCIMP", "abc"}}),
    };
    for (const Record& row : bad) {
        EXPECT_EQ(DescrizioneAutomatica(std::vector<Record>{good, row}, {}), std::nullopt);
    }
    EXPECT_EQ(DescrizioneAutomatica(std::vector<Record>{with(good, {{"CG63_PERCIMP", ""}})}, {}),
              "Num.1 Rb (0%/50%) 30GG-FM");
}

TEST(Description, TranslatesEachReferenceTokenOncePerDescription) {
    int calls = 0;
    auto translate = [&](std::string_view token) {
        ++calls;
        return token == "FM" ? std::string("EM") : std::string(token);
    };
    const std::vector<Record> rows = {rata(2, 1, 30, 5, 50, 50), rata(2, 1, 60, 5, 50, 50)};
    EXPECT_EQ(DescrizioneAutomatica(rows, translate), "Num.2 Rb (50%/50%) 30-60GG-EM");
    EXPECT_EQ(calls, 7);
}

}  // namespace
}  // namespace condpag
