// The settings file when the process dies in the middle of saving it, and the next start after
// such a death.

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <thread>

#include "app/SettingsFile.h"
#include "tests/app/FileTestHelpers.h"
#include "tests/app/PanelFixture.h"
#include "tests/faults/NumberedSettings.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TemporaryDirectory.h"
#include "tests/tools/TestPatience.h"

namespace {

// AZIMARA_FAULT_SEED repeats the kill moments of an earlier run.
unsigned killSeed() {
  if (const char* given = std::getenv("AZIMARA_FAULT_SEED")) return std::stoul(given);
  return std::random_device{}();
}

std::set<std::string> filesIn(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(SettingsKill, AKilledSaveLeavesTheLastWholeFileAndAtMostItsNewFile) {
  const unsigned seed = killSeed();
  std::cout << "kill seed " << seed << " (AZIMARA_FAULT_SEED repeats it)" << std::endl;
  RecordProperty("KillSeed", std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> killAfterMicroseconds(0, 20000);

  TemporaryDirectory directory;
  const std::string path = directory.Path(kSettingsFileName);
  int32_t lastSave = -1;
  int leftNewFile = 0;
  constexpr int kRounds = 50;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round << ", seed " << seed);
    {
      ChildProcess saver(SETTINGS_SAVE_LOOP_PATH, {path});
      ASSERT_EQ(saver.ReadLine(Deadline(kPatience)), "saving\n");
      std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicroseconds(random)));
      saver.Signal(SIGKILL);
      const std::optional<int> status = saver.Wait(Deadline(kPatience));
      ASSERT_TRUE(status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    }
    const std::string bytes = ReadBytes(path);
    TSettings read;
    ASSERT_NO_THROW(ReadSettingsFile(path, read, [](int) {})) << bytes;
    EXPECT_EQ(bytes, SettingsFileText(NumberedSettings(read.Reserved))) << "a whole save";
    EXPECT_GT(read.Reserved, lastSave) << "the round saved at least once";
    lastSave = read.Reserved;

    std::set<std::string> files = filesIn(directory.Path("."));
    leftNewFile += files.erase(std::string(kSettingsFileName) + ".new") ? 1 : 0;
    EXPECT_EQ(files, std::set<std::string>{kSettingsFileName});
  }
  RecordProperty("KillsLeavingTheNewFile", leftNewFile);
  std::cout << leftNewFile << " of " << kRounds << " kills left " << kSettingsFileName << ".new"
            << std::endl;
}

using SettingsAfterAKill = PanelTest;

TEST_F(SettingsAfterAKill, ATornNewFileIsIgnoredAndReplacedByTheFirstSave) {
  WriteSettings({"3", "DE", "2000", "10", "45", "90", "0", "60", "70"});
  WriteFile("QV_M.ini.new", "7\r\nFR\r\n50");
  const auto form = StartPanel();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(form->ComboBox1->currentText(), "3");
  EXPECT_EQ(form->ComboBox2->currentText(), "DE");
  EXPECT_EQ(form->KtNumEdit4->text(), "90");
  EXPECT_EQ(SettingsLines(),
            (std::vector<std::string>{"3", "DE", "2000", "10", "45", "90", "0", "60", "70"}));
  EXPECT_FALSE(std::filesystem::exists(Path("QV_M.ini.new")));
}

TEST_F(SettingsAfterAKill, ANewFileWithoutTheFileStartsWithTheDefaults) {
  // A kill during the very first save.
  WriteFile("QV_M.ini.new", "1\r\nEN\r\n1000\r\n10\r\n");
  const auto form = StartPanel();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
  EXPECT_EQ(SettingsLines(),
            (std::vector<std::string>{"1", "EN", "1000", "10", "0", "0", "2", "50", "50"}));
  EXPECT_FALSE(std::filesystem::exists(Path("QV_M.ini.new")));
}

}  // namespace
