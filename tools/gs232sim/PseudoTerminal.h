#pragma once
// The pseudo-terminal clients open as their serial port. The simulator keeps
// its own descriptor of the client side open, so the line stays up between
// clients and the master side never sees a hang-up.

#include <string>

#include "tools/gs232sim/UniqueFd.h"

class PseudoTerminal {
 public:
  // Opens the master side (non-blocking) and the client side (raw). Throws
  // std::system_error.
  PseudoTerminal();

  int Master() const { return master_.Get(); }
  // The path clients open, e.g. /dev/pts/3.
  const std::string& ClientPath() const { return clientPath_; }

  // Discards the bytes sent to clients that no client has read.
  void DiscardUnread();
  // Lifts the exclusive mode a departed client may have set, which would
  // otherwise lock every later client out.
  void ReleaseExclusive();

 private:
  UniqueFd master_;
  std::string clientPath_;
  UniqueFd client_;
};
