#include "app/JpegDecoder.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "app/PictureErrors.h"
#include "app/SystemFiles.h"

namespace {

// libjpeg reports errors through these callbacks; error_exit must not return, so it jumps back
// to the setjmp of the decoding step that called into libjpeg.
struct ErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Escape;
};

[[noreturn]] void escapeFromLibjpeg(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->Escape, 1);
}

// Warnings about metadata we do not use; every other warning means the pixels would be made up
// (libjpeg pads a truncated file with grey) and is treated as an error.
bool harmlessWarning(int code) { return code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC; }

void emitMessage(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0 && !harmlessWarning(cinfo->err->msg_code)) {
    escapeFromLibjpeg(cinfo);
  }
}

void outputNothing(j_common_ptr) {}

// The decoding steps below each guard their libjpeg calls with setjmp. They hold no object
// with a destructor, so the jump skips nothing that needs cleaning up; the caller owns all
// resources. Each returns false when libjpeg raised an error, whose code is then in
// cinfo->err->msg_code.

bool readHeader(jpeg_decompress_struct* cinfo, ErrorManager* errors, std::FILE* file) {
  if (setjmp(errors->Escape) != 0) {
    return false;
  }
  jpeg_create_decompress(cinfo);
  jpeg_stdio_src(cinfo, file);
  jpeg_read_header(cinfo, TRUE);
  return true;
}

bool startDecompress(jpeg_decompress_struct* cinfo, ErrorManager* errors) {
  if (setjmp(errors->Escape) != 0) {
    return false;
  }
  jpeg_start_decompress(cinfo);
  return true;
}

bool readRows(jpeg_decompress_struct* cinfo, ErrorManager* errors, uint8_t* pixels,
              size_t rowBytes) {
  if (setjmp(errors->Escape) != 0) {
    return false;
  }
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = pixels + cinfo->output_scanline * rowBytes;
    jpeg_read_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

// Owns libjpeg's decompression state; destroying a state that was never created is harmless
// because it starts zeroed.
struct Decompressor {
  jpeg_decompress_struct Info{};
  ErrorManager Errors{};

  Decompressor() {
    Info.err = jpeg_std_error(&Errors.Base);
    Errors.Base.error_exit = escapeFromLibjpeg;
    Errors.Base.emit_message = emitMessage;
    Errors.Base.output_message = outputNothing;
  }
  ~Decompressor() { jpeg_destroy_decompress(&Info); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  [[noreturn]] void Fail() const {
    throw EInvalidGraphic("JPEG-Fehler #" + std::to_string(Errors.Base.msg_code));
  }
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string fullPathOf(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.lexically_normal().string();
}

FileHandle openPicture(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw EFileOpenError(fullPathOf(path), errno);
  }
  bool directory = false;
  if (!ReadsDirectory(file.get(), directory)) {
    throw EFileOpenError(fullPathOf(path), errno);
  }
  if (directory) {
    throw EFileOpenError(fullPathOf(path), EISDIR);
  }
  return file;
}

// Rejects dimensions no dial picture has before libjpeg allocates for them.
void checkDimensions(const jpeg_decompress_struct& info, size_t components) {
  const uint64_t pixelBytes = uint64_t{info.image_width} * info.image_height * components;
  if (info.image_width > kMaxJpegSide || info.image_height > kMaxJpegSide ||
      pixelBytes > kMaxJpegPixelBytes) {
    throw EInvalidGraphic("JPEG-Bild zu groß: " + std::to_string(info.image_width) + " x " +
                          std::to_string(info.image_height) + " Pixel");
  }
}

// Adobe applications store CMYK inverted (0 = full ink), which is what libjpeg hands back when
// the file carries the Adobe marker; others store it plainly.
void cmykToRgb(std::vector<uint8_t>& pixels, size_t pixelCount, bool inverted) {
  for (size_t i = 0; i < pixelCount; ++i) {
    // Read all four before writing: the RGB pixel overlaps the CMYK one in place.
    uint8_t cmyk[4];
    std::copy_n(&pixels[i * 4], 4, cmyk);
    const unsigned key = inverted ? cmyk[3] : 255u - cmyk[3];
    for (size_t channel = 0; channel < 3; ++channel) {
      const unsigned ink = inverted ? cmyk[channel] : 255u - cmyk[channel];
      pixels[i * 3 + channel] = static_cast<uint8_t>(ink * key / 255u);
    }
  }
  pixels.resize(pixelCount * 3);
}

}  // namespace

RgbPicture DecodeJpegFile(const std::string& path) {
  const FileHandle file = openPicture(path);
  Decompressor decompressor;
  jpeg_decompress_struct& info = decompressor.Info;
  if (!readHeader(&info, &decompressor.Errors, file.get())) {
    decompressor.Fail();
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const size_t components = cmyk ? 4 : 3;
  checkDimensions(info, components);
  if (!startDecompress(&info, &decompressor.Errors)) {
    decompressor.Fail();
  }

  RgbPicture picture;
  picture.Width = static_cast<int>(info.output_width);
  picture.Height = static_cast<int>(info.output_height);
  const size_t pixelCount = size_t{info.output_width} * info.output_height;
  picture.Pixels.resize(pixelCount * components);
  if (!readRows(&info, &decompressor.Errors, picture.Pixels.data(),
                size_t{info.output_width} * components)) {
    decompressor.Fail();
  }
  if (cmyk) {
    cmykToRgb(picture.Pixels, pixelCount, info.saw_Adobe_marker != 0);
  }
  return picture;
}
