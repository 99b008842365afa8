#pragma once
// A dial: a picture control that takes the size of its picture.

#include <QImage>
#include <QWidget>

class DialImage : public QWidget {
 public:
  explicit DialImage(QWidget* parent);

  // Shows picture and resizes the control to it.
  void SetPicture(const QImage& picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};
