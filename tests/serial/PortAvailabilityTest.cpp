// Which port numbers the port-selection dialog offers.

#include <gtest/gtest.h>
#include <unistd.h>

#include "serial/PortAvailability.h"
#include "serial/PortPath.h"
#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

TEST(PortAvailability, FreeAndHeldPortsAreOfferedAndAbsentOnesNever) {
  PseudoTerminal free;
  PseudoTerminal held;
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  ASSERT_EQ(symlink(free.SlavePath().c_str(), "COM3"), 0);
  ASSERT_EQ(symlink(held.SlavePath().c_str(), "COM4"), 0);
  ASSERT_EQ(symlink("/dev/no-such-device", "COM5"), 0);
  auto gui = std::make_shared<TestGuiLoop>();
  TSioPosixDispatcher holder(nullptr);
  ASSERT_EQ(OpenLikeComponent(holder, gui, 1, PortDeviceName(4)), 0);

  EXPECT_TRUE(IsPortAvailable(3));
  EXPECT_TRUE(IsPortAvailable(4));
  EXPECT_FALSE(IsPortAvailable(5));
  EXPECT_FALSE(IsPortAvailable(AbsentPortNumber(6)));
  EXPECT_FALSE(IsPortAvailable(0));

  // The probe gave the free port back.
  TSioPosixDispatcher next(nullptr);
  EXPECT_EQ(OpenLikeComponent(next, gui, 1, PortDeviceName(3)), 0);
}

}  // namespace
