#pragma once
// Loads the pictures of PrImage by the last three letters of their file names.
#include <QDateTime>
#include <QHash>
#include <QString>
#include <memory>

#include "display_list.h"

namespace velmont::print {

// BMP, GIF, JPG and PNG load as bitmaps, EMF as SVG; any other name, or a file that does
// not load, gives nothing.
std::shared_ptr<const Picture> loadPicture(const QString& file);

// EMF file contents converted to SVG; empty when the conversion fails.
QByteArray emfToSvg(const QByteArray& emf);

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
