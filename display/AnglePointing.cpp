#include "display/AnglePointing.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kCentre = kDialCentreOffset;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// The angle of (X, Y) seen from the centre against the horizontal, -90 to 90 degrees. Only
// called off the vertical centre line. Computed in double: 100 - X overflows no int there.
double quadrantTerm(int32_t X, int32_t Y) {
  return std::atan((kCentre - Y) / (kCentre - X)) * kDegreesPerRadian;
}

// The raw bearing before rounding; the elevation mapping shares the rows above the horizon.
double rawAzimuth(int32_t X, int32_t Y) {
  if (X == kDialCentreOffset) {
    if (Y == kDialCentreOffset) return 0;
    return Y > kDialCentreOffset ? 180 : 360;
  }
  if (Y == kDialCentreOffset) {
    return X < kDialCentreOffset ? 270 : 90;
  }
  return quadrantTerm(X, Y) + (X < kDialCentreOffset ? 270 : 90);
}

// As rawAzimuth above the horizon; below it the point is pinned to the horizon on its side,
// and straight below the centre counts as the centre.
double rawElevation(int32_t X, int32_t Y) {
  if (Y <= kDialCentreOffset) return rawAzimuth(X, Y);
  if (X == kDialCentreOffset) return 0;
  return X < kDialCentreOffset ? 270 : 90;
}

int32_t roundToNearestEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

int32_t AzimuthFromPoint(int32_t X, int32_t Y) { return roundToNearestEven(rawAzimuth(X, Y)); }

int32_t ElevationFromPoint(int32_t X, int32_t Y) {
  const int32_t r = roundToNearestEven(rawElevation(X, Y));
  return r <= 90 ? r + 90 : r - 270;
}

int32_t AngleFromPoint(DialKind kind, int32_t X, int32_t Y) {
  return kind == DialKind::Elevation ? ElevationFromPoint(X, Y) : AzimuthFromPoint(X, Y);
}
