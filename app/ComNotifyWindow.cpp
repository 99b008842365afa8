#include "app/ComNotifyWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "serial/PendingNotice.h"
#include "serial/SioComWindowProc.h"

namespace {

const QEvent::Type kNoticeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// One notice on its way to the GUI thread; a sent one carries the hand-over
// its sender waits on.
class NoticeEvent : public QEvent {
 public:
  NoticeEvent(uint32_t msg, uintptr_t wParam, intptr_t lParam,
              std::shared_ptr<PendingNotice> pending)
      : QEvent(kNoticeEvent),
        Msg(msg),
        WParam(wParam),
        LParam(lParam),
        Pending(std::move(pending)) {}

  const uint32_t Msg;
  const uintptr_t WParam;
  const intptr_t LParam;
  const std::shared_ptr<PendingNotice> Pending;
};

}  // namespace

ComNotifyWindow::ComNotifyWindow() { setObjectName(QStringLiteral("sioComWindow")); }

std::shared_ptr<ComNotifyWindow> ComNotifyWindow::Create() {
  auto* window = new ComNotifyWindow;
  if (QCoreApplication* application = QCoreApplication::instance()) {
    window->moveToThread(application->thread());
  }
  return std::shared_ptr<ComNotifyWindow>(window, [](ComNotifyWindow* doomed) {
    // Possibly inside its own event(), or on the dispatch thread.
    doomed->deleteLater();
  });
}

bool ComNotifyWindow::SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                                 std::chrono::milliseconds timeout) {
  if (QThread::currentThread() == thread()) {
    SioComWindowProc(msg, wParam, lParam);
    return true;
  }
  auto pending = std::make_shared<PendingNotice>();
  QCoreApplication::postEvent(this, new NoticeEvent(msg, wParam, lParam, pending));
  return pending->WaitHandled(timeout);
}

void ComNotifyWindow::PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  QCoreApplication::postEvent(this, new NoticeEvent(msg, wParam, lParam, nullptr));
}

bool ComNotifyWindow::event(QEvent* event) {
  if (event->type() != kNoticeEvent) return QObject::event(event);
  const auto* notice = static_cast<NoticeEvent*>(event);
  if (!notice->Pending) {
    SioComWindowProc(notice->Msg, notice->WParam, notice->LParam);
    return true;
  }
  if (!notice->Pending->Begin()) return true;
  SioComWindowProc(notice->Msg, notice->WParam, notice->LParam);
  notice->Pending->End();
  return true;
}
