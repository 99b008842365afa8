// The server's settings file, read from and written to real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "remote/RemoteSettings.h"
#include "tests/tools/TemporaryDirectory.h"

namespace {

class RemoteSettingsFile : public testing::Test {
 protected:
  void write(const std::string& content) const { std::ofstream(path, std::ios::binary) << content; }
  std::string read() const {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
  }

  TemporaryDirectory directory;
  const std::string path = directory.Path(kRemoteSettingsFileName);
};

TEST_F(RemoteSettingsFile, AMissingFileMeansTheDefaults) {
  const RemoteSettingsRead read = ReadRemoteSettings(path);
  EXPECT_TRUE(read.Problems.empty());
  EXPECT_TRUE(read.Settings.Enabled);
  EXPECT_EQ(read.Settings.Address, "127.0.0.1");
  EXPECT_EQ(read.Settings.Port, 4533);
  EXPECT_TRUE(read.Settings.Allowed.Empty());
  EXPECT_FALSE(read.Settings.RefuseMoves);
  EXPECT_FALSE(read.Settings.BeyondLoopback());
}

TEST_F(RemoteSettingsFile, EveryKeyIsRead) {
  write(
      "# the hub\r\nenabled = off\r\n\r\naddress=0.0.0.0\nport=4535\r\n"
      "allow=192.168.1.0/24, 10.0.0.7\r\nmoves=refuse\r\n");
  const RemoteSettingsRead read = ReadRemoteSettings(path);
  EXPECT_TRUE(read.Problems.empty());
  EXPECT_FALSE(read.Settings.Enabled);
  EXPECT_EQ(read.Settings.Address, "0.0.0.0");
  EXPECT_EQ(read.Settings.Port, 4535);
  EXPECT_TRUE(read.Settings.Allowed.Allows("192.168.1.9"));
  EXPECT_TRUE(read.Settings.Allowed.Allows("10.0.0.7"));
  EXPECT_TRUE(read.Settings.RefuseMoves);
  EXPECT_TRUE(read.Settings.BeyondLoopback());
}

TEST_F(RemoteSettingsFile, EachBadLineIsReportedWithFileLineAndReasonAndItsKeyKeepsItsDefault) {
  write(
      "enabled=yes\r\naddress=shack-pi\r\nport=45330\r\nport=99999\r\nallow=10.0.0.0/40\r\n"
      "moves=never\r\nspeed=4\r\nlisten on all\r\n[remote]\r\n");
  const RemoteSettingsRead read = ReadRemoteSettings(path);
  EXPECT_EQ(read.Problems,
            (std::vector<std::string>{
                path + ", line 1: enabled: \"yes\" is neither on nor off",
                path + ", line 2: address: \"shack-pi\" is no IPv4 or IPv6 address",
                path + ", line 4: port: \"99999\" is no number from 0 to 65535",
                path + ", line 5: allow: \"10.0.0.0/40\" has no prefix length from 0 to 32",
                path + ", line 6: moves: \"never\" is neither accept nor refuse",
                path + ", line 7: unknown key \"speed\"",
                path + ", line 8: no key=value setting",
                path + ", line 9: no key=value setting",
            }));
  EXPECT_TRUE(read.Settings.Enabled);
  EXPECT_EQ(read.Settings.Address, "127.0.0.1");
  EXPECT_EQ(read.Settings.Port, 45330) << "the good line before the bad one stands";
  EXPECT_TRUE(read.Settings.Allowed.Empty());
  EXPECT_FALSE(read.Settings.RefuseMoves);
}

TEST_F(RemoteSettingsFile, WritingASettingKeepsEveryOtherLine) {
  write("# the hub\r\nmoves=accept\nport=4535\r\nmoves=accept\r\n");
  WriteRemoteSetting(path, "moves", "refuse");
  EXPECT_EQ(read(), "# the hub\r\nmoves=refuse\r\nport=4535\r\n");
  WriteRemoteSetting(path, "enabled", "off");
  EXPECT_EQ(read(), "# the hub\r\nmoves=refuse\r\nport=4535\r\nenabled=off\r\n");
  const RemoteSettingsRead reread = ReadRemoteSettings(path);
  EXPECT_TRUE(reread.Problems.empty());
  EXPECT_FALSE(reread.Settings.Enabled);
  EXPECT_TRUE(reread.Settings.RefuseMoves);
  EXPECT_EQ(reread.Settings.Port, 4535);
}

TEST_F(RemoteSettingsFile, WritingCreatesAMissingFileWithTheOneSetting) {
  WriteRemoteSetting(path, "enabled", "off");
  EXPECT_EQ(read(), "enabled=off\r\n");
}

TEST_F(RemoteSettingsFile, AFileThatCannotBeReadIsReportedAndTheDefaultsStand) {
  std::filesystem::create_directory(path);
  const RemoteSettingsRead read = ReadRemoteSettings(path);
  ASSERT_EQ(read.Problems.size(), 1u);
  EXPECT_EQ(read.Problems[0].rfind(path + ": ", 0), 0u) << read.Problems[0];
  EXPECT_TRUE(read.Settings.Enabled);
}

}  // namespace
