#pragma once
// Reads a text file line by line. A line ends at LF or at the end of the file; one CR at the end
// of a line is dropped, so files with CR LF and with LF line ends read alike. The file is closed
// when the reader goes.
//
// Lines are kept to their first kLongestTextLine bytes and the rest is skipped unread into
// memory: no line of the panel's files means anything that long, and a damaged file of one
// endless line must not take memory in proportion to its size.

#include <cstddef>
#include <string>

inline constexpr size_t kLongestTextLine = 64 * 1024;

class TextFileReader {
 public:
  // Opens path for reading; raises EInOutError when it cannot be opened.
  explicit TextFileReader(std::string path);
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;
  ~TextFileReader();

  // True when every byte of the file has been read. Raises EInOutError when reading fails.
  bool AtEnd();

  // The next line without its line end, at most kLongestTextLine bytes of it; an empty text once
  // the end has been reached. Raises EInOutError when reading fails.
  std::string ReadLine();

 private:
  // Reads the next block; false at the end of the file.
  bool fill();
  // Drops the bytes up to and including the next LF.
  void skipRestOfLine();

  std::string path_;
  int fd_ = -1;
  std::string buffer_;
  size_t next_ = 0;
  bool endOfFile_ = false;
};
