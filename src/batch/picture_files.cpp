#include "picture_files.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

#include "data/error.h"
#include "data/file.h"

namespace velmont::batch {

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), background) {}

void Canvas::put(int x, int y, Rgb colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y) * size_t(width_) + size_t(x)] = colour;
}

void Canvas::fillRect(int x0, int y0, int x1, int y1, Rgb colour) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) put(x, y, colour);
}

void Canvas::fillCircle(int cx, int cy, int radius, Rgb colour) {
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x <= cx + radius; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) put(x, y, colour);
}

void Canvas::fillShield(int x0, int y0, int x1, int y1, Rgb colour) {
  const int w = x1 - x0, h = y1 - y0, straight = h * 45 / 100;
  for (int y = y0; y < y1; ++y) {
    int inset = 0;
    if (y - y0 > straight) {
      const double t = double(y - y0 - straight) / double(h - straight);  // 0..1 down the curve
      inset = int(double(w) / 2 * t * t);
    }
    for (int x = x0 + inset; x < x1 - inset; ++x) put(x, y, colour);
  }
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void put32be(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void pngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  put32be(out, uint32_t(body.size()));
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  put32be(out, crc32(typed.data(), typed.size()));
}

}  // namespace

std::vector<uint8_t> encodePng(const Canvas& c) {
  std::vector<uint8_t> raw;  // filter byte 0, then RGB, per row
  for (int y = 0; y < c.height(); ++y) {
    raw.push_back(0);
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.at(x, y);
      raw.insert(raw.end(), {p.r, p.g, p.b});
    }
  }
  std::vector<uint8_t> zlib = {0x78, 0x01};
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    zlib.push_back(at + n >= raw.size() ? 1 : 0);  // stored block, final flag on the last
    put16(zlib, uint32_t(n));
    put16(zlib, uint32_t(~n & 0xFFFF));
    zlib.insert(zlib.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    if (raw.empty()) break;
  }
  put32be(zlib, adler32(raw));

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  put32be(ihdr, uint32_t(c.width()));
  put32be(ihdr, uint32_t(c.height()));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter method, no interlace
  pngChunk(out, "IHDR", ihdr);
  pngChunk(out, "IDAT", zlib);
  pngChunk(out, "IEND", {});
  return out;
}

std::vector<uint8_t> encodeBmp(const Canvas& c) {
  const uint32_t rowBytes = (uint32_t(c.width()) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * uint32_t(c.height());
  std::vector<uint8_t> out = {'B', 'M'};
  put32(out, 14 + 40 + imageBytes);
  put32(out, 0);
  put32(out, 14 + 40);
  put32(out, 40);
  put32(out, uint32_t(c.width()));
  put32(out, uint32_t(c.height()));  // positive: rows bottom-up
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // no compression
  put32(out, imageBytes);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.at(x, y);
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    out.resize(out.size() + (rowBytes - uint32_t(c.width()) * 3), 0);
  }
  return out;
}

// LZW with 8-bit codes that never grow: a clear code goes out before the code
// table would need a ninth bit, so every pixel is one literal code of one byte.
std::vector<uint8_t> encodeGif(const Canvas& c) {
  constexpr int kMinCodeSize = 7, kColours = 1 << kMinCodeSize, kClear = kColours, kEnd = kColours + 1;
  std::vector<Rgb> palette;
  std::vector<uint8_t> indices;
  indices.reserve(size_t(c.width()) * size_t(c.height()));
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.at(x, y);
      auto it = std::find(palette.begin(), palette.end(), p);
      if (it == palette.end()) {
        if (palette.size() == kColours) throw std::invalid_argument("a GIF picture holds at most 128 colours");
        palette.push_back(p);
        it = palette.end() - 1;
      }
      indices.push_back(uint8_t(it - palette.begin()));
    }
  palette.resize(kColours);

  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  put16(out, uint32_t(c.width()));
  put16(out, uint32_t(c.height()));
  out.push_back(0xF0 | (kMinCodeSize - 1));  // global colour table of 128 entries
  out.push_back(0);
  out.push_back(0);
  for (const Rgb& p : palette) out.insert(out.end(), {p.r, p.g, p.b});
  out.push_back(0x2C);
  put16(out, 0);
  put16(out, 0);
  put16(out, uint32_t(c.width()));
  put16(out, uint32_t(c.height()));
  out.push_back(0);  // no local table, not interlaced
  out.push_back(kMinCodeSize);

  std::vector<uint8_t> codes;
  int sinceClear = 0;
  codes.push_back(kClear);
  for (uint8_t index : indices) {
    // Each code after the first adds a table entry; 100 keeps the table below 256.
    if (sinceClear == 100) {
      codes.push_back(kClear);
      sinceClear = 0;
    }
    codes.push_back(index);
    ++sinceClear;
  }
  codes.push_back(kEnd);
  for (size_t at = 0; at < codes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), codes.begin() + long(at), codes.begin() + long(at + n));
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(data::fsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw data::DataError(path, "could not be written");
}

}  // namespace velmont::batch
