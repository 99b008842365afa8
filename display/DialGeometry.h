#pragma once
// What each of the two dials shows and how it reads the mouse, by axis configuration
// (0 "AZ | none", 1 "EL | none", 2 "AZ | EL", 3 "AZ | AZ"; -1 or any other value: as 0).
// Axis 1 always belongs to the left dial, axis 2 to the right one.

#include <cstdint>
#include <optional>

enum class DialKind {
  Azimuth,    // 0 and 360 straight up, angles clockwise
  Elevation,  // 0 at the left horizon, 90 at the zenith, 180 at the right horizon
};

// The dial centre lies this far right of and below the dial picture's top-left corner.
constexpr int32_t kDialCentreOffset = 100;

// How axis 1's position is drawn on the left dial: elevation for configuration 1, otherwise
// azimuth.
DialKind LeftDialKind(int32_t axisConfig);

// How axis 2's position is drawn on the right dial: elevation for configuration 2, azimuth for
// 3; nothing for the one-axis configurations, whose right dial is hidden.
std::optional<DialKind> RightDialKind(int32_t axisConfig);

// Which mapping turns a mouse point on the left dial into axis 1's target: elevation for
// configuration 1, otherwise azimuth.
DialKind LeftDialPointing(int32_t axisConfig);

// Which mapping turns a mouse point on the right dial into axis 2's target: azimuth for
// configuration 3, otherwise elevation.
DialKind RightDialPointing(int32_t axisConfig);
