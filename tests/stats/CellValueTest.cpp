// Reading a word as a number.
#include "stats/CellValue.h"

#include <gtest/gtest.h>

namespace kalnor::stats {
namespace {

TEST(ParseNumber, ReadsPointOrCommaSignsAndExponents) {
    EXPECT_EQ(parseNumber("2.5"), 2.5);
    EXPECT_EQ(parseNumber(" 2,5 "), 2.5);
    EXPECT_EQ(parseNumber("-3"), -3.0);
    EXPECT_EQ(parseNumber("+4"), 4.0);
    EXPECT_EQ(parseNumber(",5"), 0.5);
    EXPECT_EQ(parseNumber("1e3"), 1000.0);
}

TEST(ParseNumber, RefusesWhatIsNotANumber) {
    for (const char* word : {"", "  ", "rojo", "1.000,5", "2 3", "inf", "-inf", "nan", "-nan",
                             "+-5", "--5", "0x10", "1e999", "-"})
        EXPECT_FALSE(parseNumber(word).has_value()) << word;
}

TEST(ParseNumber, ReadsALongWord) {
    const std::string longNumber = "1." + std::string(100, '0') + "1";
    EXPECT_EQ(parseNumber(longNumber), 1.0);
}

} // namespace
} // namespace kalnor::stats
