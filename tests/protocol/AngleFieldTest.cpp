#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "protocol/AngleField.h"

namespace {

std::string text(const AngleField& field) { return std::string(field.begin(), field.end()); }

TEST(FormatAngle3, EveryAngleFromZeroTo999GivesItsThreeDigitsWithLeadingZeros) {
  for (int64_t n = 0; n <= 999; ++n) {
    char expected[8];
    std::snprintf(expected, sizeof expected, "%03d", static_cast<int>(n));
    const auto field = FormatAngle3(n);
    ASSERT_TRUE(field.has_value()) << n;
    EXPECT_EQ(text(*field), expected) << n;
  }
}

TEST(FormatAngle3, ValuesWithoutAThreeDigitFormYieldNoField) {
  // 1234 would otherwise become "124" and -5 "005": a move the operator did not ask for.
  for (const int64_t n :
       {int64_t{-1}, int64_t{-5}, int64_t{-123}, int64_t{1000}, int64_t{1234},
        (int64_t{1} << 32) + 100, int64_t{std::numeric_limits<int32_t>::min()},
        std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
    EXPECT_FALSE(FormatAngle3(n).has_value()) << n;
  }
}

}  // namespace
