#pragma once
// Where the hand that shows a position on a dial ends.

#include <cstdint>

#include "display/DialGeometry.h"

// Radius of the erased disc and its ring, and the length of the hand, in pixels.
constexpr int32_t kHandRadius = 30;
// Width of the pen for the disc outline, the ring and the hand, in pixels.
constexpr int32_t kPointerPenWidth = 3;

struct DialPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const DialPoint&) const = default;
};

// The tip of the hand for angle degrees on a dial of kind centred on (cx, cy), in the same
// coordinates as the centre (Y downwards). Azimuth: 0 up, clockwise; elevation: 0 left, 90 up,
// 180 right, and any other angle continues the circle (270 points down). Each coordinate is
// rounded to the nearest integer, halves to the even one. Every integer angle is accepted.
DialPoint HandTip(int32_t cx, int32_t cy, int32_t angle, DialKind kind);
