// The port threads sleep until there is work, with no time limit, and every
// way a port stops reaches them at once: found from what the kernel says
// each thread waits in, not by sleeping to see whether they wake.

#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>

#include <atomic>
#include <functional>
#include <thread>

#include "serial/DescriptorWait.h"
#include "serial/ExceptionDisplay.h"
#include "serial/IOQueue.h"
#include "serial/SioEvent.h"
#include "serial/WakeEvent.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PosixPort.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/serial/support/ThreadWaits.h"

namespace {

constexpr const char* kPortThreads = "sio ";
constexpr const char* kWaiter = "test waiter";

// Runs wait on a thread of its own, checks that the thread sleeps in it
// with no time limit, then wakes it and checks that the wait ends.
void ExpectSleepsUntilWoken(const char* what, const std::function<void()>& wait,
                            const std::function<void()>& wake) {
  std::atomic<bool> ended{false};
  std::thread waiter([&] {
    pthread_setname_np(pthread_self(), kWaiter);
    wait();
    ended = true;
  });
  EXPECT_TRUE(AllSleepWithoutTimeLimit(kWaiter, 1)) << what;
  EXPECT_FALSE(ended.load()) << what;
  wake();
  EXPECT_TRUE(WaitUntil([&] { return ended.load(); })) << what;
  waiter.join();
}

TEST(Waits, EachKindSleepsWithNoTimeLimitUntilItsEventComes) {
  SioEvent event;
  ExpectSleepsUntilWoken(
      "an event", [&] { event.Wait(); }, [&] { event.Set(); });
  SioEvent ready;
  SioEvent flush;
  int woken = -1;
  ExpectSleepsUntilWoken(
      "either of two events", [&] { woken = SioEvent::WaitForEither(ready, flush); },
      [&] { flush.Set(); });
  EXPECT_EQ(woken, 1);
  TIOQueue queue;
  ExpectSleepsUntilWoken(
      "the input queue", [&] { queue.WaitForItem(); }, [&] { queue.Wake(); });
  WakeEvent wake;
  ExpectSleepsUntilWoken(
      "a wake event", [&] { wake.Wait(); }, [&] { wake.Set(); });
  PseudoTerminal pty;
  DescriptorReadiness readiness;
  ExpectSleepsUntilWoken(
      "a device and its wake event",
      [&] { readiness = WaitForDescriptor(pty.Master(), POLLIN, wake); }, [&] { wake.Set(); });
  EXPECT_TRUE(readiness.Woken);
  EXPECT_EQ(readiness.DeviceEvents, 0);
}

class IdlePort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenLikeComponent(port, gui, 1, pty.SlavePath()), 0);
    ASSERT_TRUE(AllSleepWithoutTimeLimit(kPortThreads, 4));
  }

  PseudoTerminal pty;
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
  ReceivedBytes received{*gui};
  TSioPosixDispatcher port{nullptr};
};

TEST_F(IdlePort, GoesBackToSleepingWithNoTimeLimitAfterEachExchange) {
  for (uint8_t round = 1; round <= 3; ++round) {
    ASSERT_TRUE(pty.Write({round}));
    ASSERT_TRUE(received.WaitFor(round));
    const uint8_t answer = round;
    ASSERT_EQ(port.WriteBlock(&answer, 1), 0);
    ASSERT_EQ(pty.Read(1), std::vector<uint8_t>{answer});
    EXPECT_TRUE(AllSleepWithoutTimeLimit(kPortThreads, 4)) << "round " << int(round);
  }
}

TEST_F(IdlePort, ACloseReachesEveryThreadInItsSleep) {
  gui->Call([&] { port.FinishDevice(); });
  EXPECT_EQ(port.RunningThreads(), 0);
  EXPECT_FALSE(port.Started());
  EXPECT_TRUE(WaitUntil([] { return ThreadsNamed(kPortThreads).empty(); }));
}

TEST_F(IdlePort, AThreadThatFailsWakesTheOthersFromTheirSleep) {
  std::atomic<int> shown{0};
  SetExceptionDisplay([&](const std::exception&) { ++shown; });
  // The read thread sees the hang-up and stops the rest, each asleep.
  pty.CloseMaster();
  EXPECT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
  EXPECT_EQ(port.LineErrorWord(), -1);
  EXPECT_TRUE(WaitUntil([] { return ThreadsNamed(kPortThreads).empty(); }));
  SetExceptionDisplay({});
  EXPECT_EQ(shown.load(), 0);
}

TEST_F(IdlePort, AnOutputPurgeIsAcknowledgedByTheSleepingWriteThread) {
  EXPECT_NE(port.PurgeDeviceQueue(0), 0);
  EXPECT_EQ(port.RunningThreads(), 4);
  EXPECT_TRUE(AllSleepWithoutTimeLimit(kPortThreads, 4));
}

}  // namespace
