#include "tests/journeys/AccessibilityBus.h"

#include <signal.h>

#include <cstdlib>
#include <stdexcept>

#include "tests/tools/TestPatience.h"

AccessibilityBus::AccessibilityBus()
    : sessionBus_("/bin/sh",
                  {"-c", "exec dbus-daemon --session --nofork --print-address=1 2>/dev/null"}) {
  std::string address = sessionBus_.ReadLine(Deadline(kPatience));
  if (address.size() < 2 || address.back() != '\n') {
    throw std::runtime_error("dbus-daemon reported no address, only '" + address + "'");
  }
  address.pop_back();
  setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
  // The buses' notes about limits and activations are of no interest.
  launcher_.emplace("/bin/sh", std::vector<std::string>{"-c",
                                                        "exec /usr/libexec/at-spi-bus-launcher "
                                                        "--launch-immediately 2>/dev/null"});
}

AccessibilityBus::~AccessibilityBus() {
  launcher_->Signal(SIGTERM);
  (void)launcher_->Wait(Deadline(kPatience));
  sessionBus_.Signal(SIGTERM);
  (void)sessionBus_.Wait(Deadline(kPatience));
}
