// Amounts and dates typed and shown the Italian way.

#include "rules/italian_format.h"

#include <gtest/gtest.h>

#include <tuple>

namespace condpag {
namespace {

TEST(ItalianFormat, AmountsTypedAnyUsualWayReadAsTheSameNumber) {
    const std::pair<const char*, double> accepted[] = {
        // clang-format off
        {"1.234,50", 1234.5}, {"1234,50", 1234.5}, {"1234.50", 1234.5}, {" 1234,5 ", 1234.5},
        {"1.234.567,5", 1234567.5}, {"1.234.567", 1234567}, {"0,5", 0.5}, {"-12,25", -12.25},
        {"100", 100}, {"33,3333", 33.3333}, {"+7", 7},
        // clang-format on
    };
    for (const auto& [typed, value] : accepted) {
        auto read = LeggiImporto(typed);
        ASSERT_TRUE(read.ok()) << typed;
        EXPECT_DOUBLE_EQ(*read, value) << typed;
    }
    for (const char* typed : {"", "abc", "1,234,50", "12.34,5", "1.23,4", "1,", ",5", "1.2.3",
                              "12a", "1 234", "--1", "1234.", "1.2345,0", "1e5"}) {
        auto read = LeggiImporto(typed);
        ASSERT_FALSE(read.ok()) << typed;
        EXPECT_NE(read.error().message.find(typed), std::string::npos) << "quotes what was typed";
    }
}

TEST(ItalianFormat, AmountsShownWithGroupedThousandsAndTwoDecimals) {
    const std::pair<double, std::string> amounts[] = {
        {1234.5, "1.234,50"},          {0, "0,00"},     {999, "999,00"}, {1000, "1.000,00"},
        {1234567.891, "1.234.567,89"}, {-0.5, "-0,50"}, {-0.001, "0,00"}};
    for (const auto& [value, shown] : amounts) EXPECT_EQ(FormattaImporto(value), shown) << value;
    // The column formats: shares "##0.0000", discounts "##0.00", no grouping without a comma.
    const std::tuple<double, const char*, std::string> formatted[] = {
        {33.333333, "##0.0000", "33,3333"}, {1234.5, "##0.00", "1234,50"}, {7, "##0", "7"}};
    for (const auto& [value, format, shown] : formatted) {
        EXPECT_EQ(FormattaNumero(value, format), shown) << value << " " << format;
    }
    EXPECT_EQ(FormattaDecimale(33.3333), "33,3333");
    EXPECT_EQ(FormattaDecimale(100), "100");
}

TEST(ItalianFormat, DatesTypedAsDayMonthYearOrIso) {
    const std::pair<const char*, Data> dates[] = {{"07/12/2026", {2026, 12, 7}},
                                                  {"7/2/2024", {2024, 2, 7}},
                                                  {"2024-02-29", {2024, 2, 29}},
                                                  {"01/01/2026", {2026, 1, 1}},
                                                  {"29/02/2000", {2000, 2, 29}}};
    for (const auto& [typed, date] : dates) EXPECT_EQ(*LeggiData(typed), date) << typed;
    for (const char* typed : {"29/02/2023", "29/02/1900", "31/04/2026", "00/01/2026", "1/13/2026",
                              "2026-1-1", "01/01/26", "", "oggi", "01-01-2026"}) {
        EXPECT_FALSE(LeggiData(typed).ok()) << typed;
    }
    EXPECT_EQ(FormattaData({2026, 3, 5}), "05/03/2026");
    EXPECT_EQ(FormattaDataIso({2026, 3, 5}), "2026-03-05");
}

}  // namespace
}  // namespace condpag
