// The serial port component's events over the fake platform: data-available
// notices and reading inside them, handler exceptions, and the window
// procedure's handling of every notice.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "serial/CommCodes.h"
#include "serial/ExceptionDisplay.h"
#include "serial/SioComPort.h"
#include "serial/SioComWindowProc.h"
#include "serial/SioExceptions.h"
#include "serial/SioMessages.h"
#include "tests/serial/support/ComPortGui.h"

namespace {

// What the handlers saw, in order.
class EventLogBook {
 public:
  void Add(std::string entry) {
    const std::lock_guard<std::mutex> lock(lock_);
    entries_.push_back(std::move(entry));
  }
  std::vector<std::string> Entries() {
    const std::lock_guard<std::mutex> lock(lock_);
    return entries_;
  }
  size_t Count() { return Entries().size(); }

 private:
  std::mutex lock_;
  std::vector<std::string> entries_;
};

class ComPortNotices : public ::testing::Test {
 protected:
  void SetUp() override {
    port->SetComNumber(1);
    port->SetDispatcherFactory(fakes.Factory());
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
    SetExceptionDisplay({});
  }

  void Open() {
    gui.Run([&] { port->SetOpen(true); });
  }

  // A handler that reads every byte once at least `wanted` wait.
  void ReadWhenAtLeast(uint16_t wanted) {
    port->SetOnTriggerAvail([this, wanted](TSioCustomComPort* CP, uint16_t Count) {
      std::string entry = "avail " + std::to_string(Count);
      if (Count >= wanted) {
        entry += ":";
        for (uint16_t i = 0; i < Count; ++i) entry += static_cast<char>(CP->ReadChar());
      }
      book.Add(entry);
    });
  }

  static std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
  }

  FakePorts fakes;
  ComPortGui gui;
  EventLogBook book;
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
};

TEST_F(ComPortNotices, AHandlerThatLeavesBytesIsCalledAgainOnlyWhenMoreArrive) {
  ReadWhenAtLeast(16);
  Open();
  fakes.Latest().Feed(Bytes("AZ=123  EL"));
  ASSERT_TRUE(WaitUntil([&] { return book.Count() == 1; }));
  fakes.Latest().Feed(Bytes("=045\r\n"));
  ASSERT_TRUE(WaitUntil([&] { return book.Count() == 2; }));
  EXPECT_EQ(book.Entries(), (std::vector<std::string>{"avail 10", "avail 16:AZ=123  EL=045\r\n"}));
  // All read: nothing waits any more.
  EXPECT_EQ(gui.Get<uint32_t>([&] { return port->Dispatcher()->UnreadCount(); }), 0u);
}

TEST_F(ComPortNotices, BytesReadInsideTheHandlerAreReleasedWhenItReturns) {
  std::atomic<int> calls{0};
  uint32_t unreadInside = 0;
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    std::string entry = "avail " + std::to_string(Count) + ":";
    entry += static_cast<char>(CP->ReadChar());
    entry += static_cast<char>(CP->ReadChar());
    unreadInside = CP->Dispatcher()->UnreadCount();
    book.Add(entry);
    ++calls;
  });
  Open();
  fakes.Latest().Feed(Bytes("abcde"));
  ASSERT_TRUE(WaitUntil([&] { return calls.load() == 1; }));
  EXPECT_EQ(unreadInside, 3u);
  EXPECT_EQ(gui.Get<uint32_t>([&] { return port->Dispatcher()->UnreadCount(); }), 3u);
  fakes.Latest().Feed(Bytes("f"));
  ASSERT_TRUE(WaitUntil([&] { return calls.load() == 2; }));
  EXPECT_EQ(book.Entries(), (std::vector<std::string>{"avail 5:ab", "avail 4:cd"}));
}

