// Numbers in requests and replies: read as sscanf reads them, written as printf writes them, in
// the C locale even while the process runs in a locale with a decimal comma.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "remote/RotctlNumbers.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

struct FloatCase {
  const char* text;
  std::optional<double> value;
};

void expectFloats() {
  const FloatCase cases[] = {
      {"200", 200}, {"200.50", 200.5}, {"-10", -10}, {"+5", 5},    {".5", 0.5},
      {"5.", 5},    {"1e2", 100},      {"1e", 1},    {"0x10", 16}, {"0x", 0},
      {"10,5", 10}, {"12x", 12},       {"-", {}},    {"+-5", {}},  {"--5", {}},
      {"abc", {}},  {"", {}},          {",5", {}},   {"?", {}},
  };
  for (const FloatCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LeadingFloat(c.text), c.value);
  }
  EXPECT_TRUE(std::isinf(*LeadingFloat("inf")));
  EXPECT_TRUE(std::isnan(*LeadingFloat("nan")));
}

void expectInts() {
  EXPECT_EQ(LeadingInt("16"), 16);
  EXPECT_EQ(LeadingInt("-1"), -1);
  EXPECT_EQ(LeadingInt("+8"), 8);
  EXPECT_EQ(LeadingInt("5x"), 5);
  EXPECT_EQ(LeadingInt("2.5"), 2);
  EXPECT_EQ(LeadingInt("x"), std::nullopt);
  EXPECT_EQ(LeadingInt("99999999999"), std::nullopt);
}

void expectFixedPoints() {
  EXPECT_EQ(FixedPoint(200, 2), "200.00");
  EXPECT_EQ(FixedPoint(0, 2), "0.00");
  EXPECT_EQ(FixedPoint(-180, 6), "-180.000000");
  EXPECT_EQ(FixedPoint(30.125, 2), "30.12");
}

TEST(RotctlNumbers, ReadAndWrittenAsTheCLibraryDoesInTheCLocale) {
  expectFloats();
  expectInts();
  expectFixedPoints();
}

// A German locale made for the test with Debian's localedef: printf itself writes a decimal
// comma there, the replies must not.
class GermanLocale : public testing::Test {
 protected:
  void SetUp() override {
    ChildProcess localedef("localedef",
                           {"-i", "de_DE", "-f", "UTF-8", locales_.Path("de_DE.UTF-8")});
    const std::optional<int> status = localedef.Wait(Deadline(kPatience));
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "localedef failed";
    setenv("LOCPATH", locales_.Path().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }

  TemporaryDirectory locales_;
};

TEST_F(GermanLocale, NumbersStayThoseOfTheCLocale) {
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.2f", 3.5);
  ASSERT_STREQ(printed, "3,50") << "the locale writes no decimal comma: the test proves nothing";
  expectFloats();
  expectInts();
  expectFixedPoints();
}

}  // namespace
