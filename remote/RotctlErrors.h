#pragma once
// The status numbers a rotctld reply carries in "RPRT n", as hamlib numbers them (its error
// codes, negated).

enum RotctlStatus : int {
  RotctlOk = 0,
  // An argument that is no number, an angle outside the limits, a direction without a button.
  RotctlInvalidArgument = -1,
  // One of hamlib's own helpers (locator arithmetic, raw commands, capability dumps, pause).
  RotctlNotImplemented = -4,
  // get_pos while no position report was accepted for three poll intervals.
  RotctlTimedOut = -5,
  // The serial port is closed or failed while the command was sent.
  RotctlIoError = -6,
  // A move cancelled by the operator's STOP on the panel before it went out.
  RotctlRejected = -9,
  // A function the GS-232B does not have, or a move while the operator refuses moves.
  RotctlNotAvailable = -11,
};
