#include "picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace velmont::print {

std::shared_ptr<const Picture> loadPicture(const QString& file) {
  const QString kind = file.right(3).toUpper();
  auto picture = std::make_shared<Picture>();
  picture->file = file;
  if (kind == "BMP" || kind == "GIF" || kind == "JPG" || kind == "PNG") {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    if (!reader.read(&picture->bitmap)) return nullptr;
    return picture;
  }
  if (kind == "EMF") {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return nullptr;
    if (!loadMetafile(in.readAll(), *picture)) return nullptr;
    return picture;
  }
  return nullptr;
}

std::shared_ptr<const Picture> PictureCache::get(const QString& file) {
  const QDateTime modified = QFileInfo(file).lastModified();
  auto found = entries_.find(file);
  if (found != entries_.end() && found->modified == modified && modified.isValid())
    return found->picture;
  auto picture = loadPicture(file);
  if (picture) entries_.insert(file, Entry{modified, picture});
  return picture;
}

}  // namespace velmont::print
