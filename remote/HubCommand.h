#pragma once
// A command a network client has the panel send: one of the buttons' commands, with the targets
// the client asked for.

#include <cstdint>

#include "protocol/CommandSet.h"

struct HubCommand {
  RotatorCommand Command = RotatorCommand::StopAll;
  // K: the panel's park positions are copied into the target fields first, as the PARK
  // buttons do; Target1 and Target2 are then not used.
  bool Park = false;
  // Whole degrees of axis 1 and axis 2, for the GO commands.
  int64_t Target1 = 0;
  int64_t Target2 = 0;

  // Whether the command turns the rotator (every command but the stops).
  bool IsMove() const;

  bool operator==(const HubCommand&) const = default;
};
