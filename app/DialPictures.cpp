#include "app/DialPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Shades of the artwork.
const QColor kBandFill(235, 243, 246);
const QColor kBandEdge(149, 162, 170);
const QColor kTickColour(38, 54, 70);
const QColor kStarDark(72, 108, 132);
const QColor kStarPale(184, 202, 214);
const QColor kStarFaint(214, 225, 233);
const QColor kStarFaintEdge(180, 198, 210);
const QColor kScaleBlue(33, 82, 156);

const QPointF kCentre(100, 100);

// Radii of the artwork, in pixels from the centre.
constexpr double kBandInner = 62;
constexpr double kBandOuter = 73;
constexpr double kTickInner = 63.5;
constexpr double kTickOuter = 71.5;
constexpr double kTickHalfWidth = 2.3;
constexpr double kLongPoint = 61;
constexpr double kShortPoint = 50;
constexpr double kFaintPoint = 42;
constexpr double kHubRadius = 15;
// Scale numbers sit about this far out, but never closer than kNumberClearance to the centre.
constexpr double kNumberRadius = 80;
constexpr double kNumberClearance = 75;
constexpr double kNumberHeight = 9;

// The point at distance radius from the centre in the compass direction bearing (degrees,
// 0 up, clockwise).
QPointF polar(double bearing, double radius) {
  const double theta = bearing * std::numbers::pi / 180.0;
  return kCentre + QPointF(radius * std::sin(theta), -radius * std::cos(theta));
}

