#include "app/DialImage.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <cmath>

#include "app/DialPointer.h"
#include "app/ReadOutColours.h"

namespace {

QPoint eventPoint(const QMouseEvent* event) {
  return {static_cast<int>(std::floor(event->position().x())),
          static_cast<int>(std::floor(event->position().y()))};
}

}  // namespace

DialImage::DialImage(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void DialImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  resize(picture_.size());
  update();
}

void DialImage::SetPointer(int32_t angle, DialKind kind) {
  // A rotator at rest reports the same angle on every poll: the dial looks
  // the same, so it is not painted again.
  if (pointer_ && pointer_->Angle == angle && pointer_->Kind == kind) return;
  pointer_ = Pointer{angle, kind};
  update();
}

void DialImage::SetPointerStale(bool stale) {
  if (stale == pointerStale_) return;
  pointerStale_ = stale;
  if (pointer_) update();
}

void DialImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // One rectangle of the damaged region at a time: under a clip of several
  // rectangles (a read-out repainted over the dial) Qt fills the picture
  // line by line on its pool threads, waking them on every poll; under one
  // rectangle it copies the picture on this thread.
  for (const QRect& part : event->region()) {
    painter.setClipRect(part);
    painter.drawImage(part.topLeft(), picture_, part);
  }
  painter.setClipping(false);
  if (pointer_) {
    const QColor colour = pointerStale_ ? StaleGrey() : palette().color(QPalette::Highlight);
    DrawDialPointer(painter, QPoint(kDialCentreOffset, kDialCentreOffset), pointer_->Angle,
                    pointer_->Kind, colour);
  }
}

void DialImage::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove_) {
    const QPoint point = eventPoint(event);
    onMouseMove_(point.x(), point.y());
  }
}

void DialImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

// Qt sends the double-click after the second press and by default takes it for one more
// press; the release that follows ends the double-click without a second click.
void DialImage::mouseDoubleClickEvent(QMouseEvent*) { pressed_ = false; }

void DialImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (rect().contains(eventPoint(event)) && onClick_) onClick_();
}
