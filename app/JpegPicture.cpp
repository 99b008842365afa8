#include "app/JpegPicture.h"

#include <cstring>

#include "app/JpegDecoder.h"

QImage LoadJpegPicture(const std::string& path) {
  const RgbPicture picture = DecodeJpegFile(path);
  QImage image(picture.Width, picture.Height, QImage::Format_RGB888);
  const size_t rowBytes = static_cast<size_t>(picture.Width) * 3;
  // QImage pads its rows to four bytes, the decoder does not: copy row by row.
  for (int y = 0; y < picture.Height; ++y) {
    std::memcpy(image.scanLine(y), picture.Pixels.data() + static_cast<size_t>(y) * rowBytes,
                rowBytes);
  }
  return image.convertToFormat(QImage::Format_RGB32);
}
