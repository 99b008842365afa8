#include "FuzzInputFile.h"

#include <string_view>

#include "tests/support/TemporaryDirectory.h"

std::string WriteInputFile(const std::string& name, const uint8_t* data, size_t size) {
  static const TemporaryDirectory startupDir;
  return startupDir.Write(name, std::string_view(reinterpret_cast<const char*>(data), size));
}
