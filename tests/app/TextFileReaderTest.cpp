#include "app/TextFileReader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/app/FileTestHelpers.h"
#include "tests/tools/TemporaryDirectory.h"

namespace {

class TextFileReading : public testing::Test {
 protected:
  TemporaryDirectory directory;
  const std::string path = directory.Path("text.csv");
};

TEST_F(TextFileReading, ALineOfTheLongestLengthIsReadWhole) {
  const std::string longest(kLongestTextLine, 'a');
  WriteBytes(path, longest + "\r\nnext\r\n");
  TextFileReader reader(path);
  EXPECT_EQ(reader.ReadLine(), longest);
  EXPECT_EQ(reader.ReadLine(), "next");
  EXPECT_TRUE(reader.AtEnd());
}

TEST_F(TextFileReading, LongerLinesAreCutAndTheLinesAfterThemReadAsEver) {
  const std::string kept(kLongestTextLine, 'b');
  WriteBytes(path, kept + "\r\r\n" + kept + std::string(3 * kLongestTextLine, 'c') + "\nlast\r\n" +
                       kept + "dropped");
  TextFileReader reader(path);
  EXPECT_EQ(reader.ReadLine(), kept);
  EXPECT_EQ(reader.ReadLine(), kept);
  EXPECT_EQ(reader.ReadLine(), "last");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), kept);
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
