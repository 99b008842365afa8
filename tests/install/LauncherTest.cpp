#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/install/InstalledTree.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kShippedFiles = {"QV_M_language.csv", "Windrose_AZ.jpg",
                                                "Windrose_EL.jpg"};

// The installed launcher under env, with HOME and XDG_DATA_HOME replaced by assignments.
std::vector<std::string> launcherCommand(const InstalledTree& tree,
                                         const std::vector<std::string>& assignments) {
  std::vector<std::string> command = {"-u", "HOME", "-u", "XDG_DATA_HOME",
                                      "QT_QPA_PLATFORM=offscreen"};
  command.insert(command.end(), assignments.begin(), assignments.end());
  command.push_back(tree.Path(kBinDir + "/azimara-m"));
  return command;
}

// A start-up directory the operator prepared: COM1 leads nowhere, so no test opens a real port.
void prepareStartDir(const std::string& startDir) {
  fs::create_directories(startDir);
  fs::create_symlink(startDir + "/no-such-port", startDir + "/COM1");
}

bool waitForFile(const std::string& path) {
  const Deadline deadline(kPatience);
  while (!fs::exists(path)) {
    if (deadline.Passed()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Starts the launcher and waits until the panel has written its settings into startDir; checks
// that the launcher became the installed panel, then ends the panel.
void runPanel(const InstalledTree& tree, const std::vector<std::string>& assignments,
              const std::string& startDir) {
  ChildProcess launcher("env", launcherCommand(tree, assignments));
  ASSERT_TRUE(waitForFile(startDir + "/QV_M.ini")) << "the panel did not start in " << startDir;
  std::error_code gone;
  EXPECT_TRUE(fs::equivalent("/proc/" + std::to_string(launcher.Pid()) + "/exe",
                             tree.Path(kPanelDir + "/azimara"), gone))
      << gone.message();
  launcher.Signal(SIGTERM);
  const std::optional<int> status = launcher.Wait(Deadline(kPatience));
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

// Where the launcher puts the start-up directory, paths relative to a fresh temporary directory
// that also holds HOME.
struct Placement {
  std::string what;
  std::optional<std::string> xdgDataHome;  // "" sets it empty, nothing leaves it unset
  std::string startDir;
};

const std::vector<Placement> kPlacements = {
    {"XDG_DATA_HOME set", "data", "data/azimara-m"},
    {"XDG_DATA_HOME unset", std::nullopt, "home/.local/share/azimara-m"},
    {"XDG_DATA_HOME empty", "", "home/.local/share/azimara-m"},
};

class Launcher : public testing::Test {
 protected:
  InstalledTree tree;
};

TEST_F(Launcher, StartsThePanelInTheUsersDataDirectorySeededWithTheShippedFiles) {
  for (const Placement& placement : kPlacements) {
    SCOPED_TRACE(placement.what);
    const TemporaryDirectory root;
    std::vector<std::string> assignments = {"HOME=" + root.Path("home")};
    if (placement.xdgDataHome) {
      const std::string& dir = *placement.xdgDataHome;
      assignments.push_back("XDG_DATA_HOME=" + (dir.empty() ? dir : root.Path(dir)));
    }
    const std::string startDir = root.Path(placement.startDir);
    prepareStartDir(startDir);
    runPanel(tree, assignments, startDir);
    for (const std::string& file : kShippedFiles) {
      EXPECT_EQ(ReadBytes(startDir + "/" + file), ReadBytes(tree.Path(kShippedDir + "/" + file)))
          << file;
    }
  }
}

TEST_F(Launcher, KeepsTheFilesTheOperatorChanged) {
  const TemporaryDirectory data;
  const std::string startDir = data.Path("azimara-m");
  prepareStartDir(startDir);
  const std::string ownLanguage = "EN;01;My language\r\nEN;02;Quit\r\n";
  WriteBytes(startDir + "/QV_M_language.csv", ownLanguage);
  fs::create_symlink(tree.Path(kShippedDir + "/Windrose_EL.jpg"), startDir + "/Windrose_AZ.jpg");

  runPanel(tree, {"HOME=" + data.Path("home"), "XDG_DATA_HOME=" + data.Path(".")}, startDir);

  EXPECT_EQ(ReadBytes(startDir + "/QV_M_language.csv"), ownLanguage);
  EXPECT_TRUE(fs::is_symlink(startDir + "/Windrose_AZ.jpg"));
  EXPECT_EQ(ReadBytes(startDir + "/Windrose_EL.jpg"),
            ReadBytes(tree.Path(kShippedDir + "/Windrose_EL.jpg")));
}

TEST_F(Launcher, CreatesTheDirectoryAndNamesAMissingShippedFileInsteadOfStartingThePanel) {
  const TemporaryDirectory data;
  const std::string startDir = data.Path("nested/azimara-m");
  fs::remove(tree.Path(kShippedDir + "/Windrose_EL.jpg"));

  // Through a shell that sends the launcher's errors to the pipe read here.
  std::vector<std::string> command = {"-c", "exec \"$@\" 2>&1", "sh", "env"};
  for (const std::string& arg : launcherCommand(tree, {"XDG_DATA_HOME=" + data.Path("nested")})) {
    command.push_back(arg);
  }
  ChildProcess launcher("sh", command);
  const std::string output = launcher.ReadAll(Deadline(kPatience));
  const std::optional<int> status = launcher.Wait(Deadline(kPatience));

  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) != 0);
  EXPECT_NE(output.find(kShippedDir + "/Windrose_EL.jpg"), std::string::npos) << output;
  EXPECT_TRUE(fs::is_directory(startDir));
  EXPECT_FALSE(fs::exists(startDir + "/QV_M.ini"));
}

}  // namespace
