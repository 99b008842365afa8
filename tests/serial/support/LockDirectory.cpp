#include "tests/serial/support/LockDirectory.h"

#include <cstdio>
#include <fstream>

#include "serial/UucpLock.h"

LockDirectory::LockDirectory() : previous_(UucpLockDirectory()) { SetUucpLockDirectory(Path()); }

LockDirectory::~LockDirectory() { SetUucpLockDirectory(previous_); }

std::string LockDirectory::LockOf(const std::string& devicePath) const {
  return dir_.Path(UucpLockName(devicePath));
}

void LockDirectory::WriteLock(const std::string& devicePath, long pid) const {
  char text[16];
  std::snprintf(text, sizeof text, "%10ld\n", pid);
  std::ofstream(LockOf(devicePath)) << text;
}

long LockDirectory::OwnerOf(const std::string& devicePath) const {
  std::ifstream file(LockOf(devicePath));
  long pid = 0;
  file >> pid;
  return pid;
}
