#pragma once
// The hidden notify window of an open serial port ("sioComWindow"): a
// QObject living on the GUI thread that receives the dispatcher's notices as
// events and runs each through the port's window procedure there. A sent
// notice blocks its sender until it has run, or until the time-out; a notice
// that has not started by then is dropped and never runs.

#include <QObject>
#include <memory>

#include "serial/NotifyTarget.h"

class ComNotifyWindow : public QObject, public NotifyTarget {
 public:
  // A window on the application's GUI thread. The last owner to let go of it
  // has it deleted there (deleteLater), whichever thread that owner is on.
  static std::shared_ptr<ComNotifyWindow> Create();

  // From another thread: posts the notice and waits at most timeout for it.
  // On the GUI thread itself the notice runs at once.
  bool SendNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam,
                  std::chrono::milliseconds timeout) override;
  void PostNotice(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

 protected:
  bool event(QEvent* event) override;

 private:
  ComNotifyWindow();
};
