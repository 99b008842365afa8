#pragma once
// A test's end of the line: a terminal opened raw at 9600 baud, as a panel or
// rotctl opens its serial port.

#include <cstddef>
#include <string>
#include <string_view>

#include "serial/Deadline.h"

class RawPort {
 public:
  // Throws std::runtime_error when the terminal cannot be opened or set up.
  explicit RawPort(const std::string& path);
  RawPort(const RawPort&) = delete;
  RawPort& operator=(const RawPort&) = delete;
  ~RawPort();

  void Write(std::string_view bytes);
  // Bytes until count have come or the deadline passed.
  std::string Read(std::size_t count, const Deadline& deadline);
  // Bytes up to and including the first terminator, or all that came by the deadline.
  std::string ReadUntil(char terminator, const Deadline& deadline);
  // The bytes of one read once any are there, nothing at the deadline.
  std::string ReadSome(const Deadline& deadline);

  // Puts the terminal into exclusive mode, as some programs do with their port.
  void MakeExclusive();
  bool Exclusive() const;

 private:
  int fd_ = -1;
};
