#pragma once
// A fresh directory of a test's own under the system's temporary directory, removed with
// everything in it when the object goes.

#include <string>
#include <string_view>

class TemporaryDirectory {
 public:
  // Throws std::runtime_error when no fresh directory can be made.
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  // The directory itself.
  const std::string& Path() const { return path_; }
  // The path of name inside it.
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  // Replaces the file name with exactly bytes and returns its path; throws
  // std::runtime_error when the file cannot be written.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string path_;
};
