#include "app/FileReplacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "app/InOutError.h"

namespace {

// Closes the file and removes it unless it was handed over by rename.
class NewFile {
 public:
  explicit NewFile(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) RaiseInOutError(errno, path_);
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }

  void Write(std::string_view content) {
    while (!content.empty()) {
      const ssize_t written = ::write(fd_, content.data(), content.size());
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) RaiseInOutError(errno, path_);
      content.remove_prefix(static_cast<size_t>(written));
    }
  }

  // Makes the content durable before the name points at it.
  void SyncAndClose() {
    if (::fsync(fd_) != 0) RaiseInOutError(errno, path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) RaiseInOutError(errno, path_);
  }

  void RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) RaiseInOutError(errno, target);
    renamed_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool renamed_ = false;
};

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable. Best effort: the content is already safe either way.
void syncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void ReplaceFileContent(const std::string& path, std::string_view content) {
  NewFile file(path + ".new");
  file.Write(content);
  file.SyncAndClose();
  file.RenameTo(path);
  syncDirectory(directoryOf(path));
}
