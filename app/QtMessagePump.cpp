#include "app/QtMessagePump.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <thread>

#include "serial/MessagePump.h"

namespace {
constexpr std::chrono::milliseconds kLongestWait{5};
}  // namespace

QtMessagePump::QtMessagePump() {
  wake_.setSingleShot(true);
  SetMessagePump([this] { pump(); });
}

QtMessagePump::~QtMessagePump() { SetMessagePump({}); }

void QtMessagePump::pump() {
  if (QThread::currentThread() != wake_.thread()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return;
  }
  wake_.start(kLongestWait);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wake_.stop();
}
