#pragma once
// UUCP lock files, the convention by which serial programs (minicom, cu,
// ser2net and others) tell each other that a device is in use: a file
// "LCK..<device>" in /var/lock holding the owner's process id as ten
// right-aligned digits and a newline. A lock whose process is gone is stale
// and may be removed.

#include <string>

// Where lock files are looked for and made; "/var/lock" unless set. Set it
// before ports open (tests give each a directory of their own). Any thread.
void SetUucpLockDirectory(std::string directory);
std::string UucpLockDirectory();

// The lock file's name for the device at path: "LCK.." and the last
// component of its real path, links followed ("LCK..ttyUSB0" for a COM link
// to /dev/ttyUSB0). Empty when the path leads nowhere.
std::string UucpLockName(const std::string& devicePath);

class UucpLock {
 public:
  UucpLock() = default;
  // Releases a lock still held.
  ~UucpLock();
  UucpLock(const UucpLock&) = delete;
  UucpLock& operator=(const UucpLock&) = delete;

  // Takes the lock of the device at path: 0, or EBUSY when a live process
  // holds it (this one included). A stale lock is removed and taken over.
  // A device that leads nowhere, or a lock directory that is missing or not
  // writable, takes no lock and is no error: the device's own claim still
  // keeps other programs out.
  int Acquire(const std::string& devicePath);
  // Removes the lock file taken, if it still names this process.
  void Release();
  bool Held() const { return !path_.empty(); }

 private:
  std::string path_;
};
