// Opening failures, closing from inside a handler, destruction under a
// running thread, and what the port threads' ends report.

#include <gtest/gtest.h>

#include <atomic>

#include "serial/ExceptionDisplay.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/OpenPort.h"

namespace {

// A port thread that ends at once with the given result.
class EndingThread : public TSioDispatcherThread {
 public:
  EndingThread(TSioBaseDispatcher& dispatcher, int32_t result)
      : TSioDispatcherThread(dispatcher), result_(result) {}

 protected:
  void Execute() override { SetReturnValue(result_); }

 private:
  const int32_t result_;
};

TEST(Opening, FailuresReturnTheirCodeAndLeaveNoThreadRunning) {
  struct Case {
    const char* what;
    std::function<void(FakePlatform&)> arrange;
    int32_t expected;
  };
  const Case cases[] = {
      {"no such port", [](FakePlatform& p) { p.FailOpen(2); }, -2},
      {"port in use", [](FakePlatform& p) { p.FailOpen(5); }, -5},
      {"queues not sized", [](FakePlatform& p) { p.FailSizeQueues(12); }, -12},
      {"line refused", [](FakePlatform& p) { p.SetApplyResult(-22); }, -22},
  };
  for (const Case& c : cases) {
    auto gui = std::make_shared<TestGuiLoop>();
    FakePlatform port;
    c.arrange(port);
    EXPECT_EQ(OpenLikeComponent(port, gui), c.expected) << c.what;
    EXPECT_FALSE(port.Started()) << c.what;
    EXPECT_EQ(port.RunningThreads(), 0) << c.what;
    EXPECT_LT(port.DeviceHandle(), 0) << c.what;
  }
}

TEST(Opening, StartingTheThreadsTwiceRaises) {
  auto gui = std::make_shared<TestGuiLoop>();
  FakePlatform port;
  ASSERT_EQ(OpenLikeComponent(port, gui), 0);
  try {
    port.StartPortThreads();
    FAIL() << "no exception";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "Dispatcher already started.");
  }
}

TEST(Closing, FromInsideAHandlerWaitsUntilTheDeliveryGivesUpThenReleasesEverything) {
  auto gui = std::make_shared<TestGuiLoop>();
  FakePlatform port;
  ASSERT_EQ(OpenLikeComponent(port, gui), 0);
  std::atomic<bool> done{false};
  bool closePending = true;
  int32_t readAfterClose = 0;
  gui->SetHandler([&](TSioBaseDispatcher& dispatcher, uint32_t, uintptr_t, intptr_t) {
    dispatcher.FinishDevice();
    closePending = dispatcher.ClosePending();
    uint8_t ch = 0;
    readAfterClose = dispatcher.ReadByte(ch);
    done = true;
  });
  port.Feed({1, 2, 3});
  ASSERT_TRUE(WaitUntil([&] { return done.load(); }, std::chrono::seconds(20)));
  EXPECT_FALSE(closePending);
  EXPECT_EQ(readAfterClose, -3007);
  EXPECT_FALSE(port.Started());
  // A thread the close saw leave still counts itself down on its last touch (the dispatch
  // thread after releasing the buffers), a moment later under a loaded machine.
  EXPECT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }, std::chrono::seconds(5)));
}

TEST(Closing, FromInsideAHandlerWhileTheDeliveryRunsLeavesTheBuffersToTheDispatchThread) {
  auto gui = std::make_shared<TestGuiLoop>();
  FakePlatform port;
  port.SetCloseWaitsForThreads(false);
  ASSERT_EQ(OpenLikeComponent(port, gui), 0);
  std::atomic<bool> done{false};
  bool closePending = false;
  int32_t running = 0;
  gui->SetHandler([&](TSioBaseDispatcher& dispatcher, uint32_t, uintptr_t, intptr_t) {
    dispatcher.FinishDevice();
    closePending = dispatcher.ClosePending();
    running = dispatcher.RunningThreads();
    done = true;
  });
  port.Feed({1, 2, 3});
  ASSERT_TRUE(WaitUntil([&] { return done.load(); }));
  EXPECT_TRUE(closePending);
  EXPECT_EQ(running, 1);
  ASSERT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
  EXPECT_FALSE(port.Started());
  uint8_t ch = 0;
  EXPECT_EQ(port.ReadByte(ch), -3007);
  EXPECT_EQ(port.OutputFree(), 0u);
}

TEST(Closing, DestructionWaitsWhileAThreadStillRuns) {
  auto gui = std::make_shared<TestGuiLoop>();
  auto port = std::make_unique<FakePlatform>();
  port->SetCloseWaitsForThreads(false);
  ASSERT_EQ(OpenLikeComponent(*port, gui), 0);
  std::atomic<bool> entered{false};
  std::atomic<bool> release{false};
  gui->SetHandler([&](TSioBaseDispatcher&, uint32_t, uintptr_t, intptr_t) {
    entered = true;
    WaitUntil([&] { return release.load(); });
  });
  port->Feed({1});
  ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));

  FakePlatform* doomed = port.release();
  std::atomic<bool> destroyed{false};
  std::thread destroyer([&] {
    delete doomed;
    destroyed = true;
  });
  // Closed but not gone: the dispatch thread is still in the delivery.
  ASSERT_TRUE(WaitUntil([&] { return doomed->ClosePending(); }));
  EXPECT_FALSE(destroyed);
  release = true;
  destroyer.join();
  EXPECT_TRUE(destroyed);
}

TEST(PortThreads, AFailedDeviceReadOrWriteMarksEveryLineError) {
  for (const int32_t failure : {-160, -161}) {
    FakePlatform port;
    port.StartExtraThread(ThreadRole::Read, std::make_unique<EndingThread>(port, failure));
    ASSERT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
    EXPECT_EQ(port.LineErrorWord(), -1) << failure;
    EXPECT_EQ(port.TakeLineError(), 10) << failure;
    EXPECT_EQ(port.LineErrorWord(), 0) << failure;
  }
}

TEST(PortThreads, OtherFailuresAreShownAndGoNoFurther) {
  std::mutex lock;
  std::vector<std::string> shown;
  SetExceptionDisplay([&](const std::exception& error) {
    const std::lock_guard<std::mutex> guard(lock);
    shown.push_back(error.what());
  });
  {
    FakePlatform port;
    port.StartExtraThread(ThreadRole::Status, std::make_unique<EndingThread>(port, -13868));
    port.StartExtraThread(ThreadRole::Write, std::make_unique<EndingThread>(port, 0));
    ASSERT_TRUE(WaitUntil([&] { return port.RunningThreads() == 0; }));
    EXPECT_EQ(port.LineErrorWord(), 0);
  }
  SetExceptionDisplay({});
  EXPECT_EQ(shown, std::vector<std::string>{"No memory"});
}

}  // namespace
