#pragma once
// A panel for the hub's tests: positions, axis configuration and the refuse switch set by hand.

#include <optional>
#include <string>

#include "remote/RemoteRotator.h"

class FakeRotator : public RemoteRotator {
 public:
  int32_t AxisConfig() const override { return Config; }
  std::optional<RotatorPositions> CurrentPositions() const override { return Positions; }
  bool MovesRefused() const override { return Refused; }
  std::string Info() const override { return "Fake panel"; }

  int32_t Config = 2;
  std::optional<RotatorPositions> Positions = RotatorPositions{120, 30};
  bool Refused = false;
};
