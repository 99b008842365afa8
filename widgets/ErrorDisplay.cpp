#include "widgets/ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>
#include <exception>

namespace {

void showInMessageBox(const std::string& message) {
  if (QCoreApplication::instance() == nullptr) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return;
  }
  const QString text = QString::fromStdString(message);
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [text] {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                              text);
      },
      Qt::QueuedConnection);
}

ErrorDisplay& currentDisplay() {
  static ErrorDisplay display = showInMessageBox;
  return display;
}

}  // namespace

void SetErrorDisplay(ErrorDisplay display) {
  currentDisplay() = display ? std::move(display) : showInMessageBox;
}

void ShowError(const std::string& message) { currentDisplay()(message); }

void RunReportingErrors(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unknown error");
  }
}
