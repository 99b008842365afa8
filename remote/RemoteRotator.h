#pragma once
// What the network server needs to know of the panel: its axis configuration, the positions the
// controller last reported while they are current, and whether the operator lets the network
// move the rotator.

#include <cstdint>
#include <optional>
#include <string>

struct RotatorPositions {
  int32_t Position1;
  int32_t Position2;
};

class RemoteRotator {
 public:
  virtual ~RemoteRotator() = default;

  // The stored axis configuration, as the poll query uses it.
  virtual int32_t AxisConfig() const = 0;
  // The last accepted positions while they are current: a report accepted within three poll
  // intervals, which held axis 2 when there are two axes. Nothing otherwise.
  virtual std::optional<RotatorPositions> CurrentPositions() const = 0;
  // True while the operator refuses moves from the network.
  virtual bool MovesRefused() const = 0;
  // The text get_info answers.
  virtual std::string Info() const = 0;
};
