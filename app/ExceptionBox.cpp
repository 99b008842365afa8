#include "app/ExceptionBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

namespace {

void showBox(const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                        text);
}

}  // namespace

void ShowExceptionBox(const std::exception& error) {
  // A message box needs a widget application.
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (application == nullptr) {
    std::fprintf(stderr, "%s\n", error.what());
    return;
  }
  const QString text = QString::fromLocal8Bit(error.what());
  if (QThread::currentThread() == application->thread()) {
    showBox(text);
  } else {
    QMetaObject::invokeMethod(
        application, [text] { showBox(text); }, Qt::QueuedConnection);
  }
}
