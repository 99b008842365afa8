#pragma once
// Turns the point under the mouse on a dial into the angle it points at. X and Y are in the
// dial picture's own coordinates (origin top left, Y downwards, centre (100, 100)); every pair
// of integers, also far outside the picture, yields an angle.

#include <cstdint>

#include "display/DialGeometry.h"

// The compass bearing of (X, Y), 0 to 360: 360 straight above the centre, 90 to the right,
// 180 below, 270 to the left, and 0 at the centre itself.
int32_t AzimuthFromPoint(int32_t X, int32_t Y);

// The elevation of (X, Y), 0 to 180: 0 at the left horizon, 90 at the zenith, 180 at the
// right horizon. Points below the horizon give 0 (left half) or 180 (right half); the centre
// and the points straight below it give 90.
int32_t ElevationFromPoint(int32_t X, int32_t Y);

// AzimuthFromPoint or ElevationFromPoint, as kind says.
int32_t AngleFromPoint(DialKind kind, int32_t X, int32_t Y);
