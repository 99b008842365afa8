#pragma once
// Running a command-line tool (xdotool, import, the accessibility dump) to its end.

#include <string>
#include <vector>

struct ToolResult {
  // The wait status, -1 when the tool did not end in time (it is killed then).
  int Status = -1;
  std::string Output;
  bool Succeeded() const;
};

// Runs program with args, no standard input, and collects its standard output; gives up after
// kPatience.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args);

// As RunTool; throws std::runtime_error naming the command when the tool fails.
std::string RunToolChecked(const std::string& program, const std::vector<std::string>& args);
