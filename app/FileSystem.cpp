#include "app/FileSystem.h"

#include <cerrno>

#include "app/InOutError.h"
#include "app/SystemFiles.h"

std::string CurrentDirectory() {
  std::string current = CurrentDirectoryPath();
  if (current.empty()) RaiseInOutError(errno, ".");
  return current;
}

void ChangeDirectory(const std::string& directory) {
  if (!EnterDirectory(directory)) RaiseInOutError(errno, directory);
}

bool FileExists(const std::string& path) { return PathMayExist(path); }
