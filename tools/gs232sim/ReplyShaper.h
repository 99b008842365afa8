#pragma once
// The faults a controller or its line may show, applied to each reply on its
// way out: split into delayed pieces, preceded by a CR, replaced by garbage,
// or swallowed altogether. Also makes the random bytes of a flood.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gs232sim/OutputQueue.h"

struct ReplyFaults {
  // Piece size; 0 sends each reply in one piece.
  std::size_t splitSize = 0;
  // Pause before every piece after the first of a reply.
  std::chrono::milliseconds splitDelay{10};
  bool leadingCr = false;
  bool silent = false;
  bool garbage = false;
};

class ReplyShaper {
 public:
  ReplyShaper(ReplyFaults faults, std::uint32_t seed);

  // The pieces to send for a reply: garbage of the reply's length instead of
  // it, then a CR in front, then cut into pieces; nothing when silent.
  std::vector<OutputChunk> Shape(std::string_view reply);
  // count random bytes, every value from 0 to 255 possible.
  std::string RandomBytes(std::size_t count);

 private:
  ReplyFaults faults_;
  std::mt19937 random_;
};
