#include "tools/gs232sim/OutputQueue.h"

#include <algorithm>

void OutputQueue::Push(std::vector<OutputChunk> chunks) {
  for (OutputChunk& chunk : chunks) {
    if (!chunk.bytes.empty()) chunks_.push_back(std::move(chunk));
  }
}

void OutputQueue::Clear() {
  chunks_.clear();
  frontWritten_ = 0;
}

OutputQueue::Clock::time_point OutputQueue::DueAt() const {
  if (frontWritten_ > 0) return lastWrite_;
  return lastWrite_ + chunks_.front().delayBefore;
}

std::string_view OutputQueue::Front() const {
  return std::string_view(chunks_.front().bytes).substr(frontWritten_);
}

void OutputQueue::Consume(std::size_t count, Clock::time_point now) {
  if (chunks_.empty() || count == 0) return;
  lastWrite_ = now;
  frontWritten_ += std::min(count, Front().size());
  if (frontWritten_ == chunks_.front().bytes.size()) {
    chunks_.pop_front();
    frontWritten_ = 0;
  }
}
