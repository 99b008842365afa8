#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/DialPictures.h"

namespace {

// The colours the artwork is described with.
const QColor bandColour(235, 243, 246);
const QColor edgeGrey(149, 162, 170);

// The pixel at distance radius from the centre (100, 100) in compass direction bearing,
// moved sideways (clockwise) by aside pixels.
QColor at(const QImage& image, double bearing, double radius, double aside = 0) {
  const double theta = bearing * std::numbers::pi / 180.0;
  const double x = 100 + radius * std::sin(theta) + aside * std::cos(theta);
  const double y = 100 - radius * std::cos(theta) + aside * std::sin(theta);
  return image.pixelColor(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

bool isWhite(const QColor& c) { return c == QColor(Qt::white); }
// The scale blue, also where it is blended half into the white ground; the star's
// steel-blue stays below this.
bool isBlue(const QColor& c) { return c.blue() > c.red() + 65; }
bool isDark(const QColor& c) { return c.lightness() < 110; }

// Whether some pixel inside box is of the kind test looks for.
template <typename Test>
bool anyIn(const QImage& image, const QRect& box, Test test) {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (test(image.pixelColor(x, y))) return true;
    }
  }
  return false;
}

// The box around the point radius px from the centre in direction bearing.
QRect boxAround(double bearing, double radius, int halfWidth, int halfHeight) {
  const double theta = bearing * std::numbers::pi / 180.0;
  const int x = static_cast<int>(std::lround(100 + radius * std::sin(theta)));
  const int y = static_cast<int>(std::lround(100 - radius * std::cos(theta)));
  return QRect(x - halfWidth, y - halfHeight, 2 * halfWidth + 1, 2 * halfHeight + 1);
}

class DialPictures : public ::testing::Test {
 protected:
  const QImage azimuth = AzimuthRose();
  const QImage elevation = ElevationHalfRose();
};

TEST_F(DialPictures, BothAre200By200) {
  EXPECT_EQ(azimuth.size(), QSize(200, 200));
  EXPECT_EQ(elevation.size(), QSize(200, 200));
}

TEST_F(DialPictures, TheScaleBandIsLightGreyBlueBetweenGreyCircles) {
  // Bearings between the ticks; the half-rose only above its horizontal line.
  for (const double bearing : {15.0, 105.0, 200.0, 255.0, 345.0}) {
    EXPECT_TRUE(near(at(azimuth, bearing, 67.5), bandColour, 3)) << bearing;
    // The grey edge circles: darker than the band just inside 62 and around 73.
    EXPECT_TRUE(near(at(azimuth, bearing, 62), edgeGrey, 45)) << bearing;
    EXPECT_TRUE(near(at(azimuth, bearing, 73), edgeGrey, 45)) << bearing;
    EXPECT_TRUE(isWhite(at(azimuth, bearing, 76))) << bearing;
  }
  for (const double bearing : {-75.0, -15.0, 45.0, 75.0}) {
    EXPECT_TRUE(near(at(elevation, bearing, 67.5), bandColour, 3)) << bearing;
  }
}

TEST_F(DialPictures, TicksSitOnTheBandEvery30Degrees) {
  for (int bearing = 0; bearing < 360; bearing += 30) {
    EXPECT_TRUE(isDark(at(azimuth, bearing + 0.5, 67.5))) << bearing;
  }
  // On the half-rose: 0, 30 ... 180 counted from the left end, that is bearings -90 to 90.
  for (int bearing = -60; bearing <= 60; bearing += 30) {
    EXPECT_TRUE(isDark(at(elevation, bearing + 0.5, 67.5))) << bearing;
  }
  EXPECT_TRUE(isDark(elevation.pixelColor(167, 99)));
  EXPECT_TRUE(isDark(elevation.pixelColor(32, 99)));
}

TEST_F(DialPictures, TheFourLongStarPointsReachTheBandTheOthersStopNear50) {
  for (int bearing = 0; bearing < 360; bearing += 90) {
    for (double radius = 18; radius <= 59; radius += 1) {
      // Either half of the point, just beside its axis, is coloured.
      const bool coloured = !isWhite(at(azimuth, bearing, radius, -0.5)) ||
                            !isWhite(at(azimuth, bearing, radius, 0.5));
      ASSERT_TRUE(coloured) << bearing << " at " << radius;
    }
  }
  for (int bearing = 30; bearing < 360; bearing += 30) {
    if (bearing % 90 == 0) continue;
    EXPECT_FALSE(isWhite(at(azimuth, bearing + 1, 45))) << bearing;
    EXPECT_TRUE(isWhite(at(azimuth, bearing, 55))) << bearing;
  }
}

TEST_F(DialPictures, TheHubIsWhiteWithAGreyRimAndADarkEmblem) {
  for (double bearing = 22.5; bearing < 360; bearing += 45) {
    EXPECT_TRUE(isWhite(at(azimuth, bearing, 11))) << bearing;
    EXPECT_TRUE(near(at(azimuth, bearing, 15), edgeGrey, 45)) << bearing;
  }
  EXPECT_TRUE(anyIn(azimuth, QRect(95, 95, 10, 10), isDark));
}

TEST_F(DialPictures, TheScaleNumbersAreBlueAroundTheBand) {
  for (int bearing = 0; bearing < 360; bearing += 30) {
    EXPECT_TRUE(anyIn(azimuth, boxAround(bearing, 82, 6, 3), isBlue)) << bearing;
  }
  for (int elevationAngle = 0; elevationAngle <= 180; elevationAngle += 30) {
    EXPECT_TRUE(anyIn(elevation, boxAround(elevationAngle - 90, 82, 6, 3), isBlue))
        << elevationAngle;
  }
  // Nothing blue inside the band.
  EXPECT_FALSE(anyIn(azimuth, QRect(40, 40, 120, 120), isBlue));
}

// The box of the blue pixels in the lower left corner, below the scale numbers.
QRect captionBounds(const QImage& image) {
  QRect bounds;
  for (int y = 185; y < 200; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (isBlue(image.pixelColor(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

TEST_F(DialPictures, TheCaptionsFillTheirCorner) {
  const QRect az = captionBounds(azimuth);
  EXPECT_NEAR(az.left(), 3, 1);
  EXPECT_NEAR(az.right(), 65, 1);
  EXPECT_NEAR(az.top(), 186, 1);
  EXPECT_NEAR(az.bottom(), 196, 1);
  const QRect el = captionBounds(elevation);
  EXPECT_NEAR(el.left(), 2, 1);
  EXPECT_NEAR(el.right(), 80, 1);
  EXPECT_NEAR(el.top(), 186, 1);
  EXPECT_NEAR(el.bottom(), 196, 1);
}

TEST_F(DialPictures, TheHalfRoseIsWhiteBelowItsHorizontalLine) {
  const QRect caption(1, 185, 81, 13);
  for (int y = 100; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      // The numbers 0 and 180 stand level with the centre, half above and half below.
      const bool endNumber = y <= 106 && (x < 27 || x > 172);
      if (endNumber || caption.contains(x, y)) continue;
      ASSERT_TRUE(isWhite(elevation.pixelColor(x, y))) << x << "," << y;
    }
  }
}

TEST_F(DialPictures, TheHalfRoseIsTheUpperHalfOfTheRose) {
  // Inside the numbers the two pictures agree above the line.
  int differing = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (std::hypot(x + 0.5 - 100, y + 0.5 - 100) > 74) continue;
      if (!near(azimuth.pixelColor(x, y), elevation.pixelColor(x, y), 2)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
