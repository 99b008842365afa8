#include "app/FileReplacement.h"

#include <cerrno>

#include "app/InOutError.h"
#include "app/SystemFiles.h"

namespace {

// Closes the file and removes it unless it was handed over by rename.
class NewFile {
 public:
  explicit NewFile(std::string path) : path_(std::move(path)) {
    fd_ = OpenNewFile(path_);
    if (fd_ < 0) RaiseInOutError(errno, path_);
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile() {
    if (fd_ >= 0) CloseFile(fd_);
    if (!renamed_) RemoveFile(path_);
  }

  void Write(std::string_view content) {
    while (!content.empty()) {
      const int64_t written = WriteToFile(fd_, content.data(), content.size());
      if (written < 0) RaiseInOutError(errno, path_);
      content.remove_prefix(static_cast<size_t>(written));
    }
  }

  // Makes the content durable before the name points at it.
  void SyncAndClose() {
    if (!SyncFile(fd_)) RaiseInOutError(errno, path_);
    const int fd = fd_;
    fd_ = -1;
    if (!CloseFile(fd)) RaiseInOutError(errno, path_);
  }

  void RenameTo(const std::string& target) {
    if (!MoveFileOver(path_, target)) RaiseInOutError(errno, target);
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

}  // namespace

void ReplaceFileContent(const std::string& path, std::string_view content) {
  NewFile file(path + ".new");
  file.Write(content);
  file.SyncAndClose();
  file.RenameTo(path);
  // The rename itself made durable; the content is already safe either way.
  SyncDirectory(directoryOf(path));
}
