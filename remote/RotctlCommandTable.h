#pragma once
// The commands hamlib 4.5's rotctld knows, as data: the one-character name, the long name sent
// after a backslash, how many arguments follow and what the hub does with the command. Every
// command hamlib knows is listed, also those the hub does not carry out, so that their
// arguments are read as hamlib reads them and the stream stays in step.

#include <string_view>

enum class RotctlAction {
  SetPos,
  GetPos,
  Park,
  Stop,
  Move,
  GetInfo,
  DumpState,
  // Rotator functions a GS-232B lacks: "not available", as hamlib's GS-232B backend answers.
  NotAvailable,
  // hamlib's own helpers, which the hub does not offer: "not implemented".
  NotImplemented,
};

struct RotctlCommand {
  // '\0' for a command that has only a long name.
  char Short;
  std::string_view Name;
  // White-space separated arguments read before the command runs.
  int Arguments;
  // The one argument is the rest of the line, blanks included.
  bool LineArgument;
  // Whether a plain (not extended) reply gives values rather than "RPRT 0" on success.
  bool GivesValues;
  RotctlAction Action;
};

// The command a one-character name stands for; none for 'q', 'Q' and unknown characters.
const RotctlCommand* FindShortCommand(char name);

// The command a long name stands for (exact, case-sensitive); none when unknown.
const RotctlCommand* FindLongCommand(std::string_view name);
