// Events, the hand-over of a sent notice, and the dispatcher registry.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "serial/DispatcherRegistry.h"
#include "serial/PendingNotice.h"
#include "serial/SioEvent.h"
#include "tests/serial/support/FakePlatform.h"
#include "tests/serial/support/TestGuiLoop.h"

namespace {

using std::chrono::milliseconds;

TEST(SioEvent, AnAutoResetEventIsConsumedByTheWaitAManualOneStays) {
  SioEvent autoEvent(SioEvent::Mode::AutoReset, true);
  EXPECT_TRUE(autoEvent.WaitFor(milliseconds(0)));
  EXPECT_FALSE(autoEvent.IsSet());
  SioEvent manual(SioEvent::Mode::ManualReset);
  manual.Set();
  EXPECT_TRUE(manual.WaitFor(milliseconds(0)));
  EXPECT_TRUE(manual.IsSet());
  manual.Reset();
  EXPECT_FALSE(manual.WaitFor(milliseconds(1)));
}

TEST(SioEvent, WaitForEitherNamesTheEventThatWasSet) {
  SioEvent ready;
  SioEvent flush;
  flush.Set();
  EXPECT_EQ(SioEvent::WaitForEither(ready, flush, milliseconds(0)), 1);
  EXPECT_EQ(SioEvent::WaitForEither(ready, flush, milliseconds(1)), -1);
  std::thread setter([&] { ready.Set(); });
  EXPECT_EQ(SioEvent::WaitForEither(ready, flush, std::chrono::seconds(10)), 0);
  setter.join();
  EXPECT_FALSE(ready.IsSet());
}

TEST(PendingNotice, ANoticeNotStartedWhenTheSenderGivesUpNeverRuns) {
  auto gui = std::make_shared<TestGuiLoop>();
  std::atomic<int> ran{0};
  gui->SetHandler([&](TSioBaseDispatcher&, uint32_t, uintptr_t, intptr_t) { ++ran; });
  FakePlatform port;
  const intptr_t lParam = static_cast<intptr_t>(port.Handle()) << 16;
  std::atomic<bool> entered{false};
  std::atomic<bool> release{false};
  std::thread blocker([&] {
    gui->Call([&] {
      entered = true;
      WaitUntil([&] { return release.load(); });
    });
  });
  ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
  EXPECT_FALSE(gui->SendNotice(1, 0, lParam, milliseconds(0)));
  release = true;
  blocker.join();
  gui->Call([] {});
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(gui->SendNotice(1, 0, lParam, std::chrono::seconds(10)));
  EXPECT_EQ(ran, 1);
}

TEST(PendingNotice, HandOverStates) {
  PendingNotice done;
  EXPECT_TRUE(done.Begin());
  done.End();
  EXPECT_TRUE(done.WaitHandled(milliseconds(0)));
  PendingNotice abandoned;
  EXPECT_FALSE(abandoned.WaitHandled(milliseconds(0)));
  EXPECT_FALSE(abandoned.Begin());
  PendingNotice running;
  EXPECT_TRUE(running.Begin());
  EXPECT_FALSE(running.WaitHandled(milliseconds(0)));
  running.End();
  EXPECT_TRUE(running.WaitHandled(milliseconds(0)));
}

TEST(DispatcherRegistry, HandlesAreIndexesReusedFirstAndTrimmedFromTheEnd) {
  auto first = std::make_unique<FakePlatform>();
  auto second = std::make_unique<FakePlatform>();
  auto third = std::make_unique<FakePlatform>();
  const int32_t base = first->Handle();
  EXPECT_EQ(second->Handle(), base + 1);
  EXPECT_EQ(third->Handle(), base + 2);
  EXPECT_EQ(DispatcherRegistry::Find(second->Handle()), second.get());
  second.reset();
  EXPECT_EQ(DispatcherRegistry::Find(base + 1), nullptr);
  auto again = std::make_unique<FakePlatform>();
  EXPECT_EQ(again->Handle(), base + 1);
  third.reset();
  again.reset();
  EXPECT_EQ(DispatcherRegistry::Size(), base + 1);
  EXPECT_EQ(DispatcherRegistry::Find(-1), nullptr);
  EXPECT_EQ(DispatcherRegistry::Find(base + 5), nullptr);
}

}  // namespace
