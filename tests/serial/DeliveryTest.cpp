// When the application hears that data is available, and what its reads
// consume: the dispatch thread, a fake device and a stand-in GUI thread.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "serial/SioMessages.h"
#include "tests/serial/support/OpenFakePortTest.h"

namespace {

std::vector<uint8_t> pattern(size_t count, uint8_t seed = 1) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + seed) % 251);
  return bytes;
}

struct Notice {
  uint32_t msg = 0;
  uint32_t count = 0;
  intptr_t lParam = 0;
  std::vector<uint8_t> read;
  std::vector<int32_t> results;
};

class Delivery : public OpenFakePortTest {
 protected:
  // How many bytes the handler of the index-th notice reads, and what it does
  // before reading them.
  using ReadPlan = std::function<uint32_t(size_t index, uint32_t count, TSioBaseDispatcher& port)>;

  void HandleNotices(ReadPlan plan) {
    gui->SetHandler([this, plan](TSioBaseDispatcher& dispatcher, uint32_t msg, uintptr_t wParam,
                                 intptr_t lParam) {
      Notice notice{msg, static_cast<uint32_t>(wParam), lParam, {}, {}};
      const uint32_t wanted = plan(NoticeCount(), notice.count, dispatcher);
      for (uint32_t i = 0; i < wanted; ++i) {
        uint8_t ch = 0;
        const int32_t result = dispatcher.ReadByte(ch);
        notice.results.push_back(result);
        if (result == 0) notice.read.push_back(ch);
      }
      const std::lock_guard<std::mutex> lock(lock_);
      notices_.push_back(notice);
    });
  }

  static ReadPlan ReadAll() {
    return [](size_t, uint32_t count, TSioBaseDispatcher&) { return count; };
  }

  size_t NoticeCount() {
    const std::lock_guard<std::mutex> lock(lock_);
    return notices_.size();
  }

  std::vector<Notice> Notices() {
    const std::lock_guard<std::mutex> lock(lock_);
    return notices_;
  }

  bool AwaitNotices(size_t count) {
    return WaitUntil([this, count] { return NoticeCount() >= count; });
  }

  bool AwaitDeliveryEnd() {
    return WaitUntil([this] { return !port->InNotification(); });
  }

 private:
  std::mutex lock_;
  std::vector<Notice> notices_;
};

TEST_F(Delivery, OneByteGivesExactlyOneNoticeWithCountOne) {
  HandleNotices(ReadAll());
  port->Feed({0x41});
  ASSERT_TRUE(AwaitNotices(1));
  // The next notice must be the next byte's, with nothing in between.
  port->Feed({0x42});
  ASSERT_TRUE(AwaitNotices(2));
  const std::vector<Notice> notices = Notices();
  EXPECT_EQ(notices[0].msg, TRG_AVAIL);
  EXPECT_EQ(notices[0].count, 1u);
  EXPECT_EQ(notices[0].read, std::vector<uint8_t>{0x41});
  EXPECT_EQ(NoticeHandle(notices[0].lParam), port->Handle());
  EXPECT_EQ(notices[0].lParam & 0xFFFF, 0);
  EXPECT_EQ(notices[1].count, 1u);
  EXPECT_EQ(notices[1].read, std::vector<uint8_t>{0x42});
}

TEST_F(Delivery, BytesArrivingDuringAHandlerGiveASecondNoticeCountingTheLeftovers) {
  std::atomic<bool> entered{false};
  std::atomic<bool> go{false};
  const uint32_t firstRead = 1;
  HandleNotices([&](size_t index, uint32_t count, TSioBaseDispatcher&) {
    if (index > 0) return count;
    entered = true;
    WaitUntil([&] { return go.load(); });
    return firstRead;
  });
  const std::vector<uint8_t> first = {'A', 'B'};
  const std::vector<uint8_t> during = {'C', 'D', 'E'};
  port->Feed(first);
  ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
  port->Feed(during);
  go = true;
  ASSERT_TRUE(AwaitNotices(2));
  const std::vector<Notice> notices = Notices();
  EXPECT_EQ(notices[0].count, first.size());
  EXPECT_EQ(notices[1].count, first.size() - firstRead + during.size());
  EXPECT_EQ(notices[1].read, (std::vector<uint8_t>{'B', 'C', 'D', 'E'}));
}

