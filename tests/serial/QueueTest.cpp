// The input queue between the platform's threads and the dispatch thread.

#include <gtest/gtest.h>

#include <thread>

#include "serial/IOQueue.h"
#include "serial/SioExceptions.h"

namespace {

std::unique_ptr<TDataBuffer> dataItem(const std::vector<uint8_t>& bytes) {
  auto item = std::make_unique<TDataBuffer>(256);
  std::copy(bytes.begin(), bytes.end(), item->Data.get());
  item->UsedCount = static_cast<uint32_t>(bytes.size());
  return item;
}

TEST(IOQueue, TakeReceivedBytesCopiesAcrossItemsAndFreesTheDrainedOnes) {
  TIOQueue queue;
  queue.PushItem(dataItem({1, 2, 3}));
  queue.PushItem(dataItem({4, 5}));
  queue.PushItem(dataItem({6}));
  EXPECT_EQ(queue.ByteCount(), 3 * 256);
  uint8_t out[4] = {};
  EXPECT_EQ(queue.TakeReceivedBytes(out, 4), 4);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_EQ(queue.PendingInputCount(), 1u);
  EXPECT_EQ(queue.TakeReceivedBytes(out, 4), 2);
  EXPECT_EQ(out[0], 5);
  EXPECT_EQ(out[1], 6);
  EXPECT_EQ(queue.Count(), 0u);
  EXPECT_EQ(queue.ByteCount(), 0);
}

TEST(IOQueue, ALineEventStopsTakingAndCountsNothingWhileFirst) {
  TIOQueue queue;
  queue.PushItem(dataItem({1, 2}));
  queue.PushItem(std::make_unique<TStatusBuffer>(0x80));
  queue.PushItem(dataItem({3}));
  uint8_t out[8] = {};
  EXPECT_EQ(queue.TakeReceivedBytes(out, 8), 2);
  EXPECT_EQ(queue.PendingInputCount(), 0u);
  EXPECT_EQ(queue.TakeReceivedBytes(out, 8), 0);
  std::unique_ptr<TIOBuffer> status = queue.PopFirst();
  ASSERT_NE(dynamic_cast<TStatusBuffer*>(status.get()), nullptr);
  EXPECT_EQ(queue.PendingInputCount(), 1u);
}

TEST(IOQueue, AnItemInUseIsSkippedByPeekAndKeptByClear) {
  TIOQueue queue;
  queue.PushItem(dataItem({1}));
  queue.PushItem(dataItem({2}));
  TIOBuffer* first = queue.PeekFirst();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(queue.PeekFirst(), nullptr);
  EXPECT_EQ(queue.PendingInputCount(), 0u);
  queue.Clear();
  EXPECT_EQ(queue.Count(), 1u);
  first->InUse = false;
  queue.Clear();
  EXPECT_EQ(queue.Count(), 0u);
}

TEST(IOQueue, AProducerUsedCountBeyondTheItemIsNeverReadPast) {
  TIOQueue queue;
  auto item = dataItem({7, 8});
  item->UsedCount = 100000;
  queue.PushItem(std::move(item));
  std::vector<uint8_t> out(1000);
  EXPECT_EQ(queue.TakeReceivedBytes(out.data(), 1000), 256);
  EXPECT_EQ(queue.Count(), 0u);
}

TEST(IOQueue, WaitForItemReturnsAtOnceWhenQueuedAndWakesOnAPush) {
  TIOQueue queue;
  queue.PushItem(dataItem({1}));
  EXPECT_TRUE(queue.WaitForItem(std::chrono::hours(1)));
  queue.PopFirst();
  std::thread producer([&] { queue.PushItem(dataItem({2})); });
  EXPECT_TRUE(queue.WaitForItem(std::chrono::seconds(10)));
  producer.join();
}

TEST(IOBuffers, DataItemsStartZeroedAndUnread) {
  const TDataBuffer item(16);
  EXPECT_EQ(item.UsedCount, 0u);
  EXPECT_EQ(item.ReadPosition, 0u);
  EXPECT_FALSE(item.InUse);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(item.Data[static_cast<size_t>(i)], 0);
}

}  // namespace
