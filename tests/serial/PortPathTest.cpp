// Port names and the paths they lead to.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "serial/PortPath.h"
#include "tests/serial/support/PseudoTerminal.h"

namespace {

TEST(PortPath, ThePortNumberMakesTheDeviceName) {
  EXPECT_EQ(PortDeviceName(1), "\\\\.\\COM1");
  EXPECT_EQ(PortDeviceName(32), "\\\\.\\COM32");
}

TEST(PortPath, WithoutALinkAPortIsTheSerialDeviceOneBelowItsNumber) {
  TempDir dir;
  const CurrentDirectory inside(dir.Path());
  for (const uint32_t number : {1u, 2u, 17u, 50u}) {
    EXPECT_EQ(ResolvePortPath(PortDeviceName(number)), "/dev/ttyS" + std::to_string(number - 1));
  }
}

TEST(PortPath, ALinkNamedAfterThePortLeadsToItsTarget) {
  TempDir dir;
  const CurrentDirectory inside(dir.Path());
  ASSERT_EQ(symlink("/dev/pts/77", "COM7"), 0);
  ASSERT_EQ(symlink("devices/eight", "COM8"), 0);
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM7"), "/dev/pts/77");
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM8"), dir.Path() + "/devices/eight");
  // Only the port's own link counts.
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM9"), "/dev/ttyS8");
}

TEST(PortPath, OnceSetTheLinkDirectoryCountsWhereverTheCurrentDirectoryIs) {
  TempDir start;
  TempDir elsewhere;
  ASSERT_EQ(symlink("/dev/pts/71", (start.Path() + "/COM4").c_str()), 0);
  ASSERT_EQ(symlink("adapter", (start.Path() + "/COM5").c_str()), 0);
  ASSERT_EQ(symlink("/dev/pts/72", (elsewhere.Path() + "/COM4").c_str()), 0);
  const CurrentDirectory inside(elsewhere.Path());
  SetPortLinkDirectory(start.Path());
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM4"), "/dev/pts/71");
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM5"), start.Path() + "/adapter");
  SetPortLinkDirectory("");
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM4"), "/dev/pts/72");
}

TEST(PortPath, APlainFileNamedAfterThePortIsNoLink) {
  TempDir dir;
  const CurrentDirectory inside(dir.Path());
  std::ofstream("COM3") << "not a device";
  EXPECT_EQ(ResolvePortPath("\\\\.\\COM3"), "/dev/ttyS2");
}

TEST(PortPath, OtherNamesArePathsAlready) {
  for (const char* name :
       {"/dev/ttyUSB0", "\\\\.\\COM0", "\\\\.\\COM", "\\\\.\\COM3x", "\\\\.\\COM-1", "COM3", ""}) {
    EXPECT_EQ(ResolvePortPath(name), name);
  }
}

}  // namespace
