#include "app/ClientAreaFitter.h"

#include <QEvent>

#include <algorithm>

ClientAreaFitter::ClientAreaFitter(QWidget* window) : QObject(window), window_(window) {
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    child->installEventFilter(this);
  }
  Fit();
}

void ClientAreaFitter::Fit() {
  int width = 0;
  int height = 0;
  for (const QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // isHidden, not isVisible: the window itself may not be shown yet.
    if (child->isWindow() || child->isHidden()) continue;
    width = std::max(width, child->x() + child->width());
    height = std::max(height, child->y() + child->height());
  }
  window_->setFixedSize(width, height);
}

bool ClientAreaFitter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
      Fit();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
