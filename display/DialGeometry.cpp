#include "display/DialGeometry.h"

namespace {

constexpr int32_t elevationOnly = 1;
constexpr int32_t azimuthAndElevation = 2;
constexpr int32_t twoAzimuths = 3;

}  // namespace

DialKind LeftDialKind(int32_t axisConfig) {
  return axisConfig == elevationOnly ? DialKind::Elevation : DialKind::Azimuth;
}

std::optional<DialKind> RightDialKind(int32_t axisConfig) {
  switch (axisConfig) {
    case azimuthAndElevation:
      return DialKind::Elevation;
    case twoAzimuths:
      return DialKind::Azimuth;
    default:
      return std::nullopt;
  }
}

DialKind LeftDialPointing(int32_t axisConfig) { return LeftDialKind(axisConfig); }

DialKind RightDialPointing(int32_t axisConfig) {
  return axisConfig == twoAzimuths ? DialKind::Azimuth : DialKind::Elevation;
}
