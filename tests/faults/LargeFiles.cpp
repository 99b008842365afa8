#include "tests/faults/LargeFiles.h"

#include <algorithm>
#include <fstream>
#include <random>

void WriteFilledFile(const std::string& path, const std::string& head, const std::string& filler,
                     size_t bytes, const std::string& tail) {
  std::string piece;
  while (piece.size() < kMiB) piece += filler;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << head;
  for (size_t written = 0; written < bytes; written += piece.size()) {
    file.write(piece.data(), static_cast<std::streamsize>(std::min(piece.size(), bytes - written)));
  }
  file << tail;
}

std::string Garbage(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes;
  bytes.reserve(count);
  while (bytes.size() < count) {
    const auto byte = static_cast<char>(random());
    if (byte != 'E') bytes.push_back(byte);
  }
  return bytes;
}
