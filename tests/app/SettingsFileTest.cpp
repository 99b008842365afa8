#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/SettingsFile.h"
#include "serial/SioExceptions.h"
#include "tests/app/FileTestHelpers.h"
#include "tests/tools/TemporaryDirectory.h"
#include "widgets/ConvertError.h"

namespace {

class SettingsFile : public testing::Test {
 protected:
  // Reads the file, recording which lines were reported stored and the settings at that time.
  void read() {
    ReadSettingsFile(path, settings, [this](int line) {
      stored.push_back(line);
      snapshots.push_back(settings);
    });
  }

  TemporaryDirectory directory;
  const std::string path = directory.Path(kSettingsFileName);
  TSettings settings;
  std::vector<int> stored;
  std::vector<TSettings> snapshots;
};

TEST_F(SettingsFile, AMissingFileIsCreatedWithTheDefaultsAndReadLikeAnyOther) {
  settings.ComNumber = 7;
  read();
  EXPECT_EQ(ReadBytes(path), "1\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  EXPECT_EQ(settings, TSettings{});
  EXPECT_EQ(stored, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(SettingsFile, EachLineIsStoredBeforeItIsReported) {
  WriteBytes(path, "12\r\nDE\r\n500\r\n-3\r\n359\r\n180\r\n-1\r\n-20\r\n700\r\n");
  read();
  ASSERT_EQ(snapshots.size(), 9u);
  EXPECT_EQ(snapshots[0].ComNumber, 12);
  EXPECT_EQ(snapshots[0].Language, "EN") << "line 2 not yet read";
  EXPECT_EQ(snapshots[1].Language, "DE");
  EXPECT_EQ(snapshots[4].Park1, 359);
  EXPECT_EQ(snapshots[4].Park2, 0);
  EXPECT_EQ(snapshots[5].Park2, 180);
  EXPECT_EQ(snapshots[6].AxisConfig, -1);
  EXPECT_EQ(snapshots[7].WindowLeft, -20);
  EXPECT_EQ(snapshots[8].WindowTop, 700);
  EXPECT_EQ(settings.PollRate, 500);
  EXPECT_EQ(settings.Reserved, -3);
}

TEST_F(SettingsFile, LinesEndedByLineFeedAloneAndLinesAfterTheNinthAreAccepted) {
  WriteBytes(path, "3\nFR\n2000\n10\n1\n2\n3\n4\n5\nanything\n");
  read();
  EXPECT_EQ(settings, (TSettings{3, "FR", 2000, 10, 1, 2, 3, 4, 5}));
}

TEST_F(SettingsFile, TheFirstLineThatIsNoNumberStopsTheReadingThere) {
  struct Case {
    std::string content;
    int goodLines;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"1\r\nEN\r\n1000\r\n", 3, "'' is not a valid integer value"},
      {"", 0, "'' is not a valid integer value"},
      {"1\r\nEN\r\n1000\r\n10\r\n12.7\r\n0\r\n2\r\n50\r\n50\r\n", 4,
       "'12.7' is not a valid integer value"},
      {"1\r\nEN\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n 50\r\n50\r\n", 7,
       "' 50' is not a valid integer value"},
      {"1\r\n\r\n\r\n", 2, "'' is not a valid integer value"},
      {"99999999999\r\n", 0, "'99999999999' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    WriteBytes(path, c.content);
    stored.clear();
    settings = TSettings{};
    try {
      read();
      ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_EQ(stored.size(), static_cast<size_t>(c.goodLines));
  }
}

TEST_F(SettingsFile, AnEmptyLanguageLineIsAnEmptyCode) {
  WriteBytes(path, "1\r\n\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  read();
  EXPECT_EQ(settings.Language, "");
}

TEST_F(SettingsFile, ALanguageLineInCodePage1252IsReadAsItsCharacters) {
  WriteBytes(path, "1\r\n\xC4\xF6\r\n1000\r\n10\r\n0\r\n0\r\n2\r\n50\r\n50\r\n");
  read();
  EXPECT_EQ(settings.Language, "\xC3\x84\xC3\xB6");
}

TEST_F(SettingsFile, WrittenValuesReadBackUnchanged) {
  const TSettings written{32, "Language", 5000, 123456, 359, 180, 3, -1200, 2000};
  WriteSettingsFile(path, written);
  EXPECT_EQ(ReadBytes(path),
            "32\r\nLanguage\r\n5000\r\n123456\r\n359\r\n180\r\n3\r\n-1200\r\n2000\r\n");
  read();
  EXPECT_EQ(settings, written);
}

TEST_F(SettingsFile, AFailedWriteLeavesTheOldFileWhole) {
  const TSettings old{5, "DE", 500, 10, 1, 2, 3, 4, 5};
  WriteSettingsFile(path, old);
  const std::string oldBytes = ReadBytes(path);
  // Where the new content would go there is a directory: creating it fails, also for root.
  ASSERT_EQ(mkdir((path + ".new").c_str(), 0755), 0);
  EXPECT_THROW(WriteSettingsFile(path, TSettings{}), EInOutError);
  EXPECT_EQ(ReadBytes(path), oldBytes);
}

TEST_F(SettingsFile, ANewFileIsNotLeftBehind) {
  WriteSettingsFile(path, TSettings{});
  struct stat info {};
  EXPECT_NE(stat((path + ".new").c_str(), &info), 0);
}

TEST_F(SettingsFile, AFileThatCannotBeReadIsAnInputOutputError) {
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  try {
    read();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, EISDIR);
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
}

}  // namespace
