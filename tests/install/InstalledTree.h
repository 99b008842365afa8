#pragma once
// This build installed with `cmake --install` into a fresh temporary prefix, removed with it.

#include <string>

#include "tests/support/TemporaryDirectory.h"

inline const std::string kBinDir = AZIMARA_INSTALL_BINDIR;
inline const std::string kDataDir = AZIMARA_INSTALL_DATADIR;
inline const std::string kPanelDir = AZIMARA_PANEL_INSTALL_DIR;
inline const std::string kShippedDir = AZIMARA_SHIPPED_INSTALL_DIR;

class InstalledTree {
 public:
  // Throws std::runtime_error with cmake's output when the installation fails.
  InstalledTree();

  // A path inside the installed prefix.
  std::string Path(const std::string& relative) const { return prefix_ + "/" + relative; }

 private:
  TemporaryDirectory directory_;
  std::string prefix_;
};
