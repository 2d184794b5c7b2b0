#include "page_image.h"

#include <QPainter>
#include <cmath>

namespace velmont::print {

QImage renderPage(const PageList& page, const PaperSize& paper, double dpi) {
  const double pixelsPerUnit = dpi / 254.0;
  QImage image(int(std::ceil(paper[0] * pixelsPerUnit)), int(std::ceil(paper[1] * pixelsPerUnit)),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  const int dotsPerMetre = int(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainter painter(&image);
  painter.translate(paper[2] * pixelsPerUnit, (paper[1] - paper[5]) * pixelsPerUnit);
  replay(page, painter, pixelsPerUnit);
  return image;
}

}  // namespace velmont::print
