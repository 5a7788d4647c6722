#include "rules/day_month.h"

#include <gtest/gtest.h>

#include <cmath>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

TEST(DayMonth, StoredShownAndTypedForms) {
    auto shown = [](const Value& stored) { return FormattaGGMM(GGMMdaMMGG(stored), 1); };
    EXPECT_EQ(shown(315), Value("15/03"));
    EXPECT_EQ(shown(1231), Value("31/12"));
    EXPECT_EQ(shown(101), Value("01/01"));
    EXPECT_EQ(shown(0), Value("00/00"));
    EXPECT_TRUE(shown(Value()).is_null());
    EXPECT_EQ(GGMMdaMMGG("  "), Value(""));

    auto stored = [](std::string_view typed) { return MMGGdaGGMM(Value(TogliBarre(typed))); };
    EXPECT_EQ(stored("15/03"), Value(315));
    EXPECT_EQ(stored("1503"), Value(315));
    EXPECT_EQ(stored("31/12 "), Value(1231));
    EXPECT_TRUE(stored("").is_null());
    EXPECT_TRUE(MMGGdaGGMM(Value()).is_null());

    EXPECT_EQ(FormattaGGMM(5, 0), Value("05"));
    EXPECT_EQ(FormattaGGMM("1503", 1), Value("15/03"));
    EXPECT_EQ(FormattaGGMM(315, 1), Value("03/15"));
}

TEST(DayMonth, DataValidaAndDataNonPrecedente) {
    struct Case {
        std::string text;
        int mode;
        bool valid;
    };
    const Case cases[] = {
        {"15/03", 1, true},   {"1503", 1, true},   {"29/02", 1, true},  {"30/02", 1, false},
        {"31/04", 1, false},  {"00/05", 1, false}, {"15/13", 1, false}, {"15/3", 1, false},
        {"1/3", 1, false},    {"ab", 1, false},    {"", 1, true},       {"   ", 1, true},
        {"31", 0, true},      {"32", 0, false},    {"0", 0, false},     {"5", 0, true},
        {"123", 0, false},    {"15/03", 2, false}, {"15085", 1, false}, {"31125", 1, false},
        {"01/015", 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataValida(c.text, c.mode), c.valid) << c.text << " mode " << c.mode;
    }

    int notices = 0;
    auto count = [&](const Notice& n) {
        ++notices;
        EXPECT_EQ(n.text, "Caso non contemplato in MDLCO_CONDPAG.DataValida!");
        EXPECT_EQ(n.title, "Informazione!");
    };
    EXPECT_FALSE(DataValida("15/03", 3, count));
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(DataValida("15/03", 4, count));
    EXPECT_FALSE(DataValida("15/03", -1, count));
    EXPECT_EQ(notices, 2);

    EXPECT_TRUE(DataNonPrecedente("15/03", "15/03", 1));
    EXPECT_FALSE(DataNonPrecedente("15/03", "14/03", 1));
    EXPECT_FALSE(DataNonPrecedente("01/03", "29/02", 1));
    EXPECT_TRUE(DataNonPrecedente("31/01", "01/02", 1));
    EXPECT_FALSE(DataNonPrecedente("01/03", "", 1));
    EXPECT_FALSE(DataNonPrecedente("30/02", "01/03", 1));
    EXPECT_TRUE(DataNonPrecedente("5", "31", 0));
    EXPECT_FALSE(DataNonPrecedente("20", "10", 0));
    EXPECT_FALSE(DataNonPrecedente("01/01", "31125", 1));
}

TEST(DayMonth, FrazioneInPercentuale) {
    EXPECT_EQ(FrazioneInPercentuale("1/4"), 25.0);
    EXPECT_EQ(FrazioneInPercentuale("3/4"), 75.0);
    EXPECT_EQ(FrazioneInPercentuale("40"), 40.0);
    EXPECT_EQ(FrazioneInPercentuale("  "), 0.0);
    EXPECT_NEAR(*FrazioneInPercentuale("1/3"), 33.3333333, 1e-6);
    EXPECT_EQ(FrazioneInPercentuale("1/0"), std::nullopt);
    EXPECT_EQ(FrazioneInPercentuale("a/3"), std::nullopt);
    EXPECT_EQ(FrazioneInPercentuale("1/3/4"), std::nullopt);
    EXPECT_EQ(FrazioneInPercentuale("x"), std::nullopt);
}

}  // namespace
}  // namespace condpag
