#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "protocol/PollQuery.h"

namespace {

std::string query(int32_t axisConfig) {
  CommandBuffer buf{};
  const size_t length = BuildPollQuery(axisConfig, buf);
  return std::string(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(length));
}

TEST(BuildPollQuery, TwoAxisConfigurationsAskForBothPositions) {
  for (const int32_t config : {2, 3, 4, std::numeric_limits<int32_t>::max()}) {
    EXPECT_EQ(query(config), "C2\r") << config;
  }
}

TEST(BuildPollQuery, OneAxisAndNoSelectionAskForAxisOneOnly) {
  for (const int32_t config : {1, 0, -1, std::numeric_limits<int32_t>::min()}) {
    EXPECT_EQ(query(config), "C\r") << config;
  }
}

}  // namespace
