#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <random>
#include <stdexcept>

#include "tests/support/FileBytes.h"

namespace {

// Tries this many fresh names before giving up.
constexpr int kNameAttempts = 100;

}  // namespace

// Random names and create_directory rather than mkdtemp, which Windows lacks.
TemporaryDirectory::TemporaryDirectory() {
  namespace fs = std::filesystem;
  std::random_device seed;
  std::mt19937_64 names(seed());
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const fs::path candidate = base / ("azimara-" + std::to_string(names()));
    // Creating it is the test that nobody else has it.
    if (fs::create_directory(candidate)) {
      // Only its owner's, as mkdtemp makes it.
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no temporary directory");
}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryDirectory::Write(const std::string& name, std::string_view bytes) const {
  const std::string file = Path(name);
  WriteBytes(file, bytes);
  return file;
}
