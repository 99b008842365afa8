#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

#include "widgets/ErrorDisplay.h"

namespace {

// The title of every box: the program's name, without the window caption's version.
const QString kBoxTitle = QStringLiteral("Azimara M");

void showErrorBox(const QString& text) {
  QMessageBox box(QMessageBox::Critical, kBoxTitle, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

bool onGuiThread() {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// A box opened inside a handler would run a nested event loop in the middle of that handler;
// the standard box waits until the handler is done. Outside any event loop (start-up, the
// window's destruction at the end) it is shown at once.
void showStandardBox(const QString& text) {
  if (QThread::currentThread()->loopLevel() == 0) {
    showErrorBox(text);
    return;
  }
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [text] { showErrorBox(text); }, Qt::QueuedConnection);
}

void showDefault(MessageBoxKind kind, const QString& text) {
  if (kind == MessageBoxKind::ProgramError) {
    showErrorBox(text);
  } else {
    showStandardBox(text);
  }
}

QString readableText(const QString& text) {
  if (text.size() <= kMessageTextLimit) return text;
  qsizetype head = kMessageTextLimit / 2;
  qsizetype tail = kMessageTextLimit - head - 1;
  // Never half a character outside the basic plane.
  if (text[head - 1].isHighSurrogate()) --head;
  if (text[text.size() - tail].isLowSurrogate()) --tail;
  return text.left(head) + QChar(0x2026) + text.right(tail);
}

MessageBoxHandler& installedHandler() {
  static MessageBoxHandler handler = showDefault;
  return handler;
}

}  // namespace

void ShowExceptionBox(const std::exception& error) {
  const QString text = QString::fromUtf8(error.what());
  if (onGuiThread()) {
    ShowStandardError(text);
  } else if (QCoreApplication::instance() != nullptr) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [text] { ShowStandardError(text); }, Qt::QueuedConnection);
  }
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  installedHandler() = handler ? std::move(handler) : showDefault;
}

void ShowProgramError(const QString& text) {
  installedHandler()(MessageBoxKind::ProgramError, readableText(text));
}

void ShowStandardError(const QString& text) {
  installedHandler()(MessageBoxKind::StandardError, readableText(text));
}

void InstallMessageBoxes() {
  SetErrorDisplay([](const std::string& message) {
    ShowStandardError(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
  });
}
