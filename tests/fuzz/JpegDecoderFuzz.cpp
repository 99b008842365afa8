// The JPEG decoder on whatever a dial picture file holds: it gives a picture whose pixels fill
// exactly its width and height within the size limits, or raises EInvalidGraphic with one of its
// two messages. It never fails to open a file that is there, never ends the process, never
// reads or writes outside its buffers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzStartupDir.h"
#include "app/JpegDecoder.h"
#include "app/PictureErrors.h"

namespace {

const FuzzStartupDir& startupDir() {
  static const FuzzStartupDir dir;
  return dir;
}

void checkPicture(const RgbPicture& picture) {
  Check(picture.Width > 0 && picture.Height > 0, "a decoded picture has pixels");
  Check(static_cast<uint32_t>(picture.Width) <= kMaxJpegSide &&
            static_cast<uint32_t>(picture.Height) <= kMaxJpegSide,
        "a decoded picture is within the side limit");
  const size_t bytes =
      size_t{3} * static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
  Check(picture.Pixels.size() == bytes, "three bytes for every pixel, no more, no less");
  Check(bytes <= kMaxJpegPixelBytes, "a decoded picture is within the memory limit");
}

void checkRefusal(std::string_view message) {
  Check(message.starts_with("JPEG-Fehler #") || message.starts_with("JPEG-Bild zu gro"),
        "a refused picture says why");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = startupDir().Write("dial.jpg", data, size);
  try {
    checkPicture(DecodeJpegFile(path));
  } catch (const EInvalidGraphic& error) {
    checkRefusal(error.what());
  }
  return 0;
}
