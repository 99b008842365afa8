#pragma once
// A private session bus with the accessibility bus started on it, so that the panel (with
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON) publishes its controls and message boxes and
// accessible_tree.py can read them. Everything started afterwards uses this bus.

#include <optional>

#include "tests/tools/ChildProcess.h"

class AccessibilityBus {
 public:
  // Needs DISPLAY set (the launcher announces the bus on the X server too). Throws
  // std::runtime_error when the session bus does not report its address.
  AccessibilityBus();
  // Ends the launcher first, which takes its accessibility bus with it, then the session bus.
  ~AccessibilityBus();

 private:
  ChildProcess sessionBus_;
  std::optional<ChildProcess> launcher_;
};
