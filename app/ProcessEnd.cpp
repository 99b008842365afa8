#include "app/ProcessEnd.h"

#include <QCoreApplication>

namespace {

void leaveEventLoop() { QCoreApplication::exit(0); }

std::function<void()>& installedEnd() {
  static std::function<void()> end = leaveEventLoop;
  return end;
}

}  // namespace

void SetProcessEnd(std::function<void()> hook) {
  installedEnd() = hook ? std::move(hook) : leaveEventLoop;
}

void EndProcess() { installedEnd()(); }
