#include "app/PositionLog.h"

#include <cerrno>
#include <string_view>

#include "app/InOutError.h"
#include "app/SystemFiles.h"

void PositionLog::Create(const std::string& path) {
  Close();
  const int fd = OpenNewFile(path);
  if (fd < 0) RaiseInOutError(errno, path);
  fd_ = fd;
  path_ = path;
}

void PositionLog::Append(const std::string& line) {
  std::string_view rest = line;
  while (IsOpen() && !rest.empty()) {
    const int64_t written = WriteToFile(fd_, rest.data(), rest.size());
    if (written < 0) RaiseInOutError(errno, path_);
    rest.remove_prefix(static_cast<size_t>(written));
  }
}

void PositionLog::Close() {
  if (fd_ < 0) return;
  CloseFile(fd_);
  fd_ = -1;
}
