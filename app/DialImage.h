#pragma once
// A dial: a picture control that takes the size of its picture, reports mouse moves and
// clicks, and draws the last position pointer over the picture on every repaint.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
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
  // Draws the pointer grey (an old position) or in the highlight colour (a current one).
  void SetPointerStale(bool stale);
  bool PointerStale() const { return pointerStale_; }

  // Every mouse move over the control, whatever the buttons, in the control's coordinates.
  void SetOnMouseMove(std::function<void(int X, int Y)> handler) {
    onMouseMove_ = std::move(handler);
  }
  // A left-button press and release on the control; the second click of a double-click is
  // none.
  void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Pointer {
    int32_t Angle;
    DialKind Kind;
  };

  QImage picture_;
  std::optional<Pointer> pointer_;
  bool pointerStale_ = false;
  bool pressed_ = false;
  std::function<void(int, int)> onMouseMove_;
  std::function<void()> onClick_;
};
