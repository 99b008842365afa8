#pragma once
// What the rotctld commands mean for each axis configuration of the panel:
//   0 "AZ | none", 1 "EL | none", 2 "AZ | EL", 3 "AZ | AZ"; any other stored value is shown by
//   the window as 0 and is treated as 0 here.
// The angles set_pos takes are those of hamlib's GS-232B backend: azimuth -180 to 450 (a
// negative azimuth is the same direction 360 degrees on), elevation 0 to 180; with two azimuth
// axes the second one takes the azimuth range. The whole degrees sent are the angles truncated
// toward zero, as the GO buttons truncate their fields.

#include <cstdint>
#include <optional>
#include <string_view>

#include "remote/HubCommand.h"

struct HubLimits {
  double MinAz;
  double MaxAz;
  double MinEl;
  double MaxEl;
  // dump_state's rot_type: "Az", "El" or "AzEl".
  std::string_view RotType;
};

HubLimits LimitsFor(int32_t config);

// What set_pos az el sends: the GO 1+2 command with both angles for two axes, the GO 1 command
// with the angle of axis 1's kind for one axis. Nothing when either angle is not a finite
// number within the limits (the angle a one-axis panel does not send included).
std::optional<HubCommand> SetPosCommand(int32_t config, double az, double el);

// The hamlib move directions.
enum HubDirection : int {
  DirectionUp = 2,
  DirectionDown = 4,
  DirectionLeft = 8,
  DirectionRight = 16,
};

// The direction a move request names: a number, or hamlib's words LEFT, CCW, RIGHT, CW, UP,
// DOWN.
std::optional<int> DirectionNamed(std::string_view text);

// The turn button a move in direction presses: axis 1's |<< and >>| for left and right, or for
// down and up when axis 1 is an elevation axis; axis 2's for down and up. Nothing for a
// direction the configuration has no button for.
std::optional<HubCommand> MoveCommand(int32_t config, int direction);

// The PARK 1+2 button for two axes, PARK 1 for one.
HubCommand ParkCommand(int32_t config);

// The whole degrees get_pos answers as azimuth and elevation: axis 1's and axis 2's positions
// for two axes; for one axis its position in its own place and 0 in the other.
struct HubAngles {
  int32_t Azimuth;
  int32_t Elevation;
};
HubAngles ReportedAngles(int32_t config, int32_t position1, int32_t position2);

// Whether the configuration has a second axis (2 and 3).
bool HasTwoAxes(int32_t config);
