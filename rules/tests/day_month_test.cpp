#include "rules/day_month.h"

#include <gtest/gtest.h>

#include <cmath>

#include "rules/tests/rows.h"

namespace condpag {
namespace {

TEST(DayMonth, StoredShownAndTypedForms) {
    // Stored month-day, shown day/month, and typed back with or without the bar; the grids and
    // boxes of the editor show and store the usual ones.
    auto shown = [](const Value& stored) { return FormattaGGMM(GGMMdaMMGG(stored), 1); };
    auto stored = [](std::string_view typed) { return MMGGdaGGMM(Value(TogliBarre(typed))); };
    EXPECT_EQ(stored("1503"), Value(315));
    EXPECT_EQ(stored("31/12 "), Value(1231));
    // An empty box stays empty: null as null, blanks as empty text (as null once typed back).
    EXPECT_TRUE(shown(Value()).is_null());
    EXPECT_TRUE(stored("").is_null());
    EXPECT_TRUE(MMGGdaGGMM(Value()).is_null());
    EXPECT_EQ(GGMMdaMMGG("  "), Value(""));
    EXPECT_EQ(FormattaGGMM(5, 0), Value("05"));
    EXPECT_EQ(FormattaGGMM("1503", 1), Value("15/03"));
    EXPECT_EQ(FormattaGGMM(315, 1), Value("03/15"));
}

TEST(DayMonth, DataValidaAndDataNonPrecedente) {
    int notices = 0;  // of a mode outside 0..3
    auto count = [&](const Notice& n) {
        ++notices;
        EXPECT_EQ(n.text, "Caso non contemplato in MDLCO_CONDPAG.DataValida!");
        EXPECT_EQ(n.title, "Informazione!");
    };
    // The editor's tests type 31/04, 29/02, ab, 1/3, 15085, 31125 and 32 into its boxes.
    const std::tuple<const char*, int, bool> cases[] = {
        {"15/03", 1, true},  {"1503", 1, true},   {"30/02", 1, false},  {"00/05", 1, false},
        {"15/13", 1, false}, {"15/3", 1, false},  {"31", 0, true},      {"0", 0, false},
        {"5", 0, true},      {"123", 0, false},   {"15/03", 2, false},  {"01/015", 1, false},
        {"15/03", 3, false}, {"15/03", 4, false}, {"15/03", -1, false}, {"", 1, true},
        {"   ", 1, true}};
    for (const auto& [text, mode, valid] : cases) {
        EXPECT_EQ(DataValida(text, mode, count), valid) << text << " mode " << mode;
    }
    EXPECT_EQ(notices, 2);

    // From, to, mode, and whether "to" does not come before "from".
    const std::tuple<const char*, const char*, int, bool> ranges[] = {
        {"15/03", "15/03", 1, true}, {"15/03", "14/03", 1, false}, {"01/03", "29/02", 1, false},
        {"31/01", "01/02", 1, true}, {"01/03", "", 1, false},      {"30/02", "01/03", 1, false},
        {"5", "31", 0, true},        {"20", "10", 0, false},       {"01/01", "31125", 1, false}};
    for (const auto& [from, to, mode, ok] : ranges) {
        EXPECT_EQ(DataNonPrecedente(from, to, mode), ok) << from << " " << to;
    }
}

TEST(DayMonth, FrazioneInPercentuale) {
    const std::optional<double> refused;
    const std::pair<const char*, std::optional<double>> shares[] = {
        {"1/4", 25.0},    {"3/4", 75.0},      {"40", 40.0},   {"1/0", refused},
        {"a/3", refused}, {"1/3/4", refused}, {"x", refused}, {"  ", 0.0}};
    for (const auto& [typed, percent] : shares) {
        EXPECT_EQ(FrazioneInPercentuale(typed), percent) << typed;
    }
    EXPECT_NEAR(*FrazioneInPercentuale("1/3"), 33.3333333, 1e-6);
}

}  // namespace
}  // namespace condpag
