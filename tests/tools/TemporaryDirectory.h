#pragma once
// A fresh empty directory under the system's temporary directory, removed
// with everything in it when the test ends.

#include <string>

class TemporaryDirectory {
 public:
  TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  ~TemporaryDirectory();

  std::string Path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
