#include <cstdlib>
#include <emf2svg.h>

#include "picture_loader.h"

namespace velmont::print {

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

}  // namespace velmont::print
