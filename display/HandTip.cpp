#include "display/HandTip.h"

#include <cmath>
#include <numbers>

namespace {

// Drawing angle in radians, measured clockwise from straight up. The elevation dial's 0 lies
// a quarter turn anticlockwise of the azimuth dial's. Double arithmetic: no int overflow.
double drawingAngle(int32_t angle, DialKind kind) {
  const double degrees = kind == DialKind::Elevation ? angle - 90.0 : angle;
  return degrees * std::numbers::pi / 180.0;
}

int32_t roundToNearestEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

DialPoint HandTip(int32_t cx, int32_t cy, int32_t angle, DialKind kind) {
  const double theta = drawingAngle(angle, kind);
  return DialPoint{roundToNearestEven(cx + kHandRadius * std::sin(theta)),
                   roundToNearestEven(cy - kHandRadius * std::cos(theta))};
}
