// Dial pictures that are cut short, corrupt, no JPEG at all, of odd sizes or huge dimensions, as
// the window meets them at start-up: the stated error in the standard box and the built-in dial
// kept, or the picture shown at its size; never a crash, never memory beyond the picture's own.

#include <QBuffer>

#include <random>
#include <regex>

#include "app/DialPictures.h"
#include "app/JpegDecoder.h"
#include "tests/app/JpegTestFiles.h"
#include "tests/faults/LargeFiles.h"
#include "tests/faults/MeasuredPanel.h"

namespace {

const std::regex decoderError("JPEG-Fehler #[0-9]+");

class DamagedPictures : public MeasuredPanelTest {
 protected:
  // Axis configuration 0: one dial, its picture "Windrose_AZ.jpg".
  DamagedPictures() : shipped(ReadFile("Windrose_AZ.jpg")) {
    WriteSettings({"1", "EN", "1000", "10", "0", "0", "0", "50", "50"});
  }

  // The start-up stopped at the picture with one error box whose text matches error, and the
  // dial kept its built-in picture.
  void expectRefused(const TForm1& form, const std::regex& error) {
    const std::vector<QString> errors = Messages(MessageBoxKind::StandardError);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(std::regex_match(errors[0].toStdString(), error)) << errors[0].toStdString();
    EXPECT_TRUE(SamePixels(Shown(form.Image1), AzimuthRose()));
    EXPECT_FALSE(form.Timer1->Enabled());
  }

  const std::string shipped;
};

std::string pngFile() {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

TEST_F(DamagedPictures, AFileThatIsNoWholeJpegIsRefusedWithTheDecodersError) {
  const struct {
    const char* what;
    std::string bytes;
  } files[] = {
      {"empty", ""},
      {"text", "This is no picture.\r\n"},
      {"cut in half", shipped.substr(0, shipped.size() / 2)},
      {"without its end marker", shipped.substr(0, shipped.size() - 2)},
      {"a PNG", pngFile()},
      {"a header without tables or data", ForgedFrameHeader(8192, 2730)},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.what);
    WriteFile("Windrose_AZ.jpg", file.bytes);
    const auto form = StartMeasured();
    expectRefused(*form, decoderError);
    ExpectMemoryBounded();
  }
}

TEST_F(DamagedPictures, HugeDimensionsAreRefusedBeforeAnyPixelIsDecoded) {
  WriteFile("Windrose_AZ.jpg", ForgedFrameHeader(60000, 60000));
  const auto form = StartMeasured();
  expectRefused(*form, std::regex("JPEG-Bild zu groß: 60000 x 60000 Pixel"));
  ExpectMemoryBounded();
}

TEST_F(DamagedPictures, CorruptBytesGiveThePictureOrTheDecodersError) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    std::string damaged = shipped;
    for (int hit = 0; hit < 6; ++hit) {
      damaged[random() % damaged.size()] = static_cast<char>(random());
    }
    WriteFile("Windrose_AZ.jpg", damaged);
    const auto form = StartMeasured();
    if (Messages(MessageBoxKind::StandardError).empty()) {
      EXPECT_TRUE(SamePixels(Shown(form->Image1), PictureFile(Path("Windrose_AZ.jpg"))));
    } else {
      expectRefused(*form, decoderError);
    }
    ExpectMemoryBounded();
  }
}

TEST_F(DamagedPictures, FiftyMegabytesAreReadNoFurtherThanNeeded) {
  WriteFilledFile(Path("Windrose_AZ.jpg"), "", Garbage(kMiB, 21), 50 * kMiB);
  auto form = StartMeasured();
  expectRefused(*form, decoderError);
  ExpectMemoryBounded();

  form.reset();
  WriteFilledFile(Path("Windrose_AZ.jpg"), shipped, Garbage(kMiB, 22), 50 * kMiB);
  form = StartMeasured();
  EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty()) << "the picture ends at its end";
  EXPECT_EQ(form->Image1->size(), QSize(kDialPictureSize, kDialPictureSize));
  ExpectMemoryBounded();
}

TEST_F(DamagedPictures, PicturesOfOddSizesAreShownAtTheirSize) {
  const QSize sizes[] = {{1, 1}, {kMaxJpegSide, 8}, {8, kMaxJpegSide}, {4096, 4096}};
  for (const QSize size : sizes) {
    SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
    const auto pixels = static_cast<size_t>(size.width()) * static_cast<size_t>(size.height());
    WriteFile("Windrose_AZ.jpg", EncodeJpeg(size.width(), size.height(), 3, JCS_RGB,
                                            std::vector<uint8_t>(pixels * 3, 90)));
    const auto form = StartMeasured();
    EXPECT_TRUE(Messages(MessageBoxKind::StandardError).empty());
    EXPECT_EQ(form->Image1->size(), size);
    // The decoded pixels, the image made of them and the window's backing store showing it.
    const auto pictureMiB = static_cast<int64_t>(pixels * (3 + 4 + 4) >> 20);
    RecordProperty("PictureMiB", static_cast<int>(pictureMiB));
    EXPECT_LT(growthMiB, kStartUpMiB + pictureMiB);
  }
}

}  // namespace
