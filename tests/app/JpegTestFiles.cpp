#include "JpegTestFiles.h"

#include <cstdlib>

std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                       const std::vector<uint8_t>& pixels) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row =
        const_cast<uint8_t*>(pixels.data()) +
        static_cast<size_t>(info.next_scanline) * static_cast<size_t>(width * components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

std::string ForgedFrameHeader(uint16_t width, uint16_t height) {
  const auto high = [](uint16_t v) { return static_cast<char>(v >> 8); };
  const auto low = [](uint16_t v) { return static_cast<char>(v & 0xFF); };
  std::string bytes = {'\xFF', '\xD8'};  // start of image
  // Baseline frame: length 17, 8 bits, height, width, three components sampled 1x1.
  bytes += {'\xFF', '\xC0', 0, 17, 8, high(height), low(height), high(width), low(width), 3};
  bytes += {1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0};
  // Scan over the three components: length 12, spectral range 0 to 63.
  bytes += {'\xFF', '\xDA', 0, 12, 3, 1, 0, 2, 0, 3, 0, 0, 63, 0};
  bytes += {'\xFF', '\xD9'};  // end of image
  return bytes;
}
