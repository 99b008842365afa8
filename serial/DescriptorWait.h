#pragma once
// The one wait of every port thread on a descriptor platform (a terminal
// here; a socket would do the same): poll() on the device and a wake event
// together, with no time limit. Whatever must reach the thread (a stop, a
// flush, new work) sets the wake event, so the thread sleeps until then and
// costs nothing meanwhile.

#include "serial/WakeEvent.h"

struct DescriptorReadiness {
  short DeviceEvents = 0;  // poll() events of the device
  bool Woken = false;      // the wake event was set (and is now clear)
  int Error = 0;           // poll() failed with this error number
};

// Waits until the device shows one of events (errors and hang-ups always
// count) or wake is set. A signal ends the wait early with nothing set.
DescriptorReadiness WaitForDescriptor(int device, short events, WakeEvent& wake);