TEST_F(ComPortNotices, ReadingPastTheLastByteInsideTheHandlerRaises) {
  std::atomic<bool> done{false};
  std::string raised;
  std::string read;
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    try {
      for (uint16_t i = 0; i <= Count; ++i) read += static_cast<char>(CP->ReadChar());
    } catch (const EBufferIsEmpty& error) {
      raised = error.what();
    }
    done = true;
  });
  Open();
  fakes.Latest().Feed(Bytes("xy"));
  ASSERT_TRUE(WaitUntil([&] { return done.load(); }));
  EXPECT_EQ(read, "xy");
  EXPECT_EQ(raised, EBufferIsEmpty().what());
  EXPECT_EQ(gui.Get<uint32_t>([&] { return port->Dispatcher()->UnreadCount(); }), 0u);
}

TEST_F(ComPortNotices, AHandlerExceptionGoesToTheDisplayAndDeliveryGoesOn) {
  std::vector<std::string> shown;
  std::mutex shownLock;
  SetExceptionDisplay([&](const std::exception& error) {
    const std::lock_guard<std::mutex> lock(shownLock);
    shown.emplace_back(error.what());
  });
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    book.Add("avail " + std::to_string(Count));
    CP->ReadChar();
    throw Exception("handler failed " + std::to_string(Count));
  });
  Open();
  fakes.Latest().Feed(Bytes("a"));
  ASSERT_TRUE(WaitUntil([&] { return book.Count() == 1; }));
  fakes.Latest().Feed(Bytes("b"));
  ASSERT_TRUE(WaitUntil([&] { return book.Count() == 2; }));
  const std::lock_guard<std::mutex> lock(shownLock);
  EXPECT_EQ(shown, (std::vector<std::string>{"handler failed 1", "handler failed 1"}));
}

TEST_F(ComPortNotices, WithoutTriggerHandlersNoNoticeIsDelivered) {
  std::atomic<int> triggers{0};
  Open();
  fakes.Latest().Feed(Bytes("early"));
  // The bytes wait unannounced until a handler is assigned and more arrive.
  ASSERT_TRUE(WaitUntil(
      [&] { return gui.Get<uint32_t>([&] { return port->Dispatcher()->UnreadCount(); }) == 5; }));
  gui.Run([&] {
    port->SetOnTrigger([&](TSioCustomComPort*, uint16_t, uint16_t, uint16_t) { ++triggers; });
  });
  fakes.Latest().Feed(Bytes("!"));
  ASSERT_TRUE(WaitUntil([&] { return triggers.load() == 1; }));
  gui.Run([&] { port->SetOnTrigger({}); });
  fakes.Latest().Feed(Bytes("?"));
  ASSERT_TRUE(WaitUntil(
      [&] { return gui.Get<uint32_t>([&] { return port->Dispatcher()->UnreadCount(); }) == 7; }));
  EXPECT_EQ(triggers.load(), 1);
}

// The window procedure, called as the notify window would call it.
class WindowProcedure : public ComPortNotices {
 protected:
  void SetUp() override {
    ComPortNotices::SetUp();
    port->SetOnTrigger(
        [this](TSioCustomComPort*, uint16_t Msg, uint16_t TriggerHandle, uint16_t Data) {
          book.Add("trigger " + std::to_string(Msg) + " " + std::to_string(TriggerHandle) + " " +
                   std::to_string(Data));
        });
    port->SetOnTriggerAvail(
        [this](TSioCustomComPort*, uint16_t Count) { book.Add("avail " + std::to_string(Count)); });
    port->SetOnTriggerData([this](TSioCustomComPort*, uint16_t TriggerHandle) {
      book.Add("data " + std::to_string(TriggerHandle));
    });
    port->SetOnTriggerTimer([this](TSioCustomComPort*, uint16_t TriggerHandle) {
      book.Add("timer " + std::to_string(TriggerHandle));
    });
    port->SetOnTriggerStatus([this](TSioCustomComPort*, uint16_t TriggerHandle) {
      book.Add("status " + std::to_string(TriggerHandle));
    });
    port->SetOnTriggerModemStatus([this](TSioCustomComPort*) { book.Add("modem"); });
    port->SetOnTriggerLineError([this](TSioCustomComPort*, uint16_t Error, bool LineBreak) {
      book.Add("line error " + std::to_string(Error) + (LineBreak ? " break" : ""));
    });
    port->SetOnTriggerOutbuffFree([this](TSioCustomComPort*) { book.Add("free"); });
    port->SetOnTriggerOutbuffUsed([this](TSioCustomComPort*) { book.Add("used"); });
    port->SetOnTriggerOutSent([this](TSioCustomComPort*) { book.Add("sent"); });
    Open();
    handle = gui.Get<int32_t>([&] { return port->Dispatcher()->Handle(); });
  }

