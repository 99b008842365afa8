#include "app/WindowIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The artwork is laid out on a 32 x 32 grid and scaled to the size asked for.
constexpr double kGrid = 32;

const QColor kMastColour(44, 62, 80);
const QColor kWaveColour(33, 82, 156);
const QColor kBeaconColour(214, 48, 39);
const QPointF kMastTop(16, 9.5);
constexpr double kMastFoot = 30;
constexpr double kMastFootHalfWidth = 5.5;

// Half the width of the mast at height y: the legs spread evenly from the top to the feet.
double legHalfWidth(double y) {
  return (y - kMastTop.y()) * kMastFootHalfWidth / (kMastFoot - kMastTop.y());
}

QPointF leftLeg(double y) { return QPointF(kMastTop.x() - legHalfWidth(y), y); }
QPointF rightLeg(double y) { return QPointF(kMastTop.x() + legHalfWidth(y), y); }

void drawMast(QPainter& painter) {
  painter.setPen(QPen(kMastColour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(kMastTop, leftLeg(kMastFoot));
  painter.drawLine(kMastTop, rightLeg(kMastFoot));
  // Cross-bracing: three rungs with an X between the lowest two sections.
  painter.setPen(QPen(kMastColour, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double rungs[] = {16, 21.5, 26.5};
  for (const double y : rungs) {
    painter.drawLine(leftLeg(y), rightLeg(y));
  }
  painter.drawLine(leftLeg(rungs[0]), rightLeg(rungs[2]));
  painter.drawLine(rightLeg(rungs[0]), leftLeg(rungs[2]));
  // The ground line, a little wider than the feet.
  painter.drawLine(leftLeg(kMastFoot) - QPointF(1.5, 0), rightLeg(kMastFoot) + QPointF(1.5, 0));
}

// Arcs on both sides of the beacon, growing outwards like waves.
void drawWaves(QPainter& painter) {
  const double radii[] = {5, 8.75, 12.5};
  const double widths[] = {1.9, 1.8, 1.7};
  for (int i = 0; i < 3; ++i) {
    painter.setPen(QPen(kWaveColour, widths[i], Qt::SolidLine, Qt::RoundCap));
    const QRectF square(kMastTop.x() - radii[i], kMastTop.y() - radii[i], 2 * radii[i],
                        2 * radii[i]);
    // Qt angles: sixteenths of a degree, anticlockwise from three o'clock.
    painter.drawArc(square, -40 * 16, 80 * 16);
    painter.drawArc(square, 140 * 16, 80 * 16);
  }
}

void drawBeacon(QPainter& painter) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBeaconColour);
  painter.drawEllipse(kMastTop, 2.4, 2.4);
}

}  // namespace

QImage WindowIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kGrid, size / kGrid);
  drawWaves(painter);
  drawMast(painter);
  drawBeacon(painter);
  return image;
}

QIcon WindowIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(WindowIconImage(size)));
  }
  return icon;
}
