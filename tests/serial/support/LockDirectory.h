#pragma once
// A directory of its own for the UUCP lock files of a test's ports, so that
// its locks (and the live ones it makes up) never meet another process's in
// /var/lock. The previous directory is back when the object goes.

#include <string>

#include "tests/support/TemporaryDirectory.h"

class LockDirectory {
 public:
  LockDirectory();
  ~LockDirectory();
  LockDirectory(const LockDirectory&) = delete;
  LockDirectory& operator=(const LockDirectory&) = delete;

  const std::string& Path() const { return dir_.Path(); }
  // The lock file of the device at path in this directory.
  std::string LockOf(const std::string& devicePath) const;
  // Writes a lock file for the device naming pid, as another program would.
  void WriteLock(const std::string& devicePath, long pid) const;
  // The process id the device's lock file names; 0 without one.
  long OwnerOf(const std::string& devicePath) const;

 private:
  TemporaryDirectory dir_;
  std::string previous_;
};
