#include "app/WindowIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The artwork is laid out on a 32 x 32 grid and scaled to the size asked for.
constexpr double grid = 32;

const QColor mastColour(44, 62, 80);
const QColor waveColour(33, 82, 156);
const QColor beaconColour(214, 48, 39);
const QPointF mastTop(16, 9.5);
constexpr double mastFoot = 30;
constexpr double mastFootHalfWidth = 5.5;

// Half the width of the mast at height y: the legs spread evenly from the top to the feet.
double legHalfWidth(double y) {
  return (y - mastTop.y()) * mastFootHalfWidth / (mastFoot - mastTop.y());
}

QPointF leftLeg(double y) { return QPointF(mastTop.x() - legHalfWidth(y), y); }
QPointF rightLeg(double y) { return QPointF(mastTop.x() + legHalfWidth(y), y); }

void drawMast(QPainter& painter) {
  painter.setPen(QPen(mastColour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(mastTop, leftLeg(mastFoot));
  painter.drawLine(mastTop, rightLeg(mastFoot));
  // Cross-bracing: three rungs with an X between the lowest two sections.
  painter.setPen(QPen(mastColour, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double rungs[] = {16, 21.5, 26.5};
  for (const double y : rungs) {
    painter.drawLine(leftLeg(y), rightLeg(y));
  }
  painter.drawLine(leftLeg(rungs[0]), rightLeg(rungs[2]));
  painter.drawLine(rightLeg(rungs[0]), leftLeg(rungs[2]));
  // The ground line, a little wider than the feet.
  painter.drawLine(leftLeg(mastFoot) - QPointF(1.5, 0), rightLeg(mastFoot) + QPointF(1.5, 0));
}

// Arcs on both sides of the beacon, growing outwards like waves.
void drawWaves(QPainter& painter) {
  const double radii[] = {5, 8.75, 12.5};
  const double widths[] = {1.9, 1.8, 1.7};
  for (int i = 0; i < 3; ++i) {
    painter.setPen(QPen(waveColour, widths[i], Qt::SolidLine, Qt::RoundCap));
    const QRectF square(mastTop.x() - radii[i], mastTop.y() - radii[i], 2 * radii[i], 2 * radii[i]);
    // Qt angles: sixteenths of a degree, anticlockwise from three o'clock.
    painter.drawArc(square, -40 * 16, 80 * 16);
    painter.drawArc(square, 140 * 16, 80 * 16);
  }
}

void drawBeacon(QPainter& painter) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(beaconColour);
  painter.drawEllipse(mastTop, 2.4, 2.4);
}

}  // namespace

QImage WindowIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / grid, size / grid);
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
