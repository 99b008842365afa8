#include "tests/journeys/ScreenImage.h"

#include <sstream>
#include <stdexcept>

#include "tests/journeys/ToolRun.h"

ScreenImage ScreenImage::Take() {
  const std::string ppm =
      RunToolChecked("import", {"-silent", "-window", "root", "-depth", "8", "ppm:-"});
  std::istringstream header(ppm);
  std::string magic;
  int maxValue = 0;
  ScreenImage image;
  header >> magic >> image.width_ >> image.height_ >> maxValue;
  const auto pixelBytes =
      static_cast<size_t>(image.width_) * static_cast<size_t>(image.height_) * 3;
  if (magic != "P6" || maxValue != 255 || !header) throw std::runtime_error("import gave no PPM");
  const auto start = static_cast<size_t>(header.tellg()) + 1;  // one blank ends the header
  if (ppm.size() < start + pixelBytes) throw std::runtime_error("import gave a short PPM");
  image.rgb_.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start),
                    ppm.begin() + static_cast<std::ptrdiff_t>(start + pixelBytes));
  return image;
}

Rgb ScreenImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const size_t at =
      (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
  return {rgb_[at], rgb_[at + 1], rgb_[at + 2]};
}
