#pragma once
// The diagnostic position log: one line per accepted position report.

#include <string>

inline constexpr const char* kPositionLogFileName = "QV_M.log";

class PositionLog {
 public:
  PositionLog() = default;
  PositionLog(const PositionLog&) = delete;
  PositionLog& operator=(const PositionLog&) = delete;
  ~PositionLog() { Close(); }

  // Creates the file at path, emptying an existing one, and keeps it open. Raises
  // EInOutError when it cannot be created.
  void Create(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends line as it is (the caller ends it) and hands it to the system at once, so the
  // log is complete up to the last report even when the program is killed. Raises
  // EInOutError when it cannot be written; does nothing while the log is closed.
  void Append(const std::string& line);
  void Close();

 private:
  std::string path_;
  int fd_ = -1;
};
