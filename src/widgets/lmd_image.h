#pragma once
// Picture files.
#include <QSize>
#include <QString>

namespace velmont::widgets {

// lmdImgSize: the width and height in pixels of a picture file, without
// decoding it; an empty size when the file is missing or not a picture.
QSize lmdImgSize(const QString& file);

}  // namespace velmont::widgets
