#include "tests/journeys/ToolRun.h"

#include <sys/wait.h>

#include <stdexcept>

#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

bool ToolResult::Succeeded() const {
  return Status >= 0 && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args) {
  ChildProcess tool(program, args);
  const Deadline deadline(kPatience);
  ToolResult result;
  result.Output = tool.ReadAll(deadline);
  result.Status = tool.Wait(deadline).value_or(-1);
  return result;
}

std::string RunToolChecked(const std::string& program, const std::vector<std::string>& args) {
  ToolResult result = RunTool(program, args);
  if (!result.Succeeded()) {
    std::string command = program;
    for (const std::string& arg : args) command += " " + arg;
    throw std::runtime_error("failed: " + command + "\n" + result.Output);
  }
  return result.Output;
}
