// The installed package at work: its launcher starts its panel in a fresh home under Xvfb, and
// the panel polls its simulator.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <optional>

#include "tests/journeys/PrivateXServer.h"
#include "tests/journeys/ToolRun.h"
#include "tests/package/DebianPackage.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"
#include "tests/tools/TextLines.h"

namespace {

namespace fs = std::filesystem;

TEST(PackageLaunch, TheInstalledLauncherStartsThePanelWhichPollsTheInstalledSimulator) {
  const ThrowAwayRoot root;
  const PrivateXServer xServer;
  const TemporaryDirectory home;
  const std::string startDir = home.Path(".local/share/azimara-m");
  fs::create_directories(startDir);

  ChildProcess simulator(root.Path("usr/bin/gs232sim"),
                         {"--link", startDir + "/COM1", "--log", home.Path("sim.log")});
  ASSERT_NE(simulator.ReadLine(Deadline(kPatience)).find("/dev/pts/"), std::string::npos);

  ChildProcess launcher("env", {"-u", "XDG_DATA_HOME", "-u", "QT_QPA_PLATFORM",
                                "HOME=" + home.Path(), root.Path("usr/bin/azimara-m")});
  const ToolResult window =
      RunTool("xdotool", {"search", "--sync", "--name", "^Azimara M V1\\.7$"});
  EXPECT_TRUE(window.Succeeded()) << "no panel window on " << xServer.Display();
  std::error_code gone;
  EXPECT_TRUE(fs::equivalent("/proc/" + std::to_string(launcher.Pid()) + "/exe",
                             root.Path("usr/libexec/azimara-m/azimara"), gone))
      << gone.message();

  // The first poll: the panel found its pictures and its port in the start-up directory the
  // launcher prepared.
  const std::vector<std::string> commands = WaitForLines(home.Path("sim.log"), 1);
  ASSERT_FALSE(commands.empty());
  EXPECT_NE(commands.front().find("43 32 0D"), std::string::npos) << commands.front();
  for (const char* shipped : {"QV_M_language.csv", "Windrose_AZ.jpg", "Windrose_EL.jpg"}) {
    EXPECT_TRUE(fs::is_regular_file(startDir + "/" + shipped)) << shipped;
  }
  EXPECT_TRUE(fs::is_regular_file(startDir + "/QV_M.ini"));

  launcher.Signal(SIGTERM);
  const std::optional<int> status = launcher.Wait(Deadline(kPatience));
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

}  // namespace
