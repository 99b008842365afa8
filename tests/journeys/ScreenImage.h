#pragma once
// A picture of the whole X screen, taken with ImageMagick's import, to read pixels from.

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  int Red = 0;
  int Green = 0;
  int Blue = 0;
  bool operator==(const Rgb&) const = default;
};

class ScreenImage {
 public:
  // Takes a picture of the root window now. Throws std::runtime_error when import fails.
  static ScreenImage Take();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at screen position (x, y); black outside the picture.
  Rgb At(int x, int y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> rgb_;
};
