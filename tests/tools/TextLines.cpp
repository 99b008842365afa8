#include "tests/tools/TextLines.h"

#include <chrono>
#include <thread>

#include "serial/Deadline.h"
#include "tests/support/FileBytes.h"
#include "tests/tools/TestPatience.h"

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string content = ReadBytes(path);
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

std::vector<std::string> WaitForLines(const std::string& path, std::size_t count) {
  const Deadline deadline(kPatience);
  std::vector<std::string> lines = ReadLines(path);
  while (lines.size() < count && !deadline.Passed()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    lines = ReadLines(path);
  }
  return lines;
}