  std::vector<std::string> Deliver(uint32_t msg, uintptr_t wParam, uint16_t data) {
    const size_t before = book.Count();
    gui.Run([&] { EXPECT_EQ(SioComWindowProc(msg, wParam, NoticeLParam(handle, data)), 0); });
    const std::vector<std::string> all = book.Entries();
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  }

  int32_t handle = -1;
};

TEST_F(WindowProcedure, RaisesTheEventsOfEachNotice) {
  using Events = std::vector<std::string>;
  const std::string avail = std::to_string(TRG_AVAIL);
  const std::string data = std::to_string(TRG_DATA);
  const std::string timer = std::to_string(TRG_TIMER);
  const std::string status = std::to_string(TRG_STATUS);
  struct Case {
    uint32_t msg;
    uintptr_t wParam;
    uint16_t data;
    Events events;
  };
  const Case cases[] = {
      {TRG_AVAIL, 12, 0, {"trigger " + avail + " 12 12", "avail 12"}},
      {TRG_DATA, 0x10003, 4, {"trigger " + data + " 3 4", "data 3"}},
      {TRG_TIMER, 7, 0, {"trigger " + timer + " 7 0", "timer 7"}},
      {TRG_STATUS, 0x09, 0, {"trigger " + status + " 9 0", "status 9", "modem"}},
      {TRG_STATUS, 0x0B, 100, {"trigger " + status + " 11 100", "status 11", "free"}},
      {TRG_STATUS, 0x0C, 5, {"trigger " + status + " 12 5", "status 12", "used"}},
      {TRG_STATUS, 0x0D, 0, {"trigger " + status + " 13 0", "status 13", "sent"}},
      {TRG_STATUS, 0x0E, 0, {"trigger " + status + " 14 0", "status 14"}},
      {0x7E05, 1, 0, {}},
      {0x0001, 1, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Deliver(c.msg, c.wParam, c.data), c.events) << std::hex << c.msg;
  }
}

TEST_F(WindowProcedure, ALineErrorNoticeTakesThePendingError) {
  FakePlatform& fake = fakes.Latest();
  fake.SetLineErrors(kLineErrorParity | kLineErrorBreak);
  gui.Run([&] { port->Dispatcher()->RefreshLineErrors(); });
  const std::string status = std::to_string(TRG_STATUS);
  EXPECT_EQ(
      Deliver(TRG_STATUS, 0x0A, 0),
      (std::vector<std::string>{"trigger " + status + " 10 0", "status 10", "line error 3 break"}));
  // Taken: a second notice finds none.
  EXPECT_EQ(Deliver(TRG_STATUS, 0x0A, 0),
            (std::vector<std::string>{"trigger " + status + " 10 0", "status 10", "line error 0"}));
}

TEST_F(WindowProcedure, IgnoresNoticesOfUnknownOrOwnerlessDispatchers) {
  EXPECT_FALSE(Deliver(TRG_AVAIL, 1, 0).empty());
  const int32_t saved = handle;
  handle = saved + 100;
  EXPECT_TRUE(Deliver(TRG_AVAIL, 1, 0).empty());
  {
    FakePlatform ownerless(nullptr);
    handle = ownerless.Handle();
    EXPECT_TRUE(Deliver(TRG_AVAIL, 1, 0).empty());
  }
  handle = saved;
}

TEST_F(WindowProcedure, IgnoresAClosingNoticeForAnOpenPort) {
  const std::string closing = std::to_string(PORT_CLOSING);
  EXPECT_EQ(Deliver(PORT_CLOSING, 0, 0), (std::vector<std::string>{"trigger " + closing + " 0 0"}));
  EXPECT_TRUE(gui.Get<bool>([&] { return port->Open(); }));
}

}  // namespace
