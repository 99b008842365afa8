#include "app/PositionLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "app/InOutError.h"

void PositionLog::Create(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) RaiseInOutError(errno, path);
  fd_ = fd;
  path_ = path;
}

void PositionLog::Append(const std::string& line) {
  std::string_view rest = line;
  while (IsOpen() && !rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) RaiseInOutError(errno, path_);
    rest.remove_prefix(static_cast<size_t>(written));
  }
}

void PositionLog::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}
