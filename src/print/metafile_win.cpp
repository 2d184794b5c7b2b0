// EMF pictures on Windows: played by the system's own metafile player into a bitmap
// at 300 dots per inch of the picture's frame; what the metafile leaves untouched
// stays transparent, as it does on Linux.
#include <windows.h>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "picture_loader.h"

namespace velmont::print {
namespace {

constexpr double kDotsPerInch = 300;
constexpr int kLargestSide = 4096;  // pixels: a poster-sized frame still loads quickly

// One playing of the metafile onto a 32-bit bitmap filled with `background`.
QImage play(HENHMETAFILE metafile, QSize size, QRgb background) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.width();
  info.bmiHeader.biHeight = -size.height();  // top row first, as QImage keeps it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  QImage image;
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(dc, bitmap);
    auto* pixels = static_cast<quint32*>(bits);
    std::fill(pixels, pixels + qsizetype(size.width()) * size.height(), quint32(background & 0xffffff));
    const RECT box{0, 0, size.width(), size.height()};
    if (PlayEnhMetaFile(dc, metafile, &box)) {
      GdiFlush();
      image = QImage(size, QImage::Format_RGB32);
      for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), pixels + qsizetype(y) * size.width(), size_t(size.width()) * 4);
    }
    SelectObject(dc, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return image;
}

}  // namespace

bool loadMetafile(const QByteArray& emf, Picture& picture) {
  HENHMETAFILE metafile = SetEnhMetaFileBits(UINT(emf.size()), reinterpret_cast<const BYTE*>(emf.constData()));
  if (!metafile) return false;
  ENHMETAHEADER header{};
  const bool read = GetEnhMetaFileHeader(metafile, sizeof header, &header) == sizeof header;
  // The frame is kept in 0.01 mm.
  const double width = (header.rclFrame.right - header.rclFrame.left) / 2540.0 * kDotsPerInch;
  const double height = (header.rclFrame.bottom - header.rclFrame.top) / 2540.0 * kDotsPerInch;
  const double shrink = std::max({1.0, width / kLargestSide, height / kLargestSide});
  const QSize size(std::max(1, int(std::lround(width / shrink))), std::max(1, int(std::lround(height / shrink))));
  QImage onWhite, onBlack;
  if (read && width > 0 && height > 0) {
    onWhite = play(metafile, size, 0xffffff);
    onBlack = play(metafile, size, 0x000000);
  }
  DeleteEnhMetaFile(metafile);
  if (onWhite.isNull() || onBlack.isNull()) return false;
  // A pixel the metafile drew on reads the same on both backgrounds.
  QImage image(size, QImage::Format_ARGB32);
  for (int y = 0; y < size.height(); ++y) {
    const auto* white = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
    const auto* black = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const bool untouched = qRgb(255, 255, 255) == (white[x] | 0xff000000u) && qRgb(0, 0, 0) == (black[x] | 0xff000000u);
      out[x] = untouched ? qRgba(0, 0, 0, 0) : (white[x] | 0xff000000u);
    }
  }
  picture.bitmap = image;
  return true;
}

// Metafiles become bitmaps here: there is never a vector form to draw.
void drawVector(QPainter&, const Picture&, const QRectF&) {}

}  // namespace velmont::print
