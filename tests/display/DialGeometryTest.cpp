#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "display/DialGeometry.h"

namespace {

struct ConfigRow {
  int32_t AxisConfig;
  DialKind Left;
  std::optional<DialKind> Right;
  DialKind LeftPointing;
  DialKind RightPointing;
};

TEST(DialGeometry, KindsAndMappingsPerAxisConfiguration) {
  const DialKind az = DialKind::Azimuth;
  const DialKind el = DialKind::Elevation;
  const std::vector<ConfigRow> rows = {
      {0, az, std::nullopt, az, el}, {1, el, std::nullopt, el, el},  {2, az, el, az, el},
      {3, az, az, az, az},           {-1, az, std::nullopt, az, el}, {4, az, std::nullopt, az, el},
  };
  for (const ConfigRow& row : rows) {
    EXPECT_EQ(LeftDialKind(row.AxisConfig), row.Left) << row.AxisConfig;
    EXPECT_EQ(RightDialKind(row.AxisConfig), row.Right) << row.AxisConfig;
    EXPECT_EQ(LeftDialPointing(row.AxisConfig), row.LeftPointing) << row.AxisConfig;
    EXPECT_EQ(RightDialPointing(row.AxisConfig), row.RightPointing) << row.AxisConfig;
  }
}

}  // namespace
