#include "tools/gs232sim/ReplyShaper.h"

#include <algorithm>

ReplyShaper::ReplyShaper(ReplyFaults faults, std::uint32_t seed) : faults_(faults), random_(seed) {}

std::vector<OutputChunk> ReplyShaper::Shape(std::string_view reply) {
  if (faults_.silent) return {};
  std::string bytes = faults_.garbage ? RandomBytes(reply.size()) : std::string(reply);
  if (faults_.leadingCr) bytes.insert(bytes.begin(), '\r');
  if (faults_.splitSize == 0) return {OutputChunk{std::move(bytes)}};

  std::vector<OutputChunk> pieces;
  for (std::size_t pos = 0; pos < bytes.size(); pos += faults_.splitSize) {
    const auto delay = pos == 0 ? std::chrono::milliseconds(0) : faults_.splitDelay;
    pieces.push_back(OutputChunk{bytes.substr(pos, faults_.splitSize), delay});
  }
  return pieces;
}

std::string ReplyShaper::RandomBytes(std::size_t count) {
  std::uniform_int_distribution<int> byteValue(0, 255);
  std::string bytes(count, '\0');
  std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(byteValue(random_)); });
  return bytes;
}
