// The serial port's notices, message pump and error display on a real Qt
// event loop: handlers run on the GUI thread, a notice the GUI thread did not
// take in time never runs, waits keep events flowing, and a modal loop still
// delivers notices.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/ComNotifyWindow.h"
#include "app/MessageBoxes.h"
#include "app/SerialQtHooks.h"
#include "serial/Deadline.h"
#include "serial/MessagePump.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "serial/SioMessages.h"
#include "tests/serial/support/ComPortGui.h"

namespace {

constexpr int kPatienceMs = 10000;

// An open port over the fake platform with the Qt side installed; the test's
// own thread is the GUI thread.
class QtPort : public ::testing::Test {
 protected:
  void SetUp() override {
    port.SetComNumber(1);
    port.SetDispatcherFactory(fakes.Factory());
    port.SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
      handlerThread = std::this_thread::get_id();
      for (uint16_t i = 0; i < Count; ++i) CP->ReadChar();
      if (onAvail) onAvail();
      ++calls;
    });
    port.SetOpen(true);
  }

  void TearDown() override { port.SetOpen(false); }

  const SerialQtHooks hooks;
  FakePorts fakes;
  TSioComPort port;
  std::function<void()> onAvail;
  std::atomic<int> calls{0};
  std::thread::id handlerThread;
};

// The modal box on screen, if any.
QMessageBox* shownBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

TEST_F(QtPort, ANoticeRunsItsHandlerOnTheGuiThread) {
  fakes.Latest().Feed({'a', 'b'});
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls.load() == 1; }, kPatienceMs));
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
  EXPECT_EQ(port.Dispatcher()->UnreadCount(), 0u);
}

TEST_F(QtPort, ANoticeNotTakenInTimeNeverRuns) {
  const std::shared_ptr<ComNotifyWindow> window = ComNotifyWindow::Create();
  const intptr_t lParam = NoticeLParam(port.Dispatcher()->Handle(), 0);
  bool handled = true;
  // The GUI thread is busy joining: the notice waits the whole time-out.
  std::thread late([&] {
    handled = window->SendNotice(TRG_AVAIL, 0, lParam, TSioBaseDispatcher::kNoticeTimeout);
  });
  late.join();
  EXPECT_FALSE(handled);
  QCoreApplication::sendPostedEvents(window.get());
  EXPECT_EQ(calls.load(), 0);

  // Taken in time, the same notice runs.
  std::atomic<bool> sent{false};
  std::thread inTime([&] {
    handled = window->SendNotice(TRG_AVAIL, 0, lParam, TSioBaseDispatcher::kNoticeTimeout);
    sent = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return sent.load(); }, kPatienceMs));
  inTime.join();
  EXPECT_TRUE(handled);
  EXPECT_EQ(calls.load(), 1);
}

TEST_F(QtPort, AModalLoopStillDeliversNotices) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Waiting"), QStringLiteral("Waiting"));
  bool boxShownInHandler = false;
  onAvail = [&] { boxShownInHandler = box.isVisible(); };
  QTimer poll;
  const Deadline deadline{std::chrono::milliseconds(kPatienceMs)};
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (calls.load() > 0 || deadline.Passed()) box.done(0);
  });
  QTimer::singleShot(0, [&] { fakes.Latest().Feed({'x'}); });
  poll.start(10);
  box.exec();
  EXPECT_EQ(calls.load(), 1);
  EXPECT_TRUE(boxShownInHandler);
}

TEST_F(QtPort, AHandlerExceptionIsShownInACriticalBox) {
  onAvail = [] { throw EBufferIsEmpty(); };
  QString shownText;
  QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QMessageBox* box = shownBox()) {
      shownText = box->text();
      shownIcon = box->icon();
      box->done(0);
    }
  });
  poll.start(10);
  fakes.Latest().Feed({'x'});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shownText.isEmpty(); }, kPatienceMs));
  EXPECT_EQ(shownText.toStdString(), EBufferIsEmpty().what());
  EXPECT_EQ(shownIcon, QMessageBox::Critical);
  // The port delivers on.
  onAvail = {};
  fakes.Latest().Feed({'y'});
  EXPECT_TRUE(QTest::qWaitFor([&] { return calls.load() == 1; }, kPatienceMs));
}

TEST(QtErrorDisplay, FromAnotherThreadTheBoxComesUpOnTheGuiThread) {
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    ShowExceptionBox(Exception("from a worker"));
    returned = true;
  });
  worker.join();
  EXPECT_TRUE(returned.load());
  QString shownText;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QMessageBox* box = shownBox()) {
      shownText = box->text();
      box->done(0);
    }
  });
  poll.start(10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shownText.isEmpty(); }, kPatienceMs));
  EXPECT_EQ(shownText, QStringLiteral("from a worker"));
}

TEST(QtMessagePumpTest, ProcessesGuiEventsOnlyOnTheGuiThread) {
  const SerialQtHooks hooks;
  std::atomic<bool> ran{false};
  QMetaObject::invokeMethod(
      qApp, [&] { ran = true; }, Qt::QueuedConnection);
  std::thread other([] {
    for (int i = 0; i < 10; ++i) PumpOneMessage();
  });
  other.join();
  EXPECT_FALSE(ran.load());
  const Deadline deadline{std::chrono::milliseconds(kPatienceMs)};
  while (!ran.load() && !deadline.Passed()) PumpOneMessage();
  EXPECT_TRUE(ran.load());
}

}  // namespace
