#include "tests/support/CurrentDirectory.h"

#include <filesystem>

CurrentDirectory::CurrentDirectory(const std::string& dir)
    : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir);
}

CurrentDirectory::~CurrentDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}
