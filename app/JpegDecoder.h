#pragma once
// Decodes JPEG files with libjpeg, without Qt. Whatever the file holds, decoding either
// returns a picture or raises; libjpeg never ends the process or prints anything.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Pictures larger than this are refused before any pixel memory is taken: a dial is 200 x 200,
// and a forged header must not make us allocate gigabytes.
constexpr uint32_t kMaxJpegSide = 8192;
constexpr size_t kMaxJpegPixelBytes = size_t{64} << 20;

// Decoded pixels: Width x Height, rows top to bottom, 3 bytes (red, green, blue) per pixel,
// no padding.
struct RgbPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;
};

// Decodes the JPEG file at path. Colour, grey and CMYK pictures all come back as RGB.
// Raises EFileOpenError (with the absolute path and the system's reason) when the file cannot
// be opened or is a directory, and EInvalidGraphic when its content cannot be decoded:
// "JPEG-Fehler #<libjpeg message code>", also for a file that ends early or holds corrupt data,
// or a text naming the dimensions of a picture beyond kMaxJpegSide / kMaxJpegPixelBytes.
RgbPicture DecodeJpegFile(const std::string& path);
