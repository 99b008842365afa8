#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "JpegTestFiles.h"
#include "app/JpegDecoder.h"
#include "app/JpegPicture.h"
#include "app/PictureErrors.h"

// clang-format off
#include <jerror.h>
// clang-format on

namespace {

// A smooth colour gradient, which survives JPEG compression with small errors.
std::vector<uint8_t> gradient(int width, int height) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(static_cast<uint8_t>(x * 255 / width));
      pixels.push_back(static_cast<uint8_t>(y * 255 / height));
      pixels.push_back(128);
    }
  }
  return pixels;
}

std::string errorOf(const std::string& path) {
  try {
    DecodeJpegFile(path);
  } catch (const EInvalidGraphic& e) {
    return e.what();
  }
  return "decoded";
}

std::string jpegError(int code) { return "JPEG-Fehler #" + std::to_string(code); }

TEST(DecodeJpegFile, DecodesAPictureOfAnySize) {
  TempDirectory dir;
  const std::vector<uint8_t> source = gradient(37, 23);
  const std::string path = dir.Write("odd.jpg", EncodeJpeg(37, 23, 3, JCS_RGB, source));
  const RgbPicture picture = DecodeJpegFile(path);
  EXPECT_EQ(picture.Width, 37);
  EXPECT_EQ(picture.Height, 23);
  ASSERT_EQ(picture.Pixels.size(), source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    ASSERT_NEAR(picture.Pixels[i], source[i], 12) << "byte " << i;
  }
}

TEST(DecodeJpegFile, GreyPicturesComeBackAsRgb) {
  TempDirectory dir;
  std::vector<uint8_t> grey;
  for (int i = 0; i < 16 * 8; ++i) grey.push_back(static_cast<uint8_t>(i * 2));
  const RgbPicture picture =
      DecodeJpegFile(dir.Write("grey.jpg", EncodeJpeg(16, 8, 1, JCS_GRAYSCALE, grey)));
  ASSERT_EQ(picture.Pixels.size(), grey.size() * 3);
  for (size_t i = 0; i < grey.size(); ++i) {
    EXPECT_EQ(picture.Pixels[i * 3], picture.Pixels[i * 3 + 1]);
    EXPECT_EQ(picture.Pixels[i * 3], picture.Pixels[i * 3 + 2]);
    EXPECT_NEAR(picture.Pixels[i * 3], grey[i], 6) << i;
  }
}

TEST(DecodeJpegFile, CmykPicturesComeBackAsRgb) {
  // libjpeg writes CMYK with the Adobe marker, whose convention stores ink inverted:
  // red is no cyan (255), full magenta (0), full yellow (0), no black (255).
  TempDirectory dir;
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  const RgbPicture picture =
      DecodeJpegFile(dir.Write("cmyk.jpg", EncodeJpeg(16, 16, 4, JCS_CMYK, cmyk)));
  EXPECT_EQ(picture.Width, 16);
  ASSERT_EQ(picture.Pixels.size(), size_t{16 * 16 * 3});
  for (size_t i = 0; i < picture.Pixels.size(); i += 3) {
    EXPECT_GE(picture.Pixels[i], 245);
    EXPECT_LE(picture.Pixels[i + 1], 10);
    EXPECT_LE(picture.Pixels[i + 2], 10);
  }
}

TEST(DecodeJpegFile, AMissingFileNamesItsFullPathAndTheReason) {
  TempDirectory dir;
  const std::string path = (dir.Path() / "Windrose_AZ.jpg").string();
  try {
    DecodeJpegFile(path);
    FAIL() << "decoded a missing file";
  } catch (const EFileOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Datei " + path + " kann nicht geöffnet werden. " + std::strerror(ENOENT));
  }
}

TEST(DecodeJpegFile, ARelativePathIsReportedInFull) {
  TempDirectory dir;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  std::string message;
  try {
    DecodeJpegFile("Windrose_EL.jpg");
  } catch (const EFileOpenError& e) {
    message = e.what();
  }
  std::filesystem::current_path(before);
  const std::string full = (std::filesystem::canonical(dir.Path()) / "Windrose_EL.jpg").string();
  EXPECT_EQ(message, "Datei " + full + " kann nicht geöffnet werden. " + std::strerror(ENOENT));
}

TEST(DecodeJpegFile, ADirectoryCannotBeOpenedAsAPicture) {
  TempDirectory dir;
  std::filesystem::create_directory(dir.Path() / "Windrose_AZ.jpg");
  const std::string path = (dir.Path() / "Windrose_AZ.jpg").string();
  EXPECT_THROW(
      {
        try {
          DecodeJpegFile(path);
        } catch (const EFileOpenError& e) {
          EXPECT_EQ(std::string(e.what()),
                    "Datei " + path + " kann nicht geöffnet werden. " + std::strerror(EISDIR));
          throw;
        }
      },
      EFileOpenError);
}

