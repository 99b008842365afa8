#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/SystemFiles.h"

namespace {

// The C library's reading of the few reasons a rename over a file fails for.
int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

unsigned int chunkOf(size_t size) {
  return static_cast<unsigned int>(std::min<size_t>(size, INT_MAX));
}

}  // namespace

int OpenNewFile(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
}

int OpenFileToRead(const std::string& path) {
  return _open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int64_t ReadFromFile(int file, char* buffer, size_t size) {
  return _read(file, buffer, chunkOf(size));
}

int64_t WriteToFile(int file, const char* data, size_t size) {
  return _write(file, data, chunkOf(size));
}

bool SyncFile(int file) { return _commit(file) == 0; }

bool CloseFile(int file) { return _close(file) == 0; }

bool RemoveFile(const std::string& path) { return _unlink(path.c_str()) == 0; }

bool MoveFileOver(const std::string& from, const std::string& to) {
  // rename refuses an existing target on Windows; this replaces it in one step.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  errno = errnoOf(GetLastError());
  return false;
}

// MOVEFILE_WRITE_THROUGH has already made the new name durable.
void SyncDirectory(const std::string&) {}

bool ReadsDirectory(std::FILE* file, bool& directory) {
  struct _stat64 status {};
  if (_fstat64(_fileno(file), &status) != 0) return false;
  directory = (status.st_mode & _S_IFDIR) != 0;
  return true;
}

bool PathMayExist(const std::string& path) {
  struct _stat64 info {};
  return _stat64(path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string CurrentDirectoryPath() {
  char* path = _getcwd(nullptr, 0);
  if (path == nullptr) return {};
  std::string current(path);
  std::free(path);
  return current;
}

bool EnterDirectory(const std::string& directory) { return _chdir(directory.c_str()) == 0; }

std::string ErrnoReason(int errorNumber) {
  char buffer[256];
  if (strerror_s(buffer, sizeof buffer, errorNumber) != 0) return "Unknown error";
  return buffer;
}
