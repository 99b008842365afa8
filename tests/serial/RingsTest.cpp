// The output ring as the application fills it and the write thread empties
// it, and the application's direct reads of the dispatch ring.

#include <gtest/gtest.h>

#include "serial/OutputRing.h"
#include "tests/serial/support/OpenFakePortTest.h"

namespace {

std::vector<uint8_t> pattern(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 5);
  return bytes;
}

class Rings : public OpenFakePortTest {
 protected:
  Rings() : OpenFakePortTest(0) {}
};

TEST_F(Rings, ABlockOfExactlyTheFreeRoomFillsTheOutputRingAndOneByteMoreIsRefused) {
  const uint32_t size = port->OutputSize();
  const std::vector<uint8_t> first = pattern(100);
  ASSERT_EQ(port->WriteBlock(first.data(), 100), 0);
  const std::vector<uint8_t> rest = pattern(size - 100);
  EXPECT_EQ(port->WriteBlock(rest.data(), size - 100 + 1), -3006);
  EXPECT_EQ(port->OutputUsed(), 100u);
  ASSERT_EQ(port->WriteBlock(rest.data(), size - 100), 0);
  EXPECT_EQ(port->OutputUsed(), size);
  EXPECT_EQ(port->OutputFree(), 0u);
  EXPECT_EQ(port->WriteByte(0x55), -3006);

  std::vector<uint8_t> expected = first;
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(port->TakeOutput(), expected);
  EXPECT_EQ(port->OutputFree(), size);
  EXPECT_EQ(port->WriteByte(0x55), 0);
  EXPECT_EQ(port->TakeOutput(), std::vector<uint8_t>{0x55});
}

TEST_F(Rings, AnEmptyBlockQueuesNothingAndDiscardOutputEmptiesTheRing) {
  EXPECT_EQ(port->WriteBlock(nullptr, 0), 0);
  EXPECT_EQ(port->OutputUsed(), 0u);
  const std::vector<uint8_t> bytes = pattern(10);
  ASSERT_EQ(port->WriteBlock(bytes.data(), 10), 0);
  port->DiscardOutput();
  EXPECT_EQ(port->OutputUsed(), 0u);
  EXPECT_TRUE(port->TakeOutput().empty());
}

TEST(OutputRing, PutsWrapAtTheEndAndTakeAllKeepsOrder) {
  OutputRing ring;
  ring.Allocate(8);
  const uint8_t five[] = {1, 2, 3, 4, 5};
  const uint8_t three[] = {6, 7, 8};
  EXPECT_EQ(ring.Put(five, 5), 5u);
  EXPECT_EQ(ring.Put(three, 3), 3u);
  EXPECT_EQ(ring.PendingCount(), 8u);
  EXPECT_EQ(ring.FreeCount(), 0u);
  EXPECT_EQ(ring.Put(three, 1), 0u);
  std::vector<uint8_t> block;
  ring.TakeAll(block);
  EXPECT_EQ(block, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(ring.Empty());
  ring.Release();
  EXPECT_EQ(ring.Put(five, 1), 0u);
}

TEST_F(Rings, DirectReadsConsumeInOrderAndPeeksDoNot) {
  const std::vector<uint8_t> bytes = pattern(300);
  port->Feed(bytes);
  ASSERT_TRUE(WaitUntil([&] { return port->UnreadCount() == bytes.size(); }));
  uint8_t ch = 0;
  EXPECT_EQ(port->PeekByte(ch, 0), -1002);
  ASSERT_EQ(port->PeekByte(ch, 300), 0);
  EXPECT_EQ(ch, bytes[299]);
  EXPECT_EQ(port->PeekByte(ch, 301), -3007);
  std::vector<uint8_t> read;
  while (port->ReadByte(ch) == 0) read.push_back(ch);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(port->UnreadCount(), 0u);
}

TEST_F(Rings, DiscardInputDropsUnreadAndQueuedBytes) {
  port->Feed(pattern(300));
  ASSERT_TRUE(WaitUntil([&] { return port->UnreadCount() == 300; }));
  port->Feed(pattern(10));
  port->DiscardInput();
  EXPECT_EQ(port->UnreadCount(), 0u);
  EXPECT_EQ(port->InputQueue().Count(), 0u);
  uint8_t ch = 0;
  EXPECT_EQ(port->ReadByte(ch), -3007);
}

}  // namespace