TEST_F(Delivery, AHandlerThatReadsNothingHearsNothingUntilTheNextByte) {
  HandleNotices(
      [](size_t index, uint32_t count, TSioBaseDispatcher&) { return index == 0 ? 0u : count; });
  port->Feed({'X', 'Y'});
  ASSERT_TRUE(AwaitNotices(1));
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_EQ(port->UnreadCount(), 2u);
  port->Feed({'Z'});
  ASSERT_TRUE(AwaitNotices(2));
  const std::vector<Notice> notices = Notices();
  EXPECT_EQ(notices[0].count, 2u);
  EXPECT_EQ(notices[1].count, 3u);
  EXPECT_EQ(notices[1].read, (std::vector<uint8_t>{'X', 'Y', 'Z'}));
}

TEST_F(Delivery, AHandlerThatReadsExactlyCountLeavesTheRingEmpty) {
  HandleNotices(ReadAll());
  const std::vector<uint8_t> bytes = pattern(10);
  port->Feed(bytes);
  ASSERT_TRUE(AwaitNotices(1));
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_EQ(port->UnreadCount(), 0u);
  port->Feed({0x99});
  ASSERT_TRUE(AwaitNotices(2));
  const std::vector<Notice> notices = Notices();
  EXPECT_EQ(notices[0].read, bytes);
  EXPECT_EQ(notices[1].count, 1u);
  EXPECT_EQ(notices[1].read, std::vector<uint8_t>{0x99});
}

