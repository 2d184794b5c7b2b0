#pragma once
// Small pictures drawn and written without any imaging library: PNG (stored
// deflate blocks), 24-bit BMP and GIF (uncompressed LZW), enough for the demo
// school's logo and watermarks.
#include <cstdint>
#include <string>
#include <vector>

namespace velmont::batch {

struct Rgb {
  uint8_t r = 255, g = 255, b = 255;
  bool operator==(const Rgb&) const = default;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb background = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
  void put(int x, int y, Rgb colour);  // ignores points outside
  void fillRect(int x0, int y0, int x1, int y1, Rgb colour);  // x1, y1 exclusive
  void fillCircle(int cx, int cy, int radius, Rgb colour);
  // A heraldic shield: straight sides, then a curve down to a point.
  void fillShield(int x0, int y0, int x1, int y1, Rgb colour);

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// File images of a canvas. A GIF holds at most 128 colours; a canvas with more
// throws std::invalid_argument.
std::vector<uint8_t> encodePng(const Canvas& canvas);
std::vector<uint8_t> encodeBmp(const Canvas& canvas);
std::vector<uint8_t> encodeGif(const Canvas& canvas);

// Writes bytes to a file; throws data::DataError naming it on failure.
void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace velmont::batch
