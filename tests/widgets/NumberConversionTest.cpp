#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "widgets/ConvertError.h"
#include "widgets/NumberConversion.h"

namespace {

std::string integerMessage(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}

TEST(StrToInt, ReadsSignedDecimalIntegersThatFit32Bits) {
  const struct {
    const char* text;
    int32_t value;
  } rows[] = {
      {"0", 0},
      {"7", 7},
      {"-7", -7},
      {"+7", 7},
      {"0042", 42},
      {"2147483647", std::numeric_limits<int32_t>::max()},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"-0", 0},
  };
  for (const auto& row : rows) EXPECT_EQ(StrToInt(std::string(row.text)), row.value) << row.text;
}

TEST(StrToInt, RejectsEverythingElseWithTheQuotedText) {
  for (const char* text : {"", "-", "+", "abc", "12a", " 12", "12 ", "1.5", "1E3", "0x10",
                           "2147483648", "-2147483649", "99999999999999999999", "--1"}) {
    try {
      StrToInt(std::string(text));
      ADD_FAILURE() << "accepted " << text;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), integerMessage(text));
    }
  }
}

TEST(StrToFloat, ReadsNumbersWithTheGivenSeparator) {
  const struct {
    const char16_t* text;
    char16_t separator;
    long double value;
  } rows[] = {
      {u"0", u'.', 0.0L},        {u"12.5", u'.', 12.5L},  {u"-12.5", u'.', -12.5L},
      {u"12,5", u',', 12.5L},    {u"1E3", u'.', 1000.0L}, {u"1e-3", u'.', 0.001L},
      {u"2.5E+2", u'.', 250.0L}, {u".5", u'.', 0.5L},     {u"5.", u'.', 5.0L},
      {u"1E-5000", u'.', 0.0L},  // too small to represent: zero
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StrToFloat(row.text, row.separator), row.value);
  }
  EXPECT_TRUE(std::signbit(StrToFloat(u"-0", u'.')));
}

TEST(StrToFloat, RejectsTextsThatAreNoNumber) {
  const struct {
    const char16_t* text;
    char16_t separator;
    const char* message;
  } rows[] = {
      {u"1E", u'.', "'1E' is not a valid floating point value"},
      {u"", u'.', "'' is not a valid floating point value"},
      {u"-", u'.', "'-' is not a valid floating point value"},
      {u"E5", u'.', "'E5' is not a valid floating point value"},
      {u"1E-", u'.', "'1E-' is not a valid floating point value"},
      {u"1.5", u',', "'1.5' is not a valid floating point value"},
      {u"1,5", u'.', "'1,5' is not a valid floating point value"},
      {u"1..5", u'.', "'1..5' is not a valid floating point value"},
      {u"1E5000", u'.', "'1E5000' is not a valid floating point value"},  // beyond long double
      {u"12\u00e95", u'.',
       "'12\xc3\xa9"
       "5' is not a valid floating point value"},  // quoted as UTF-8
  };
  for (const auto& row : rows) {
    try {
      StrToFloat(row.text, row.separator);
      ADD_FAILURE() << "accepted " << row.message;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), std::string(row.message));
    }
  }
}

TEST(TruncToInt64, TruncatesTowardZeroAndRejectsWhatDoesNotFit) {
  EXPECT_EQ(TruncToInt64(12.9L, u"12.9"), 12);
  EXPECT_EQ(TruncToInt64(-12.9L, u"-12.9"), -12);
  EXPECT_EQ(TruncToInt64(-9223372036854775808.0L, u"x"), std::numeric_limits<int64_t>::min());
  EXPECT_THROW(TruncToInt64(9223372036854775808.0L, u"9223372036854775808"), EConvertError);
  EXPECT_THROW(TruncToInt64(1E30L, u"1E30"), EConvertError);
}

}  // namespace
