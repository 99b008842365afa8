#pragma once
// Bytes waiting to go out to the client, in pieces that may have to wait a
// while after the previous write. Time is handed in, never read.

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// A piece of output and the least time between the write before it and this one.
struct OutputChunk {
  std::string bytes;
  std::chrono::milliseconds delayBefore{0};
};

class OutputQueue {
 public:
  using Clock = std::chrono::steady_clock;

  void Push(std::vector<OutputChunk> chunks);
  bool Empty() const { return chunks_.empty(); }
  // Drops everything waiting.
  void Clear();

  // When the front chunk may be written; only meaningful when not Empty. The
  // rest of a partly written chunk is due at once.
  Clock::time_point DueAt() const;
  // The unwritten bytes of the front chunk; only when not Empty.
  std::string_view Front() const;
  // Records that count bytes of Front were written at now.
  void Consume(std::size_t count, Clock::time_point now);

 private:
  std::deque<OutputChunk> chunks_;
  std::size_t frontWritten_ = 0;
  Clock::time_point lastWrite_{};
};
