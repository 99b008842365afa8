#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "app/DialPictures.h"
#include "app/JpegDecoder.h"
#include "app/WindowIcon.h"

namespace {

const std::string kResources = AZIMARA_RESOURCES_DIR;

// Mean difference per colour channel between a decoded picture and a drawn one.
double meanDifference(const RgbPicture& decoded, const QImage& drawn) {
  double sum = 0;
  for (int y = 0; y < decoded.Height; ++y) {
    for (int x = 0; x < decoded.Width; ++x) {
      const uint8_t* rgb = &decoded.Pixels[(static_cast<size_t>(y) * decoded.Width + x) * 3];
      const QRgb pixel = drawn.pixel(x, y);
      sum += std::abs(rgb[0] - qRed(pixel)) + std::abs(rgb[1] - qGreen(pixel)) +
             std::abs(rgb[2] - qBlue(pixel));
    }
  }
  return sum / (3.0 * decoded.Width * decoded.Height);
}

TEST(ShippedPictures, TheDialFilesHoldTheDrawnPictures) {
  const RgbPicture az = DecodeJpegFile(kResources + "/Windrose_AZ.jpg");
  const RgbPicture el = DecodeJpegFile(kResources + "/Windrose_EL.jpg");
  ASSERT_EQ(az.Width, 200);
  ASSERT_EQ(az.Height, 200);
  ASSERT_EQ(el.Width, 200);
  ASSERT_EQ(el.Height, 200);
  // Only compression noise separates them.
  EXPECT_LT(meanDifference(az, AzimuthRose()), 3.0);
  EXPECT_LT(meanDifference(el, ElevationHalfRose()), 3.0);
  EXPECT_GT(meanDifference(az, ElevationHalfRose()), 5.0);
}

TEST(ShippedPictures, TheIconFileHoldsTheDrawnIcon) {
  const QImage shipped(QString::fromStdString(kResources + "/azimara.png"));
  ASSERT_EQ(shipped.size(), QSize(32, 32));
  const QImage drawn = WindowIconImage(32).convertToFormat(QImage::Format_ARGB32);
  const QImage file = shipped.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QRgb a = drawn.pixel(x, y);
      const QRgb b = file.pixel(x, y);
      ASSERT_NEAR(qAlpha(a), qAlpha(b), 2) << x << "," << y;
    }
  }
}

}  // namespace
