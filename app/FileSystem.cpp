#include "app/FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "app/InOutError.h"

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) RaiseInOutError(errno, ".");
  return buffer.data();
}

void ChangeDirectory(const std::string& directory) {
  if (::chdir(directory.c_str()) != 0) RaiseInOutError(errno, directory);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 || errno != ENOENT;
}
