#include "app/DialImage.h"

#include <QPainter>

DialImage::DialImage(QWidget* parent) : QWidget(parent) {}

void DialImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  resize(picture_.size());
  update();
}

void DialImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}
