#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "widgets/FormatFloat.h"

namespace {

const NumberSeparators kPoint{u'.', u','};
const NumberSeparators kComma{u',', u'.'};

struct Row {
  const char* pattern;
  long double value;
  NumberSeparators separators;
  const char16_t* expected;
  const char* why;
};

const Row kRows[] = {
    {"0", 0, kPoint, u"0", "one forced integer digit"},
    {"0", 123, kPoint, u"123", "integer digits beyond the placeholders are all shown"},
    {"0", 2.5L, kPoint, u"3", "a tie rounds away from zero"},
    {"0", -2.5L, kPoint, u"-3", "away from zero for negatives too"},
    {"0", -0.4L, kPoint, u"0", "no minus sign when no nonzero digit shows"},
    {"00000", 42, kPoint, u"00042", "five forced integer digits"},
    {"#.##", 0.5L, kPoint, u".5", "no forced integer digit"},
    {"0.00", 1.5L, kPoint, u"1.50", "forced decimals are padded"},
    {"0.00", 0.125L, kPoint, u"0.13", "0.125 is exact in binary: a true tie, rounds up"},
    {"0.00", -0.001L, kPoint, u"0.00", "rounds to zero: no sign"},
    {"0.##", 1.5L, kPoint, u"1.5", "optional decimals drop trailing zeros"},
    {"0.##", 12, kPoint, u"12", "no decimal shown, so no separator"},
    {"0.##", 1.999L, kPoint, u"2", "rounding carries into the integer part"},
    {"0.0#", 1, kPoint, u"1.0", "one forced decimal, one optional"},
    {"0.##", 1.5L, kComma, u"1,5", "the locale's decimal separator"},
    {",0", 1234567, kPoint, u"1,234,567", "groups of three"},
    {",0", 123, kPoint, u"123", "nothing to group"},
    {",0", -1234, kPoint, u"-1,234", "grouping after the sign"},
    {",0.00", 1234.5L, kComma, u"1.234,50", "both separators from the locale"},
    {"0,", 1234, kPoint, u"1,234", "a comma anywhere in the integer part groups"},
    {",0", 1234, NumberSeparators{u'.', 0}, u"1234", "a locale without thousands separator"},
    {"0.##############", 1.0L / 3, kPoint, u"0.33333333333333", "14 decimals of 1/3"},
    {"0.##############", 2.0L / 3, kPoint, u"0.66666666666667", "15th digit 6 rounds the 14th up"},
    {"0.##############", 1234567890.123456789L, kPoint, u"1234567890.12346",
     "10 integer digits leave room for 5 of the 15 significant digits"},
    {"0.00000", 1234567890123.456L, kPoint, u"1234567890123.46000",
     "15 significant digits (13 + 2), the rest of the forced decimals are zeros"},
    {"0", 123456789012345678.0L, kPoint, u"123456789012346000",
     "digits past the 15th significant one show as zeros"},
    {"0E-", 0, kPoint, u"0E0", "zero has exponent 0"},
    {"0E-", 150, kPoint, u"2E2", "1.5E2 rounds away from zero to one digit"},
    {"0.##E-", 123, kPoint, u"1.23E2", "one integer digit, exponent without +"},
    {"0.##E-", -0.00125L, kPoint, u"-1.25E-3", "negative exponent written with its sign"},
    {"0.00E-", 9.999L, kPoint, u"1.00E1", "rounding to 10.00 moves the exponent"},
    {"0.00E+", 5, kPoint, u"5.00E+0", "E+ always writes the sign"},
    {"0.0E-000", 12, kPoint, u"1.2E001", "zeros after E- give the least exponent digits"},
    {"0.##############E-", 1.0L / 3, kPoint, u"3.33333333333333E-1", "15 digits in all"},
    {"0.##", std::numeric_limits<long double>::infinity(), kPoint, u"INF", "infinity"},
    {"0.##", -std::numeric_limits<long double>::infinity(), kPoint, u"-INF", "minus infinity"},
    {"0.##", std::numeric_limits<long double>::quiet_NaN(), kPoint, u"NAN", "not a number"},
};

TEST(FormatFloat, FollowsThePatternCharacters) {
  for (const Row& row : kRows) {
    EXPECT_EQ(FormatFloat(row.pattern, row.value, row.separators), row.expected)
        << row.pattern << ": " << row.why;
  }
}

TEST(FormatFloat, RejectsPatternsOutsideItsGrammar) {
  for (const char* pattern : {"0.0.0", "0E", "0E*0", "abc", "0;0", "0.0,0"}) {
    EXPECT_THROW(FormatFloat(pattern, 1, kPoint), std::invalid_argument) << pattern;
  }
}

TEST(FormatFloat, WritesEveryIntegerDigitOfTheLargestValues) {
  const std::u16string text = FormatFloat("0", std::numeric_limits<long double>::max(), kPoint);
  // 1.18973149535723176502e+4932: 4933 integer digits, 15 significant ones.
  ASSERT_EQ(text.size(), 4933u);
  EXPECT_EQ(text.substr(0, 15), u"118973149535723");
  EXPECT_EQ(text.find_first_not_of(u'0', 15), std::u16string::npos);
}

}  // namespace
