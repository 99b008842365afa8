#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "tools/gs232sim/OutputQueue.h"
#include "tools/gs232sim/ReplyShaper.h"

namespace {

using std::chrono::milliseconds;

const std::string kReport = "AZ=123  EL=045\r\n";
constexpr std::uint32_t kSeed = 42;

std::string joined(const std::vector<OutputChunk>& chunks) {
  std::string bytes;
  for (const OutputChunk& chunk : chunks) bytes += chunk.bytes;
  return bytes;
}

TEST(ReplyShaper, WithoutFaultsSendsTheReplyInOnePiece) {
  ReplyShaper shaper(ReplyFaults{}, kSeed);
  const auto chunks = shaper.Shape(kReport);
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].bytes, kReport);
  EXPECT_EQ(chunks[0].delayBefore, milliseconds(0));
}

TEST(ReplyShaper, SplitsIntoPiecesOfTheSizeWithTheDelayBetween) {
  for (const std::size_t size : {1u, 3u, 5u, 16u, 40u}) {
    ReplyFaults faults;
    faults.splitSize = size;
    faults.splitDelay = milliseconds(25);
    ReplyShaper shaper(faults, kSeed);
    const auto chunks = shaper.Shape(kReport);
    EXPECT_EQ(joined(chunks), kReport) << size;
    EXPECT_EQ(chunks.size(), (kReport.size() + size - 1) / size) << size;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
      EXPECT_LE(chunks[i].bytes.size(), size);
      EXPECT_EQ(chunks[i].delayBefore, i == 0 ? milliseconds(0) : faults.splitDelay);
    }
  }
}

TEST(ReplyShaper, LeadingCrComesBeforeEveryReply) {
  ReplyFaults faults;
  faults.leadingCr = true;
  ReplyShaper shaper(faults, kSeed);
  EXPECT_EQ(joined(shaper.Shape(kReport)), "\r" + kReport);
  EXPECT_EQ(joined(shaper.Shape("\r")), "\r\r");
}

TEST(ReplyShaper, SilentSendsNothing) {
  ReplyFaults faults;
  faults.silent = true;
  faults.leadingCr = true;
  ReplyShaper shaper(faults, kSeed);
  EXPECT_TRUE(shaper.Shape(kReport).empty());
}

TEST(ReplyShaper, GarbageKeepsTheLengthButNotTheBytes) {
  ReplyFaults faults;
  faults.garbage = true;
  ReplyShaper shaper(faults, kSeed);
  const std::string first = joined(shaper.Shape(kReport));
  const std::string second = joined(shaper.Shape(kReport));
  EXPECT_EQ(first.size(), kReport.size());
  EXPECT_NE(first, kReport);
  EXPECT_NE(first, second);

  ReplyShaper sameSeed(faults, kSeed);
  EXPECT_EQ(joined(sameSeed.Shape(kReport)), first);
}

TEST(ReplyShaper, GarbageGetsItsLeadingCrAndIsSplitToo) {
  ReplyFaults faults;
  faults.garbage = true;
  faults.leadingCr = true;
  faults.splitSize = 4;
  ReplyShaper shaper(faults, kSeed);
  const auto chunks = shaper.Shape(kReport);
  const std::string bytes = joined(chunks);
  ASSERT_EQ(bytes.size(), kReport.size() + 1);
  EXPECT_EQ(bytes[0], '\r');
  EXPECT_EQ(chunks.size(), (bytes.size() + 3) / 4);
}

TEST(ReplyShaper, RandomBytesSpanTheWholeByteRange) {
  ReplyShaper shaper(ReplyFaults{}, kSeed);
  const std::string bytes = shaper.RandomBytes(8192);
  ASSERT_EQ(bytes.size(), 8192u);
  const auto [low, high] = std::minmax_element(bytes.begin(), bytes.end(), [](char a, char b) {
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  });
  EXPECT_EQ(static_cast<unsigned char>(*low), 0);
  EXPECT_EQ(static_cast<unsigned char>(*high), 255);
  EXPECT_TRUE(shaper.RandomBytes(0).empty());
}

const OutputQueue::Clock::time_point kT0 = OutputQueue::Clock::time_point{} + std::chrono::hours(1);

TEST(OutputQueue, PiecesWaitTheirDelayAfterThePreviousWrite) {
  OutputQueue queue;
  queue.Push({{"ab", milliseconds(0)}, {"cd", milliseconds(30)}});
  EXPECT_LE(queue.DueAt(), kT0);
  EXPECT_EQ(queue.Front(), "ab");
  queue.Consume(2, kT0);
  EXPECT_EQ(queue.Front(), "cd");
  EXPECT_EQ(queue.DueAt(), kT0 + milliseconds(30));
  queue.Consume(2, kT0 + milliseconds(31));
  EXPECT_TRUE(queue.Empty());
}

TEST(OutputQueue, RestOfAPartlyWrittenPieceIsDueAtOnce) {
  OutputQueue queue;
  queue.Push({{"abcdef", milliseconds(50)}});
  queue.Consume(2, kT0);
  EXPECT_EQ(queue.Front(), "cdef");
  EXPECT_EQ(queue.DueAt(), kT0);
  queue.Consume(10, kT0);
  EXPECT_TRUE(queue.Empty());
}

TEST(OutputQueue, ClearDropsEverythingAndEmptyPiecesAreSkipped) {
  OutputQueue queue;
  queue.Push({{"", milliseconds(0)}});
  EXPECT_TRUE(queue.Empty());
  queue.Push({{"abc", milliseconds(0)}, {"def", milliseconds(0)}});
  queue.Consume(1, kT0);
  queue.Clear();
  EXPECT_TRUE(queue.Empty());
  queue.Push({{"xyz", milliseconds(0)}});
  EXPECT_EQ(queue.Front(), "xyz");
}

}  // namespace