void drawScaleBand(QPainter& painter) {
  QPainterPath band;
  band.addEllipse(kCentre, kBandOuter, kBandOuter);
  band.addEllipse(kCentre, kBandInner, kBandInner);
  painter.fillPath(band, kBandFill);
  painter.setPen(QPen(kBandEdge, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(kCentre, kBandOuter, kBandOuter);
  painter.drawEllipse(kCentre, kBandInner, kBandInner);
}

void drawTick(QPainter& painter, double bearing) {
  const double middle = (kTickInner + kTickOuter) / 2;
  const double halfAngle = std::atan(kTickHalfWidth / middle) * 180.0 / std::numbers::pi;
  const QPolygonF diamond({polar(bearing, kTickInner), polar(bearing - halfAngle, middle),
                           polar(bearing, kTickOuter), polar(bearing + halfAngle, middle)});
  painter.setPen(Qt::NoPen);
  painter.setBrush(kTickColour);
  painter.drawPolygon(diamond);
}

// One star point along bearing, split lengthwise: the half clockwise of its axis dark, the
// other pale. Its flanks meet the neighbouring points halfway between them.
void drawStarPoint(QPainter& painter, double bearing, double length, double flankRadius) {
  const QPointF tip = polar(bearing, length);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kStarDark);
  painter.drawPolygon(QPolygonF({kCentre, tip, polar(bearing + 15, flankRadius)}));
  painter.setBrush(kStarPale);
  painter.drawPolygon(QPolygonF({kCentre, tip, polar(bearing - 15, flankRadius)}));
  painter.setPen(QPen(kStarDark, 0.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(
      QPolygonF({polar(bearing - 15, flankRadius), tip, polar(bearing + 15, flankRadius)}));
}

void drawFaintPoint(QPainter& painter, double bearing) {
  painter.setPen(QPen(kStarFaintEdge, 0.6));
  painter.setBrush(kStarFaint);
  painter.drawPolygon(QPolygonF(
      {polar(bearing - 10, 16), polar(bearing, kFaintPoint), polar(bearing + 10, 16), kCentre}));
}

void drawStar(QPainter& painter) {
  for (int bearing = 15; bearing < 360; bearing += 30) {
    drawFaintPoint(painter, bearing);
  }
  for (int bearing = 30; bearing < 360; bearing += 30) {
    if (bearing % 90 != 0) {
      drawStarPoint(painter, bearing, kShortPoint, 19);
    }
  }
  for (int bearing = 0; bearing < 360; bearing += 90) {
    drawStarPoint(painter, bearing, kLongPoint, 22);
  }
}

// White hub with a grey rim and a small four-pointed emblem.
void drawHub(QPainter& painter) {
  painter.setPen(QPen(kBandEdge, 1.5));
  painter.setBrush(Qt::white);
  painter.drawEllipse(kCentre, kHubRadius, kHubRadius);
  for (int bearing = 0; bearing < 360; bearing += 90) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kStarDark);
    painter.drawPolygon(QPolygonF({kCentre, polar(bearing, 8), polar(bearing + 45, 2.5)}));
    painter.setBrush(kStarPale);
    painter.drawPolygon(QPolygonF({kCentre, polar(bearing, 8), polar(bearing - 45, 2.5)}));
  }
  painter.setPen(QPen(kStarDark, 1.0));
  painter.setBrush(Qt::white);
  painter.drawEllipse(kCentre, 1.6, 1.6);
}

// text as an outline scaled to height pixels, unscaled width following the font.
QPainterPath textOutline(const QString& text, double height) {
  QFont font("DejaVu Sans");
  font.setPixelSize(100);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF bounds = path.boundingRect();
  const double scale = height / bounds.height();
  QTransform toOrigin;
  toOrigin.scale(scale, scale);
  toOrigin.translate(-bounds.left(), -bounds.top());
  return toOrigin.map(path);
}

void drawScaleNumber(QPainter& painter, double bearing, int value) {
  QPainterPath outline = textOutline(QString::number(value), kNumberHeight);
  const QRectF bounds = outline.boundingRect();
  // Push wide numbers out until their box clears the band.
  const double theta = bearing * std::numbers::pi / 180.0;
  const double reach = bounds.width() / 2 * std::abs(std::sin(theta)) +
                       bounds.height() / 2 * std::abs(std::cos(theta));
  const QPointF middle = polar(bearing, std::max(kNumberRadius, kNumberClearance + reach));
  outline.translate(middle - bounds.center());
  painter.fillPath(outline, kScaleBlue);
}

// The caption fitted into the box from (left, 186) to (right, 196).
void drawCaption(QPainter& painter, const QString& text, double left, double right) {
  const QRectF box(QPointF(left, 186), QPointF(right, 196));
  const QPainterPath outline = textOutline(text, box.height());
  const QRectF bounds = outline.boundingRect();
  QTransform fit;
  fit.translate(box.left(), box.top());
  fit.scale(box.width() / bounds.width(), 1.0);
  fit.translate(-bounds.left(), -bounds.top());
  painter.fillPath(fit.map(outline), kScaleBlue);
}

QImage blankDial() {
  QImage image(kDialPictureSize, kDialPictureSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void drawRose(QPainter& painter, int firstTick, int lastTick) {
  painter.setRenderHint(QPainter::Antialiasing);
  drawScaleBand(painter);
  for (int bearing = firstTick; bearing <= lastTick; bearing += 30) {
    drawTick(painter, bearing);
  }
  drawStar(painter);
  drawHub(painter);
}

}  // namespace

QImage AzimuthRose() {
  QImage image = blankDial();
  QPainter painter(&image);
  drawRose(painter, 0, 330);
  for (int bearing = 0; bearing < 360; bearing += 30) {
    drawScaleNumber(painter, bearing, bearing == 0 ? 360 : bearing);
  }
  drawCaption(painter, kAzimuthCaption, 3, 65);
  return image;
}

QImage ElevationHalfRose() {
  QImage image = blankDial();
  QPainter painter(&image);
  drawRose(painter, -90, 90);
  painter.fillRect(QRectF(0, kCentre.y(), kDialPictureSize, kDialPictureSize), Qt::white);
  // Elevation e lies at compass bearing e - 90: 0 on the left, 90 on top, 180 on the right.
  for (int elevation = 0; elevation <= 180; elevation += 30) {
    drawScaleNumber(painter, elevation - 90, elevation);
  }
  drawCaption(painter, kElevationCaption, 2, 80);
  return image;
}
