// EMF pictures on Linux: converted to SVG by libemf2svg when the build has it, and
// drawn by Qt's SVG renderer into the picture's box.
#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#ifndef VELMONT_NO_EMF2SVG
#include <emf2svg.h>
#endif

#include "picture_loader.h"

namespace velmont::print {
namespace {

#ifdef VELMONT_NO_EMF2SVG
// Built without the converter: no metafile can be drawn.
QByteArray emfToSvg(const QByteArray&) { return {}; }
#else
QByteArray emfToSvg(const QByteArray& emf) {
  if (emf.isEmpty()) return {};
  QByteArray contents = emf;  // the converter wants a writable buffer
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("svg");
  options.emfplus = true;
  options.svgDelimiter = true;
  char* out = nullptr;
  size_t length = 0;
  const int ok = emf2svg(contents.data(), size_t(contents.size()), &out, &length, &options);
  QByteArray svg;
  if (ok && out) svg = QByteArray(out, qsizetype(length));
  std::free(out);
  return svg;
}
#endif

}  // namespace

bool loadMetafile(const QByteArray& emf, Picture& picture) {
  picture.vector = emfToSvg(emf);
  return !picture.vector.isEmpty() && QSvgRenderer(picture.vector).isValid();
}

void drawVector(QPainter& painter, const Picture& picture, const QRectF& area) {
  QSvgRenderer svg(picture.vector);
  svg.render(&painter, area);
}

}  // namespace velmont::print
