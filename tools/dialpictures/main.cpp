// Draws the dial pictures and the window icon and writes them into the directory given as the
// only argument: Windrose_AZ.jpg, Windrose_EL.jpg, azimara.png (32 x 32), azimara_256.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

#include "app/DialPictures.h"
#include "app/WindowIcon.h"

namespace {

constexpr int kJpegQuality = 90;

bool save(const QImage& image, const QDir& directory, const char* name, int quality) {
  const QString path = directory.filePath(name);
  if (!image.save(path, nullptr, quality)) {
    std::fprintf(stderr, "dialpictures: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Only images are drawn, no window is shown: no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialpictures OUTDIR\n");
    return 2;
  }
  const QDir directory(QString::fromLocal8Bit(argv[1]));
  if (!directory.exists()) {
    std::fprintf(stderr, "dialpictures: no directory %s\n", argv[1]);
    return 1;
  }
  const bool written = save(AzimuthRose(), directory, "Windrose_AZ.jpg", kJpegQuality) &&
                       save(ElevationHalfRose(), directory, "Windrose_EL.jpg", kJpegQuality) &&
                       save(WindowIconImage(32), directory, "azimara.png", -1) &&
                       save(WindowIconImage(256), directory, "azimara_256.png", -1);
  return written ? 0 : 1;
}
