#pragma once
// A private temporary start-up directory for one fuzz process: the readers under test read real
// files, so each input is written into a file here first. Removed when the process ends.

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzStartupDir {
 public:
  FuzzStartupDir();
  FuzzStartupDir(const FuzzStartupDir&) = delete;
  FuzzStartupDir& operator=(const FuzzStartupDir&) = delete;
  ~FuzzStartupDir();

  // The path of name inside the directory.
  std::string PathOf(const std::string& name) const;

  // Replaces the file name with exactly size bytes of data; returns its path.
  std::string Write(const std::string& name, const uint8_t* data, size_t size) const;

 private:
  std::string path_;
};