TEST_F(Delivery, ReadingPastTheLastByteGivesBufferIsEmptyAndConsumesNothingMore) {
  std::atomic<uint32_t> unreadAtEnd{99};
  HandleNotices([&](size_t index, uint32_t count, TSioBaseDispatcher& dispatcher) {
    if (index > 0) return count;
    unreadAtEnd = dispatcher.UnreadCount();
    return count + 1;
  });
  port->Feed({1, 2, 3});
  ASSERT_TRUE(AwaitNotices(1));
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_EQ(port->UnreadCount(), 0u);
  port->Feed({4});
  ASSERT_TRUE(AwaitNotices(2));
  const std::vector<Notice> notices = Notices();
  EXPECT_EQ(notices[0].read, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(notices[0].results.back(), -3007);
  EXPECT_EQ(notices[1].count, 1u);
  EXPECT_EQ(notices[1].read, std::vector<uint8_t>{4});
}

TEST_F(Delivery, AFullRingStopsPullingKeepsOrderIsAnnouncedAndResumesAfterReads) {
  constexpr uint32_t kRing = TSioBaseDispatcher::kDispatchBufferSize;
  const std::vector<uint8_t> bytes = pattern(kRing + 1000);
  const size_t itemsBeyondRing =
      (bytes.size() + FakePlatform::kDataBufferSize - 1) / FakePlatform::kDataBufferSize -
      kRing / FakePlatform::kDataBufferSize;
  HandleNotices(
      [](size_t index, uint32_t count, TSioBaseDispatcher&) { return index == 0 ? 0u : count; });
  // Without a threshold the ring fills unannounced, so the write index comes
  // back to where the last notice left it.
  port->SetAvailThreshold(0);
  port->Feed(bytes);
  ASSERT_TRUE(WaitUntil([&] { return port->DispatchFull(); }));
  EXPECT_EQ(port->UnreadCount(), kRing);
  EXPECT_EQ(port->InputQueue().Count(), itemsBeyondRing);

  port->SetAvailThreshold(1);
  ASSERT_TRUE(AwaitNotices(1));
  EXPECT_EQ(Notices()[0].count, kRing);
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_TRUE(port->DispatchFull());
  EXPECT_EQ(port->InputQueue().Count(), itemsBeyondRing);

  std::vector<uint8_t> received;
  gui->Call([&] {
    for (int i = 0; i < 100; ++i) {
      uint8_t ch = 0;
      ASSERT_EQ(port->ReadByte(ch), 0);
      received.push_back(ch);
    }
  });
  const auto handlerBytes = [this] {
    size_t total = 0;
    for (const Notice& notice : Notices()) total += notice.read.size();
    return total;
  };
  ASSERT_TRUE(WaitUntil([&] { return received.size() + handlerBytes() == bytes.size(); }));
  for (const Notice& notice : Notices()) {
    received.insert(received.end(), notice.read.begin(), notice.read.end());
  }
  EXPECT_EQ(received, bytes);
}

TEST_F(Delivery, AHandlerOutlivingItsWaitKeepsWhatItReadAndLaterReadsConsumeDirectly) {
  std::atomic<bool> sawGiveUp{false};
  std::atomic<bool> sawArrival{false};
  std::atomic<bool> firstDone{false};
  std::vector<uint8_t> lateRead;
  HandleNotices([&](size_t index, uint32_t count, TSioBaseDispatcher& dispatcher) {
    if (index > 0) return count;
    uint8_t ch = 0;
    for (int i = 0; i < 2; ++i) {
      dispatcher.ReadByte(ch);
      lateRead.push_back(ch);
    }
    sawGiveUp = WaitUntil([&] { return !dispatcher.InNotification(); });
    // A byte arriving now is pulled in but not announced while this handler
    // still reads.
    port->Feed({'e'});
    sawArrival = WaitUntil([&] { return dispatcher.UnreadCount() == 3; });
    if (dispatcher.ReadByte(ch) == 0) lateRead.push_back(ch);
    firstDone = true;
    return 0u;
  });
  port->Feed({'a', 'b', 'c', 'd'});
  ASSERT_TRUE(WaitUntil([&] { return firstDone.load(); }));
  EXPECT_TRUE(sawGiveUp);
  EXPECT_TRUE(sawArrival);
  EXPECT_EQ(lateRead, (std::vector<uint8_t>{'a', 'b', 'c'}));
  ASSERT_TRUE(AwaitNotices(2));
  EXPECT_EQ(Notices()[1].count, 2u);
  EXPECT_EQ(Notices()[1].read, (std::vector<uint8_t>{'d', 'e'}));
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_EQ(port->UnreadCount(), 0u);
}

TEST_F(Delivery, WhileTheHandlerReadsANoticeOtherThreadsReadNothing) {
  std::atomic<int32_t> otherResult{0};
  HandleNotices([&](size_t, uint32_t count, TSioBaseDispatcher& dispatcher) {
    std::thread other([&] {
      uint8_t ch = 0;
      otherResult = dispatcher.ReadByte(ch);
    });
    other.join();
    return count;
  });
  port->Feed({1, 2, 3});
  ASSERT_TRUE(AwaitNotices(1));
  EXPECT_EQ(otherResult.load(), -3007);
  EXPECT_EQ(Notices()[0].read, (std::vector<uint8_t>{1, 2, 3}));
  ASSERT_TRUE(AwaitDeliveryEnd());
  EXPECT_EQ(port->UnreadCount(), 0u);
}

TEST_F(Delivery, NoNoticeWithoutAThresholdOrWithoutTheComponentsHandler) {
  HandleNotices(ReadAll());
  port->SetAvailThreshold(3);
  port->Feed({1, 2});
  ASSERT_TRUE(WaitUntil([&] { return port->UnreadCount() == 2; }));
  port->Feed({3});
  ASSERT_TRUE(AwaitNotices(1));
  EXPECT_EQ(Notices()[0].count, 3u);
  ASSERT_TRUE(AwaitDeliveryEnd());

  port->SetAvailThreshold(1);
  port->UpdateHandlerService(2);
  port->Feed({4});
  ASSERT_TRUE(WaitUntil([&] { return port->UnreadCount() == 1; }));
  uint8_t ch = 0;
  gui->Call([&] { EXPECT_EQ(port->ReadByte(ch), 0); });
  EXPECT_EQ(ch, 4);
  EXPECT_EQ(NoticeCount(), 1u);
}

}  // namespace
