#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "app/SystemFiles.h"

int OpenNewFile(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

int OpenFileToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }

int64_t ReadFromFile(int file, char* buffer, size_t size) {
  ssize_t got = 0;
  do {
    got = ::read(file, buffer, size);
  } while (got < 0 && errno == EINTR);
  return got;
}

int64_t WriteToFile(int file, const char* data, size_t size) {
  ssize_t written = 0;
  do {
    written = ::write(file, data, size);
  } while (written < 0 && errno == EINTR);
  return written;
}

bool SyncFile(int file) { return ::fsync(file) == 0; }

bool CloseFile(int file) { return ::close(file) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool MoveFileOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool ReadsDirectory(std::FILE* file, bool& directory) {
  struct stat status {};
  if (fstat(fileno(file), &status) != 0) return false;
  directory = S_ISDIR(status.st_mode);
  return true;
}

bool PathMayExist(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string CurrentDirectoryPath() {
  std::vector<char> buffer(PATH_MAX);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
  return buffer.data();
}

bool EnterDirectory(const std::string& directory) { return ::chdir(directory.c_str()) == 0; }

std::string ErrnoReason(int errorNumber) {
  char buffer[256];
  return strerror_r(errorNumber, buffer, sizeof buffer);
}
