#include "serial/ByteTrace.h"

#include <cerrno>
#include <cstdio>

#include "serial/ResultCodes.h"

int32_t ByteTrace::Start(uint32_t entries) {
  if (entries > kMaxEntries) return kBadArgument;
  if (entries != entries_) {
    ring_.assign(static_cast<size_t>(entries) * 2, 0);
    entries_ = entries;
  }
  Clear();
  return 0;
}

void ByteTrace::Add(uint8_t direction, uint8_t byte) {
  if (entries_ == 0) return;
  ring_[static_cast<size_t>(position_) * 2] = direction;
  ring_[static_cast<size_t>(position_) * 2 + 1] = byte;
  if (++position_ == entries_) {
    position_ = 0;
    wrapped_ = true;
  }
}

void ByteTrace::Clear() {
  position_ = 0;
  wrapped_ = false;
}

void ByteTrace::Release() {
  ring_.clear();
  ring_.shrink_to_fit();
  entries_ = 0;
  Clear();
}

std::vector<uint8_t> ByteTrace::Entries() const {
  const size_t split = static_cast<size_t>(position_) * 2;
  std::vector<uint8_t> ordered;
  if (wrapped_) ordered.assign(ring_.begin() + static_cast<std::ptrdiff_t>(split), ring_.end());
  ordered.insert(ordered.end(), ring_.begin(), ring_.begin() + static_cast<std::ptrdiff_t>(split));
  return ordered;
}

int32_t ByteTrace::Dump(const std::string& fileName, bool append, bool hex, bool allHex) {
  if (Empty()) return 0;
  const std::vector<uint8_t> entries = Entries();
  Clear();
  std::FILE* file = std::fopen(fileName.c_str(), append ? "ab" : "wb");
  if (file == nullptr) return -errno;
  int32_t result = 0;
  for (size_t i = 0; i + 1 < entries.size() && result == 0; i += 2) {
    const std::string line = std::string(1, static_cast<char>(entries[i])) + ' ' +
                             ByteText(entries[i + 1], hex, allHex) + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) result = -errno;
  }
  if (std::fclose(file) != 0 && result == 0) result = -errno;
  return result;
}

std::string ByteText(uint8_t byte, bool hex, bool allHex) {
  const bool printable = byte >= 0x20 && byte < 0x7F;
  if (allHex || (hex && !printable)) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    return digits;
  }
  return std::string(1, printable ? static_cast<char>(byte) : '.');
}
