#include "app/DialImage.h"

#include <QPainter>
#include <QPalette>

#include "app/DialPointer.h"

DialImage::DialImage(QWidget* parent) : QWidget(parent) {}

void DialImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  resize(picture_.size());
  update();
}

void DialImage::SetPointer(int32_t angle, DialKind kind) {
  pointer_ = Pointer{angle, kind};
  update();
}

void DialImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  if (pointer_) {
    DrawDialPointer(painter, QPoint(DialCentreOffset, DialCentreOffset), pointer_->Angle,
                    pointer_->Kind, palette().color(QPalette::Highlight));
  }
}
