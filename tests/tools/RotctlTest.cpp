#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"
#include "tests/tools/TextLines.h"

namespace {

struct RotctlResult {
  bool succeeded = false;
  std::string output;
};

// Runs one rotctl command against the GS-232B backend at 9600 baud.
RotctlResult rotctl(const std::string& port, const std::vector<std::string>& command) {
  std::vector<std::string> args = {"-m", "603", "-r", port, "-s", "9600"};
  args.insert(args.end(), command.begin(), command.end());
  ChildProcess process(ROTCTL_PATH, args);
  RotctlResult result;
  result.output = process.ReadAll(Deadline(kPatience));
  const auto status = process.Wait(Deadline(kPatience));
  result.succeeded = status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
  return result;
}

// The azimuth and elevation rotctl printed for "p".
std::vector<double> positions(const std::string& output) {
  std::istringstream text(output);
  std::vector<double> values;
  for (double value; text >> value;) values.push_back(value);
  return values;
}

TEST(Rotctl, SetsAndReadsThePositionThroughTheGs232bBackend) {
  ASSERT_TRUE(std::string(ROTCTL_PATH).find("NOTFOUND") == std::string::npos)
      << "rotctl is missing; scripts/install-deps.sh installs libhamlib-utils";
  TemporaryDirectory directory;
  const std::string log = directory.Path("commands.log");
  SimulatorProcess simulator({"--speed", "200", "--log", log});

  const RotctlResult set = rotctl(simulator.ClientPath(), {"P", "200", "30"});
  EXPECT_TRUE(set.succeeded) << set.output;

  const std::vector<double> wanted = {200.0, 30.0};
  std::vector<double> read;
  const Deadline deadline(kPatience);
  while (read != wanted && !deadline.Passed()) {
    const RotctlResult get = rotctl(simulator.ClientPath(), {"p"});
    ASSERT_TRUE(get.succeeded) << get.output;
    read = positions(get.output);
  }
  EXPECT_EQ(read, wanted);

  // rotctl's bytes: the move, the lone CR it sends after it, then queries.
  const std::vector<std::string> lines = ReadLines(log);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_TRUE(lines[0].ends_with("\t57 32 30 30 20 30 33 30 0D")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with("\t0D")) << lines[1];
  for (std::size_t i = 2; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].ends_with("\t43 32 0D")) << lines[i];
  }
}

}  // namespace
