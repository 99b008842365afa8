// UUCP lock files beside the port's own claim: taken while open, honoured
// when another live program holds one, cleared away when stale.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "serial/SioPosixDispatcher.h"
#include "serial/UucpLock.h"
#include "tests/serial/support/LockDirectory.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

// A process id no process can have: above the kernel's largest.
long deadPid() {
  long largest = 0;
  std::ifstream("/proc/sys/kernel/pid_max") >> largest;
  return largest + 1;
}

class UucpLocking : public ::testing::Test {
 protected:
  int32_t Open(TSioPosixDispatcher& port) {
    return OpenLikeComponent(port, gui, 1, pty.SlavePath());
  }

  LockDirectory locks;
  PseudoTerminal pty;
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
};

TEST(UucpLockName, IsTheDevicesOwnNameWhateverLinkLeadsThere) {
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  PseudoTerminal pty;
  ASSERT_EQ(symlink(pty.SlavePath().c_str(), "COM9"), 0);
  const std::string device = pty.SlavePath().substr(pty.SlavePath().rfind('/') + 1);
  EXPECT_EQ(UucpLockName("COM9"), "LCK.." + device);
  EXPECT_EQ(UucpLockName(pty.SlavePath()), "LCK.." + device);
  ASSERT_EQ(symlink("nowhere", "COM10"), 0);
  EXPECT_EQ(UucpLockName("COM10"), "");
}

TEST_F(UucpLocking, AnOpenPortHoldsALockNamingThisProcessUntilItCloses) {
  {
    TSioPosixDispatcher port(nullptr);
    ASSERT_EQ(Open(port), 0);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%10d\n", static_cast<int>(getpid()));
    EXPECT_EQ(ReadBytes(locks.LockOf(pty.SlavePath())), expected);
    // A second port of this very process honours it too.
    TSioPosixDispatcher second(nullptr);
    EXPECT_EQ(Open(second), -5);
    EXPECT_TRUE(PathExists(locks.LockOf(pty.SlavePath())));
  }
  EXPECT_FALSE(PathExists(locks.LockOf(pty.SlavePath())));
}

TEST_F(UucpLocking, ALiveProgramsLockKeepsThePortOutAndIsLeftAlone) {
  // Process 1 always runs.
  locks.WriteLock(pty.SlavePath(), 1);
  TSioPosixDispatcher port(nullptr);
  EXPECT_EQ(Open(port), -5) << "in use";
  EXPECT_EQ(port.RunningThreads(), 0);
  EXPECT_EQ(locks.OwnerOf(pty.SlavePath()), 1);
}

TEST_F(UucpLocking, AStaleOrUnreadableLockIsRemovedAndTakenOver) {
  for (const std::string& stale :
       {std::to_string(deadPid()), std::string("garbage"), std::string()}) {
    std::ofstream(locks.LockOf(pty.SlavePath())) << stale;
    TSioPosixDispatcher port(nullptr);
    EXPECT_EQ(Open(port), 0) << "'" << stale << "'";
    EXPECT_EQ(locks.OwnerOf(pty.SlavePath()), getpid());
  }
}

TEST_F(UucpLocking, WithoutAUsableLockDirectoryThePortStillOpensOnItsOwnClaim) {
  SetUucpLockDirectory(locks.Path() + "/missing");
  TSioPosixDispatcher port(nullptr);
  EXPECT_EQ(Open(port), 0);
  TSioPosixDispatcher second(nullptr);
  EXPECT_EQ(Open(second), -5) << "the device's own claim still holds";
}

}  // namespace
