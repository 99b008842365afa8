#include "app/JpegPicture.h"

#include "app/JpegDecoder.h"

QImage LoadJpegPicture(const std::string& path) {
  const RgbPicture picture = DecodeJpegFile(path);
  // Straight into the image's own format: a large picture is held twice at most, never three
  // times through an intermediate image.
  QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
  const uint8_t* rgb = picture.Pixels.data();
  for (int y = 0; y < picture.Height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.Width; ++x, rgb += 3) row[x] = qRgb(rgb[0], rgb[1], rgb[2]);
  }
  return image;
}
