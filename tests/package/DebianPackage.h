#pragma once
// The package the package_build fixture made, and dpkg's view of it: its control fields, and
// the package installed with dpkg -i into a throw-away root of its own.

#include <string>
#include <vector>

#include "tests/support/TemporaryDirectory.h"

// azimara-m_<version>_<architecture>.deb beside lintian's report lintian.txt.
std::string PackagePath();
std::string LintianReportPath();

// A field of the package's control file, "" when it has none.
std::string ControlField(const std::string& field);

// The package names of a Depends field ("libc6 (>= 2.34), libfoo1 | libbar1" gives libc6,
// libfoo1, libbar1).
std::vector<std::string> DependedPackages(const std::string& depends);

class ThrowAwayRoot {
 public:
  // An empty dpkg database in a fresh directory, and the package installed into it with
  // dpkg -i, its dependencies left to this machine. Throws std::runtime_error with dpkg's
  // output when dpkg fails.
  ThrowAwayRoot();

  // A path inside the root ("usr/bin/azimara-m").
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
  // What dpkg -L lists for the package: absolute paths inside the root.
  std::vector<std::string> ListedPaths() const;
  // The package's status line in the root's database ("install ok installed").
  std::string Status() const;

 private:
  TemporaryDirectory directory_;
  std::string root_;
};
