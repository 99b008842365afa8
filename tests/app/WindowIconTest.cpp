#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "app/WindowIcon.h"

namespace {

int opaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 200) ++count;
    }
  }
  return count;
}

TEST(WindowIcon, IsDrawnOnATransparentGroundAtAnySize) {
  for (const int size : {16, 32, 256}) {
    const QImage image = WindowIconImage(size);
    ASSERT_EQ(image.size(), QSize(size, size));
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0);
    // The artwork covers a similar share of the square at every size; thin lines fade most
    // at the smallest.
    const double share = opaquePixels(image) / double(size * size);
    EXPECT_GT(share, 0.06) << size;
    EXPECT_LT(share, 0.45) << size;
  }
}

TEST(WindowIcon, OffersThe32PixelSize) {
  const QIcon icon = WindowIcon();
  EXPECT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
}

}  // namespace
