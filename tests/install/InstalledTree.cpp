#include "tests/install/InstalledTree.h"

#include <sys/wait.h>

#include <stdexcept>

#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

InstalledTree::InstalledTree() : prefix_(directory_.Path("prefix")) {
  ChildProcess install(CMAKE_PATH, {"--install", AZIMARA_BUILD_DIR, "--prefix", prefix_});
  const std::string output = install.ReadAll(Deadline(kPatience));
  const std::optional<int> status = install.Wait(Deadline(kPatience));
  if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
    throw std::runtime_error("cmake --install failed:\n" + output);
  }
}
