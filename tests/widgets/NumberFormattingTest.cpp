#include <gtest/gtest.h>

#include "widgets/NumberFormatting.h"

namespace {

using F = TNumberFormat;
const NumberSeparators kPoint{u'.', u','};
const NumberSeparators kComma{u',', u'.'};

struct Row {
  TNumberFormat format;
  int decimals;
  long double value;
  const char16_t* expected;
  const char* why;
};

// Standard: pattern "0", then "." with Decimals "0"s (Decimals > 0) or 14 "#"
// (Decimals -1). Thousands: the same behind ",". Fixed texts keep at most 15
// significant digits: with n integer digits, at most 15 - n decimals are real
// and the rest of Decimals is padded with "0".
const Row kFixedRows[] = {
    {F::Standard, -1, 0, u"0", "0.############## shows 0 as 0"},
    {F::Standard, -1, 123, u"123", "whole numbers show no separator"},
    {F::Standard, -1, -12.5L, u"-12.5", "trailing optional decimals dropped"},
    {F::Standard, -1, 359, u"359", "a park position"},
    {F::Standard, -1, 0.1L, u"0.1", "0.1L rounds to 0.1 at 14 decimals"},
    {F::Standard, -1, 1.0L / 3, u"0.33333333333333", "14 decimals at most"},
    {F::Standard, -1, 1234567890.123456789L, u"1234567890.12346", "10 + 5 = 15 digits"},
    {F::Standard, -1, 1E20L, u"100000000000000000000", "21 integer digits, no exponent"},
    {F::Standard, 0, 2.5L, u"3", "pattern 0: rounds half away from zero"},
    {F::Standard, 0, -0.4L, u"0", "rounds to zero: no sign"},
    {F::Standard, 2, 0, u"0.00", "0.00"},
    {F::Standard, 2, 1.5L, u"1.50", "padded to 2 decimals"},
    {F::Standard, 2, -0.125L, u"-0.13", "exact tie rounds away from zero"},
    {F::Standard, 3, 1234567890123.456L, u"1234567890123.460",
     "13 integer digits: 2 real decimals, 1 padded zero"},
    {F::Standard, 2, 123456789012345.0L, u"123456789012345.00",
     "15 integer digits: no real decimal, both padded"},
    {F::Standard, 14, 1.5L, u"1.50000000000000", "1 + 14 = 15 digits"},
    {F::Thousands, -1, 0, u"0", ",0.############## shows 0 as 0"},
    {F::Thousands, -1, 999, u"999", "no group yet"},
    {F::Thousands, -1, 1000000, u"1,000,000", "groups of three"},
    {F::Thousands, -1, -1234, u"-1,234", "sign in front of the groups"},
    {F::Thousands, -1, 1234567.5L, u"1,234,567.5", "7 integer digits, room for 8 decimals"},
    {F::Thousands, -1, 1234567.123456789L, u"1,234,567.12345679", "7 + 8 = 15 digits"},
    {F::Thousands, 2, 1234.5L, u"1,234.50", ",0.00"},
    {F::Thousands, 2, 1E16L, u"10,000,000,000,000,000.00",
     "17 integer digits: the decimals are still two zeros"},
};

// Scientific: the fixed pattern followed by "E-" (one integer digit).
// Engineering: the exponent is 3k with k = trunc(log10|x| / 3); the mantissa
// x / 10^3k gets 14 decimals (13 when above 9, 12 when above 99) or Decimals
// if that is less; zero is formatted as Scientific.
const Row kExponentRows[] = {
    {F::Scientific, -1, 0, u"0E0", "0.##############E-"},
    {F::Scientific, -1, 123, u"1.23E2", "1.23 x 10^2"},
    {F::Scientific, -1, -0.00125L, u"-1.25E-3", "negative value and exponent"},
    {F::Scientific, -1, 1.0L / 3, u"3.33333333333333E-1", "1 + 14 digits"},
    {F::Scientific, 2, 0, u"0.00E0", "0.00E-"},
    {F::Scientific, 2, 123456, u"1.23E5", "rounded to 3 digits"},
    {F::Scientific, 2, 9.999L, u"1.00E1", "rounding up to 10.00 moves the exponent"},
    {F::Scientific, 0, 150, u"2E2", "0E-: 1.5 rounds away from zero"},
    {F::Engineering, -1, 0, u"0E0", "zero is formatted as Scientific"},
    {F::Engineering, -1, 1234, u"1.234E3", "log10 3.09 / 3 -> k 1; 1.234 with 14 #"},
    {F::Engineering, -1, 12345, u"12.345E3", "k 1; 12.345 is above 9: 13 #"},
    {F::Engineering, -1, 123456, u"123.456E3", "k 1; above 99: 12 #"},
    {F::Engineering, -1, 999, u"999E0", "log10 2.9996 / 3 -> k 0"},
    {F::Engineering, -1, 1000, u"1E3", "log10 exactly 3 -> k 1; mantissa 1"},
    {F::Engineering, -1, 1E6L, u"1E6", "k 2"},
    {F::Engineering, -1, -1234, u"-1.234E3", "log10 of the magnitude; -1.234 not above 9"},
    {F::Engineering, -1, 0.5L, u"0.5E0", "log10 -0.3 / 3 truncates toward zero to k 0"},
    {F::Engineering, -1, 0.0005L, u"0.5E-3", "log10 -3.3 / 3 = -1.1 -> k -1; 0.0005 / 1E-3"},
    {F::Engineering, 2, 12345.678L, u"12.35E3", "Decimals 2 < 13: 0.00"},
    {F::Engineering, 0, 1500, u"2E3", "Decimals 0: pattern 0; 1.5 rounds to 2"},
    {F::Engineering, 14, 123456, u"123.456000000000E3", "above 99: 12 forced zeros"},
    {F::Engineering, 14, 1234.5L, u"1.23450000000000E3", "14 forced decimals"},
};

void expectRows(const Row* begin, const Row* end, const NumberSeparators& separators) {
  for (const Row* row = begin; row != end; ++row) {
    EXPECT_EQ(FormatNumber(row->value, NumberStyle{row->format, row->decimals, separators}),
              row->expected)
        << static_cast<int>(row->format) << " decimals " << row->decimals << ": " << row->why;
  }
}

TEST(FormatNumber, FixedFormats) {
  expectRows(std::begin(kFixedRows), std::end(kFixedRows), kPoint);
}

TEST(FormatNumber, ExponentFormats) {
  expectRows(std::begin(kExponentRows), std::end(kExponentRows), kPoint);
}

// Every row with the separators swapped reads the same with "." and "," swapped.
TEST(FormatNumber, UsesTheLocaleSeparators) {
  const auto swap = [](std::u16string text) {
    for (char16_t& c : text) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
    return text;
  };
  const auto expectSwapped = [&](const Row* begin, const Row* end) {
    for (const Row* row = begin; row != end; ++row) {
      EXPECT_EQ(FormatNumber(row->value, NumberStyle{row->format, row->decimals, kComma}),
                swap(row->expected))
          << row->why;
    }
  };
  expectSwapped(std::begin(kFixedRows), std::end(kFixedRows));
  expectSwapped(std::begin(kExponentRows), std::end(kExponentRows));
}

}  // namespace
