#include "lmd_image.h"

#include <QImageReader>

namespace velmont::widgets {

QSize lmdImgSize(const QString& file) {
  QImageReader reader(file);
  const QSize size = reader.size();
  return size.isValid() ? size : QSize();
}

}  // namespace velmont::widgets
