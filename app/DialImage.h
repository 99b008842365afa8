#pragma once
// A dial: a picture control that takes the size of its picture and draws the last position
// pointer over the picture on every repaint.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "display/DialGeometry.h"

class DialImage : public QWidget {
 public:
  explicit DialImage(QWidget* parent);

  // Shows picture and resizes the control to it.
  void SetPicture(const QImage& picture);

  // The pointer drawn over the picture from now on, centred 100 px right of and below the
  // control's top-left corner.
  void SetPointer(int32_t angle, DialKind kind);


 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Pointer {
    int32_t Angle;
    DialKind Kind;
  };

  QImage picture_;
  std::optional<Pointer> pointer_;
};