TEST(DecodeJpegFile, ContentThatIsNoJpegGivesTheDecoderCode) {
  TempDirectory dir;
  EXPECT_EQ(errorOf(dir.Write("empty.jpg", "")), jpegError(JERR_INPUT_EMPTY));
  EXPECT_EQ(errorOf(dir.Write("text.jpg", "This is no picture at all.\r\n")),
            jpegError(JERR_NO_SOI));
  EXPECT_EQ(errorOf(dir.Write("zero.jpg", ForgedFrameHeader(0, 200))), jpegError(JERR_EMPTY_IMAGE));
}

TEST(DecodeJpegFile, ATruncatedFileIsAnErrorNotAGreyPicture) {
  TempDirectory dir;
  const std::string whole = EncodeJpeg(64, 64, 3, JCS_RGB, gradient(64, 64));
  EXPECT_EQ(errorOf(dir.Write("half.jpg", whole.substr(0, whole.size() / 2))),
            jpegError(JWRN_JPEG_EOF));
  EXPECT_EQ(errorOf(dir.Write("noend.jpg", whole.substr(0, whole.size() - 2))),
            jpegError(JWRN_JPEG_EOF));
}

TEST(DecodeJpegFile, EveryPrefixOfAPictureDecodesOrRaisesTheDecoderError) {
  TempDirectory dir;
  const std::string whole = EncodeJpeg(40, 24, 3, JCS_RGB, gradient(40, 24));
  const std::regex decoderError("JPEG-Fehler #[0-9]+");
  for (size_t length = 0; length < whole.size(); length += 7) {
    const std::string message = errorOf(dir.Write("prefix.jpg", whole.substr(0, length)));
    EXPECT_TRUE(std::regex_match(message, decoderError)) << length << ": " << message;
  }
}

TEST(DecodeJpegFile, CorruptedBytesNeverCrash) {
  TempDirectory dir;
  const std::string whole = EncodeJpeg(40, 24, 3, JCS_RGB, gradient(40, 24));
  const std::regex decoderError("JPEG-Fehler #[0-9]+");
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = whole;
    for (int hit = 0; hit < 4; ++hit) {
      damaged[random() % damaged.size()] = static_cast<char>(random());
    }
    try {
      const RgbPicture picture = DecodeJpegFile(dir.Write("damaged.jpg", damaged));
      EXPECT_EQ(picture.Pixels.size(),
                static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height) * 3);
    } catch (const EInvalidGraphic& e) {
      EXPECT_TRUE(std::regex_match(e.what(), decoderError) ||
                  std::string(e.what()).starts_with("JPEG-Bild zu groß"))
          << e.what();
    }
  }
}

TEST(DecodeJpegFile, HugeDimensionsAreRefusedBeforeDecoding) {
  TempDirectory dir;
  EXPECT_EQ(errorOf(dir.Write("huge.jpg", ForgedFrameHeader(60000, 60000))),
            "JPEG-Bild zu groß: 60000 x 60000 Pixel");
  EXPECT_EQ(errorOf(dir.Write("wide.jpg", ForgedFrameHeader(kMaxJpegSide + 1, 1))),
            "JPEG-Bild zu groß: 8193 x 1 Pixel");
  // Within the side limit, but more pixel bytes than allowed.
  const uint16_t rows = static_cast<uint16_t>(kMaxJpegPixelBytes / (kMaxJpegSide * 3) + 1);
  EXPECT_EQ(errorOf(dir.Write("tall.jpg", ForgedFrameHeader(kMaxJpegSide, rows))),
            "JPEG-Bild zu groß: 8192 x " + std::to_string(rows) + " Pixel");
}

TEST(LoadJpegPicture, CopiesEveryRowIntoTheImage) {
  // An odd width makes the decoder's rows shorter than QImage's padded ones.
  TempDirectory dir;
  const std::string path = dir.Write("odd.jpg", EncodeJpeg(37, 23, 3, JCS_RGB, gradient(37, 23)));
  const RgbPicture pixels = DecodeJpegFile(path);
  const QImage image = LoadJpegPicture(path);
  ASSERT_EQ(image.width(), 37);
  ASSERT_EQ(image.height(), 23);
  for (int y = 0; y < 23; ++y) {
    for (int x = 0; x < 37; ++x) {
      const uint8_t* rgb = &pixels.Pixels[(static_cast<size_t>(y) * 37 + x) * 3];
      ASSERT_EQ(image.pixel(x, y), qRgb(rgb[0], rgb[1], rgb[2])) << x << "," << y;
    }
  }
}

TEST(LoadJpegPicture, RaisesTheDecoderErrors) {
  TempDirectory dir;
  EXPECT_THROW(LoadJpegPicture((dir.Path() / "missing.jpg").string()), EFileOpenError);
  EXPECT_THROW(LoadJpegPicture(dir.Write("text.jpg", "no picture")), EInvalidGraphic);
}

}  // namespace
