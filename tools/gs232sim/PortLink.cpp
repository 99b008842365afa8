#include "tools/gs232sim/PortLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "tools/gs232sim/SystemCall.h"

namespace {

// The target of the link at path, or nothing when path is no link.
std::string linkTarget(const std::string& path) {
  std::array<char, 4096> target{};
  const ssize_t length = readlink(path.c_str(), target.data(), target.size());
  if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return {};
  return std::string(target.data(), static_cast<std::size_t>(length));
}

}  // namespace

PortLink::PortLink(std::string linkPath, std::string target)
    : linkPath_(std::move(linkPath)), target_(std::move(target)) {
  struct stat existing {};
  if (lstat(linkPath_.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      throw std::runtime_error(linkPath_ + " exists and is not a symbolic link; left alone");
    }
    CheckSystemCall(unlink(linkPath_.c_str()), "unlink " + linkPath_);
  } else if (errno != ENOENT) {
    ThrowSystemError("lstat " + linkPath_);
  }
  CheckSystemCall(symlink(target_.c_str(), linkPath_.c_str()), "symlink " + linkPath_);
}

PortLink::~PortLink() {
  // Another simulator may have taken the name over since; its link stays.
  if (linkTarget(linkPath_) == target_ && unlink(linkPath_.c_str()) != 0) {
    std::perror(("gs232sim: unlink " + linkPath_).c_str());
  }
}
