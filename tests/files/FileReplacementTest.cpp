// The settings file's write-and-rename and its reading back on the platform's own file calls:
// a second save replaces the first (Windows refuses a plain rename over a file), and a save
// that cannot be made leaves the old file and no ".new" beside it.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "app/FileReplacement.h"
#include "app/TextFileReader.h"
#include "serial/SioExceptions.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::string firstLineOf(const std::string& path) {
  TextFileReader reader(path);
  return reader.ReadLine();
}

TEST(FileReplacement, EachSaveReplacesTheLastAndLeavesNothingBeside) {
  const TemporaryDirectory dir;
  const std::string path = dir.Path("QV_M.ini");
  ReplaceFileContent(path, "1\r\nEN\r\n");
  ReplaceFileContent(path, "2\r\nDE\r\n");
  TextFileReader reader(path);
  EXPECT_EQ(reader.ReadLine(), "2");
  EXPECT_EQ(reader.ReadLine(), "DE");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(PathExists(path + ".new"));
}

TEST(FileReplacement, ASaveThatCannotBeMadeNamesTheReasonAndKeepsTheOldFile) {
  const TemporaryDirectory dir;
  const std::string path = dir.Path("QV_M.ini");
  ReplaceFileContent(path, "1\r\n");
  const std::string nowhere = dir.Path("missing/QV_M.ini");
  try {
    ReplaceFileContent(nowhere, "2\r\n");
    FAIL() << "saved into a folder that does not exist";
  } catch (const EInOutError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("E/A-Fehler " + std::to_string(ENOENT) + " (", 0),
              0u)
        << error.what();
  }
  EXPECT_EQ(firstLineOf(path), "1");
  EXPECT_THROW(firstLineOf(nowhere), EInOutError);
}

}  // namespace
