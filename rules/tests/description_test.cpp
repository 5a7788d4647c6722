#include "rules/description.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "rules/records.h"
#include "rules/tests/rows.h"

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

const Record kThird = with(rata(2, 1, 30, 0, 0, 0), {{"CG63_FLGFRPERCIMP", 0},
                                                     {"CG63_EL1FRIMP", 1},
                                                     {"CG63_EL2FRIMP", 3},
                                                     {"CG63_FLGFRPERCIVA", 0},
                                                     {"CG63_EL1FRIVA", "1"},
                                                     {"CG63_EL2FRIVA", "3"}});

// Values as the storage and the editor hand them over: texts with blanks, nulls, numbers that
// are not whole, dates and intervals in every shape.
TEST(Description, GroupsDayListsAndCutsAt40ForEveryKindOfValue) {
    const Record half = rata(2, 1, 30, 5, 50, 50);
    Record untyped = half;  // installments of one term need not hold the same columns
    untyped.erase("CG63_TIPOEFF");
    const Record interval{{"CG63_GGSCADFIX1", 20}, {"CG63_DAGGFIX1", 1}, {"CG63_AGGFIX1", 15}};
    // clang-format off
    const std::pair<std::vector<Record>, std::optional<std::string>> cases[] = {
        {{rata(13, 1, 0, 0, 100, 100)}, "Num.1 Rd (100%/100%) 0GG-DF"},
        {{kThird, with(kThird, {{"CG63_GGDECOR", 60}}), with(kThird, {{"CG63_GGDECOR", 90}})},
         "Num.3 Rb (33,33%/33,33%) 30-60-90GG-DF"},
        {{with(kThird, {{"CG63_INDDATARIF", 5}, {"CG63_FLGFRPERCIVA", 1}, {"CG63_PERCIVA", 50}}),
          rata(2, 1, 60, 5, "33,3333", 50)},
         "Num.2 Rb (33,33%/50%) 30-60GG-FM"},
        {{rata(5, 1, 30, 5, 50, 50), rata(13, 2, 10, 5, 50, 50)},
         "Num.1 Cess (50%/50%) 30GG-FM + Num.1 ..."},
        {{with(rata(2, 1, 30, 0, 50, 50), interval), with(rata(2, 4, 30, 0, 50, 50), interval)},
         "Num.2 Rb (50%/50%) 30GG-[20[1..15]]-DF"},
        {{untyped, half}, "Num.1  (50%/50%) 30GG-FM + Num.1 Rb  ..."},
        {{half, untyped}, "Num.1 Rb (50%/50%) 30GG-FM + Num.1   ..."},
        {{rata(99, 2, 10, 4, 100, 100)}, "Num.1 Des (100%/100%) 10-DR"},
        {{rata(13, 3, 815, 0, 100, 100)}, "Num.1 Rd (100%/100%) 15/08-DF"},
        {{rata(2, Value(), Value(), 5, 50, 50)}, "Num.1 Rb (50%/50%) FM"},
        {{rata(17, 9, 30, 0, 100, 100)}, "Num.1  (100%/100%) DF"},
        {{with(rata(2, 4, Value(), 0, 100, 100), {{"CG63_DAGGFIX1", 1},
                                                  {"CG63_GGSCADFIX2", 5},
                                                  {"CG63_DAGGFIX2", 16},
                                                  {"CG63_AGGFIX2", 31}})},
         "Num.1 Rb (100%/100%) [5[16..31]]-DF"},
        {{with(rata(2, 4, Value(), 0, 100, 100), {{"CG63_GGSCADFIX1", 20},
                                                  {"CG63_DAGGFIX1", 1},
                                                  {"CG63_AGGFIX1", 15},
                                                  {"CG63_GGSCADFIX2", 5},
                                                  {"CG63_DAGGFIX2", 16},
                                                  {"CG63_AGGFIX2", 31}})},
         "Num.1 Rb (100%/100%) [20[1..15], 5[1 ..."},
        {{rata(2, 1, 300, 5, 25, 25), rata(2, 1, 600, 5, 25, 25), rata(2, 1, 900, 5, 25, 25),
          rata(2, 1, 1200, 5, 25, 25)},
         "Num.4 Rb (25%/25%) 300-600-900-1200GG-FM"},
        {{rata(2, 1, 3000, 5, 25, 25), rata(2, 1, 600, 5, 25, 25), rata(2, 1, 900, 5, 25, 25),
          rata(2, 1, 1200, 5, 25, 25)},
         "Num.4 Rb (25%/25%) 3000-600-900-1200 ..."},

        {{rata("2 ", "1", "30  ", "5", "50 ", "50")}, "Num.1 Rb (50%/50%) 30GG-FM"},
        {{with(kThird, {{"CG63_EL1FRIMP", "2"}, {"CG63_EL2FRIMP", "3,0"}})},
         "Num.1 Rb (66,66%/33,33%) 30GG-DF"},
        {{with(kThird, {{"CG63_EL2FRIMP", 7}, {"CG63_EL2FRIVA", 7}})},
         "Num.1 Rb (14,28%/14,28%) 30GG-DF"},
        {{rata(2, 1, 30, 5, "1/3", "2/3")}, "Num.1 Rb (33,33%/66,66%) 30GG-FM"},
        {{rata(2, 1, 30, 5, 12.5, 0.001)}, "Num.1 Rb (12,5%/0,001%) 30GG-FM"},
        // Stored in fixed notation, a tiny share reads back; its 5 characters are its general form.
        {{rata(2, 1, 30, 5, 1e-7, 100)}, "Num.1 Rb (1E-07%/100%) 30GG-FM"},
        {{with(half, {{"CG63_FLGFRPERCIMP", 2}, {"CG63_FLGFRPERCIVA", Value()}})},
         "Num.1 Rb (%/%) 30GG-FM"},
        {{with(half, {{"CG63_INDIMPFIX", "1"}, {"CG63_IMPORFIX", "99,95"}})},
         "Num.1 Rb 99,95+(50%/50%) 30GG-FM"},
        {{with(half, {{"CG63_INDIMPFIX", 1}})}, "Num.1 Rb (50%/50%) 30GG-FM"},
        {{with(half, {{"CG63_INDIMPFIX", 0}, {"CG63_IMPORFIX", 100}})},
         "Num.1 Rb (50%/50%) 30GG-FM"},
        {{with(half, {{"CG63_INDIMPFIX", 1}, {"CG63_IMPORFIX", 1234567.891}})},
         "Num.1 Rb 1234567,891+(50%/50%) 30GG-FM"},
        {{rata(2, 1, Value(), 5, 50, 50)}, "Num.1 Rb (50%/50%) GG-FM"},
        {{rata(2, 1, 30.5, 5, 50, 50)}, "Num.1 Rb (50%/50%) 30.5GG-FM"},
        {{rata(2, 3, "1231", 5, 50, 50)}, "Num.1 Rb (50%/50%) 31/12-FM"},
        {{rata(2, 3, 1, 5, 50, 50)}, "Num.1 Rb (50%/50%) 01/00-FM"},
        {{rata(2, 3, 12045, 5, 50, 50)}, "Num.1 Rb (50%/50%) 41/25-FM"},
        {{rata(2, 3, "x y", 5, 50, 50)}, "Num.1 Rb (50%/50%) yx/-FM"},
        {{rata(2, 3, -815, 5, 50, 50)}, "Num.1 Rb (50%/50%) 81/-0-FM"},
        {{rata(2, 3, Value(), 5, 50, 50)}, "Num.1 Rb (50%/50%) -FM"},
        {{rata(2, 3, 815.5, 5, 50, 50)}, "Num.1 Rb (50%/50%) 16/08-FM"},
        {{with(rata(2, 4, Value(), 0, 100, 100), {{"CG63_GGSCADFIX1", 20}, {"CG63_AGGFIX1", " "}})},
         "Num.1 Rb (100%/100%) []-DF"},
        {{rata(2, 1, 30, 5, 50, 50), rata(2, 3, 815, 5, 50, 50), rata(2, 1, 60, 5, 50, 50),
          rata(2, 1, 90, 5, 50, 50)},
         "Num.4 Rb (50%/50%) 30GG-15/08-60-90GG-FM"},
        {{rata(2, 1, 30, 5, 50, 50), rata(13, 1, 0, 0, 50, 50), rata(2, 1, 60, 5, 50, 50)},
         "Num.2 Rb (50%/50%) 30-60GG-FM + Num. ..."},
        {{rata(2, 1, 30, 0, 10, 10), rata(2, 1, 30, 1, 10, 10), rata(2, 1, 30, 2, 10, 10),
          rata(2, 1, 30, 3, 10, 10), rata(2, 1, 30, 4, 10, 10)},
         "Num.1 Rb (10%/10%) 30GG-DF + Num.1 R ..."},
        {{rata("2.0", 1, 30, "5.0", 50, 50)}, "Num.1  (50%/50%) 30GG-FM"},
        // rows it cannot describe make the whole description fail
        {{half, with(half, {{"CG63_INDDATARIF", Value()}})}, std::nullopt},
        {{half, with(half, {{"CG63_INDDATARIF", 7}})}, std::nullopt},
        {{half, with(half, {{"CG63_INDIMPFIX", ""}})}, std::nullopt},
        {{half, with(kThird, {{"CG63_EL2FRIMP", 0}})}, std::nullopt},
        {{half, with(kThird, {{"CG63_EL1FRIVA", ""}})}, std::nullopt},
        {{half, with(half, {{"CG63_PERCIMP", "abc"}})}, std::nullopt},
        {{with(half, {{"CG63_PERCIMP", ""}})}, "Num.1 Rb (0%/50%) 30GG-FM"},
    };
    // clang-format on
    for (const auto& [rows, expected] : cases) {
        EXPECT_EQ(DescrizioneAutomatica(rows, {}), expected) << rows.size();
    }

    EXPECT_EQ(DescrizioneAutomatica(std::vector<Record>{kThird}, {}, '.'),
              "Num.1 Rb (33.33%/33.33%) 30GG-DF");
    EXPECT_EQ(DescrizioneAutomatica({}, {}), "");

    // A translated token with a letter outside ASCII counts as one character in the cut.
    auto accented = [](std::string_view token) {
        return token == "FM" ? std::string("Fin m\xc3\xa9s") : std::string(token);
    };
    EXPECT_EQ(
        DescrizioneAutomatica(std::vector<Record>{rata(2, 1, 3000000, 5, 12.5, 12.5)}, accented),
        "Num.1 Rb (12,5%/12,5%) 3000000GG-Fin m\xc3\xa9s");
    EXPECT_EQ(
        DescrizioneAutomatica(std::vector<Record>{rata(2, 1, 30000000, 5, 12.5, 12.5)}, accented),
        "Num.1 Rb (12,5%/12,5%) 30000000GG-Fi ...");
}

}  // namespace
}  // namespace condpag
