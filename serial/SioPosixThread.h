#pragma once
// The base of the port threads on a POSIX descriptor (the read and write
// threads of any descriptor dispatcher, the terminal's status thread):
// access to the device and the dispatcher, the wait on the device, and the
// common way a failure ends every port thread.

#include <cstdint>

#include "serial/DescriptorWait.h"
#include "serial/ResultCodes.h"
#include "serial/SioDescriptorDispatcher.h"
#include "serial/SioDispatcherThread.h"

class TSioPosixThread : public TSioDispatcherThread {
 public:
  explicit TSioPosixThread(TSioDescriptorDispatcher& port)
      : TSioDispatcherThread(port), port_(port) {}

 protected:
  using Readiness = DescriptorReadiness;

  TSioDescriptorDispatcher& Port() const { return port_; }
  int Device() const { return port_.Device(); }
  // Neither terminated nor killed.
  bool Running() const { return !Terminated() && !port_.KillFlag(); }

  // Waits, with no time limit, for events on the device or for wake.
  Readiness WaitForDevice(short events, WakeEvent& wake) {
    return WaitForDescriptor(Device(), events, wake);
  }

  // Stops every port thread; a nonzero code becomes this thread's result.
  void Fail(int32_t code);
  // Stops every port thread after a device call failed with error: EBADF
  // (the descriptor was closed under the thread) without a code, anything
  // else with code.
  void FailWithError(int error, int32_t code);

 private:
  TSioDescriptorDispatcher& port_;
};
