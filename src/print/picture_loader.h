#pragma once
// Loads the pictures of PrImage by the last three letters of their file names.
#include <QDateTime>
#include <QHash>
#include <QRectF>
#include <QString>
#include <memory>

#include "display_list.h"

class QPainter;

namespace velmont::print {

// BMP, GIF, JPG and PNG load as bitmaps, EMF through loadMetafile; any other name, or a
// file that does not load, gives nothing.
std::shared_ptr<const Picture> loadPicture(const QString& file);

// EMF file contents into the picture: as SVG (`vector`) on Linux, through libemf2svg;
// as a bitmap on Windows, played by the system. False when it cannot be drawn.
bool loadMetafile(const QByteArray& emf, Picture& picture);

// Draws the picture's vector form into the area.
void drawVector(QPainter& painter, const Picture& picture, const QRectF& area);

// Keeps each loaded picture while its file is unchanged, so that a logo printed on every
// page is read once.
class PictureCache {
 public:
  std::shared_ptr<const Picture> get(const QString& file);

 private:
  struct Entry {
    QDateTime modified;
    std::shared_ptr<const Picture> picture;
  };
  QHash<QString, Entry> entries_;
};

}  // namespace velmont::print
