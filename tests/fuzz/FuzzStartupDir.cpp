#include "FuzzStartupDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzCheck.h"

FuzzStartupDir::FuzzStartupDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "azimara-fuzz-XXXXXX").string();
  Check(mkdtemp(pattern.data()) != nullptr, "a temporary start-up directory can be made");
  path_ = pattern;
}

FuzzStartupDir::~FuzzStartupDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string FuzzStartupDir::PathOf(const std::string& name) const { return path_ + "/" + name; }

std::string FuzzStartupDir::Write(const std::string& name, const uint8_t* data, size_t size) const {
  const std::string path = PathOf(name);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  file.close();
  Check(file.good(), "the fuzz input can be written to the start-up directory");
  return path;
}
