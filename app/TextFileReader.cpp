#include "app/TextFileReader.h"

#include <algorithm>
#include <cerrno>

#include "app/InOutError.h"
#include "app/SystemFiles.h"

namespace {

constexpr size_t kBlockSize = 4096;

}  // namespace

TextFileReader::TextFileReader(std::string path) : path_(std::move(path)) {
  fd_ = OpenFileToRead(path_);
  if (fd_ < 0) RaiseInOutError(errno, path_);
}

TextFileReader::~TextFileReader() { CloseFile(fd_); }

bool TextFileReader::fill() {
  if (endOfFile_) return false;
  buffer_.erase(0, next_);
  next_ = 0;
  char block[kBlockSize];
  const int64_t got = ReadFromFile(fd_, block, sizeof block);
  if (got < 0) RaiseInOutError(errno, path_);
  if (got == 0) {
    endOfFile_ = true;
    return false;
  }
  buffer_.append(block, static_cast<size_t>(got));
  return true;
}

bool TextFileReader::AtEnd() { return next_ == buffer_.size() && !fill(); }

std::string TextFileReader::ReadLine() {
  // Bytes after next_ already searched for the line end; fill() keeps them, moving next_ to 0.
  size_t searched = 0;
  size_t lineFeed = buffer_.find('\n', next_);
  while (lineFeed == std::string::npos && buffer_.size() - next_ <= kLongestTextLine) {
    searched = buffer_.size() - next_;
    if (!fill()) break;
    lineFeed = buffer_.find('\n', next_ + searched);
  }
  const size_t end = lineFeed == std::string::npos ? buffer_.size() : lineFeed;
  const size_t length = std::min(end - next_, kLongestTextLine);
  std::string line = buffer_.substr(next_, length);
  if (end - next_ > kLongestTextLine) {
    next_ += length;
    skipRestOfLine();
    return line;
  }
  next_ = lineFeed == std::string::npos ? buffer_.size() : lineFeed + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void TextFileReader::skipRestOfLine() {
  size_t lineFeed = buffer_.find('\n', next_);
  while (lineFeed == std::string::npos) {
    next_ = buffer_.size();
    if (!fill()) return;
    lineFeed = buffer_.find('\n', next_);
  }
  next_ = lineFeed + 1;
}
