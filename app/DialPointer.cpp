#include "app/DialPointer.h"

#include <QPen>

#include "display/HandTip.h"

namespace {

QPen pointerPen(const QColor& colour) {
  QPen pen(colour);
  pen.setWidth(kPointerPenWidth);
  return pen;
}

}  // namespace

void DrawDialPointer(QPainter& painter, QPoint centre, int32_t angle, DialKind kind,
                     const QColor& ringColour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QRect disc(centre.x() - kHandRadius, centre.y() - kHandRadius, 2 * kHandRadius,
                   2 * kHandRadius);
  painter.setBrush(Qt::white);
  painter.setPen(pointerPen(Qt::white));
  painter.drawEllipse(disc);

  painter.setPen(pointerPen(ringColour));
  if (kind == DialKind::Azimuth) {
    painter.drawEllipse(disc);
  } else {
    // Qt counts arc angles in 1/16 degree, counter-clockwise from three o'clock: this runs
    // from the right end over the top to the left end.
    painter.drawArc(disc, 0, 180 * 16);
  }

  const DialPoint tip = HandTip(centre.x(), centre.y(), angle, kind);
  painter.setPen(pointerPen(kHandColour));
  painter.drawLine(centre, QPoint(tip.X, tip.Y));
  painter.restore();
}
