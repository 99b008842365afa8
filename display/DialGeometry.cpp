#include "display/DialGeometry.h"

namespace {

constexpr int32_t kElevationOnly = 1;
constexpr int32_t kAzimuthAndElevation = 2;
constexpr int32_t kTwoAzimuths = 3;

}  // namespace

DialKind LeftDialKind(int32_t axisConfig) {
  return axisConfig == kElevationOnly ? DialKind::Elevation : DialKind::Azimuth;
}

std::optional<DialKind> RightDialKind(int32_t axisConfig) {
  switch (axisConfig) {
    case kAzimuthAndElevation:
      return DialKind::Elevation;
    case kTwoAzimuths:
      return DialKind::Azimuth;
    default:
      return std::nullopt;
  }
}

DialKind LeftDialPointing(int32_t axisConfig) { return LeftDialKind(axisConfig); }

DialKind RightDialPointing(int32_t axisConfig) {
  return axisConfig == kTwoAzimuths ? DialKind::Azimuth : DialKind::Elevation;
}
