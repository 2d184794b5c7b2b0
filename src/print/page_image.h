#pragma once
// A page rendered as a picture of the whole paper, at any resolution.
#include <QImage>

#include "print_device.h"

namespace velmont::print {

// White paper of `paper`'s size at `dpi`, with the page drawn in its printable area.
QImage renderPage(const PageList& page, const PaperSize& paper, double dpi);

}  // namespace velmont::print
