#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tools/gs232sim/CommandLogLine.h"
#include "tools/gs232sim/SimulatorOptions.h"

namespace {

SimulatorOptions parse(std::vector<std::string_view> args) { return ParseSimulatorOptions(args); }

TEST(SimulatorOptions, DefaultsAreARealisticStandardController) {
  const SimulatorOptions options = parse({});
  EXPECT_EQ(options.azimuth, 0);
  EXPECT_EQ(options.elevation, 0);
  EXPECT_DOUBLE_EQ(options.degreesPerSecond, 6.0);
  EXPECT_EQ(options.profile.Kind(), ReplyKind::Standard);
  EXPECT_TRUE(options.linkPath.empty());
  EXPECT_TRUE(options.logPath.empty());
  EXPECT_EQ(options.faults.splitSize, 0u);
  EXPECT_FALSE(options.faults.leadingCr || options.faults.silent || options.faults.garbage);
  EXPECT_EQ(options.floodBytes, 0u);
  EXPECT_FALSE(options.seed.has_value());
  EXPECT_FALSE(options.help);
}

TEST(SimulatorOptions, EveryOptionIsTakenInBothForms) {
  const std::vector<std::vector<std::string_view>> forms = {
      {"--link",  "demo/COM1", "--log",         "cmd.log",  "--az",      "450",
       "--el",    "180",       "--speed",       "12.5",     "--profile", "cr-only",
       "--split", "3",         "--split-delay", "40",       "--flood",   "100",
       "--seed",  "7",         "--leading-cr",  "--silent", "--garbage"},
      {"--link=demo/COM1", "--log=cmd.log", "--az=450", "--el=180", "--speed=12.5",
       "--profile=cr-only", "--split=3", "--split-delay=40", "--flood=100", "--seed=7",
       "--leading-cr", "--silent", "--garbage"},
  };
  for (const auto& args : forms) {
    const SimulatorOptions options = parse(args);
    EXPECT_EQ(options.linkPath, "demo/COM1");
    EXPECT_EQ(options.logPath, "cmd.log");
    EXPECT_EQ(options.azimuth, 450);
    EXPECT_EQ(options.elevation, 180);
    EXPECT_DOUBLE_EQ(options.degreesPerSecond, 12.5);
    EXPECT_EQ(options.profile.Kind(), ReplyKind::CrOnly);
    EXPECT_EQ(options.faults.splitSize, 3u);
    EXPECT_EQ(options.faults.splitDelay, std::chrono::milliseconds(40));
    EXPECT_EQ(options.floodBytes, 100u);
    EXPECT_EQ(options.seed, 7u);
    EXPECT_TRUE(options.faults.leadingCr && options.faults.silent && options.faults.garbage);
  }
  EXPECT_TRUE(parse({"--help"}).help);
  EXPECT_TRUE(parse({"-h"}).help);
}

TEST(SimulatorOptions, UnusableCommandLinesAreRefused) {
  const std::vector<std::vector<std::string_view>> rows = {
      {"--bogus"},
      {"demo/COM1"},
      {"--az"},
      {"--az", "451"},
      {"--az", "-1"},
      {"--az", "1.5"},
      {"--az", "ten"},
      {"--el", "181"},
      {"--speed", "0"},
      {"--speed", "-3"},
      {"--speed", "nan"},
      {"--speed", "inf"},
      {"--speed", ""},
      {"--split", "0"},
      {"--split-delay", "-1"},
      {"--profile", "x"},
      {"--profile", "Standard"},
      {"--flood", "-1"},
      {"--flood", "99999999999"},
      {"--seed", "4294967296"},
      {"--help=yes"},
      {"--silent=1"},
      {"-az", "10"},
  };
  for (const auto& args : rows) {
    EXPECT_THROW(parse(args), OptionError) << args.front() << " " << args.back();
  }
}

TEST(SimulatorOptions, HelpExplainsEveryOptionAndTheLogFormat) {
  const std::string help = SimulatorHelpText();
  for (const char* option :
       {"--link", "--az", "--el", "--speed", "--profile", "--log", "--split", "--split-delay",
        "--leading-cr", "--silent", "--garbage", "--flood", "--seed", "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  for (const std::string_view profile : ReplyProfile::Names()) {
    EXPECT_NE(help.find(profile), std::string::npos) << profile;
  }
  EXPECT_NE(help.find("43 32 0D"), std::string::npos);
}

TEST(CommandLogLine, TimeThenTabThenUpperCaseHexBytes) {
  using std::chrono::milliseconds;
  EXPECT_EQ(CommandLogLine(milliseconds(1532), "C2\r"), "1532\t43 32 0D\n");
  EXPECT_EQ(CommandLogLine(milliseconds(0), "\r"), "0\t0D\n");
  EXPECT_EQ(CommandLogLine(milliseconds(7), "w100 020\r"), "7\t77 31 30 30 20 30 32 30 0D\n");
  EXPECT_EQ(CommandLogLine(milliseconds(86400000), std::string("\x00\xff\x9a\r", 4)),
            "86400000\t00 FF 9A 0D\n");
}

}  // namespace
