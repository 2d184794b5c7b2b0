// The graphic operations of the page printer: boxes, frames, bars, rules and pictures.
#include <algorithm>

#include "page_printer.h"

namespace velmont::print {

namespace {

int clampGrey(double level) { return std::clamp(int(level), 0, 255); }

// Puts the surface's colours, pattern and line type back when an operation ends; the
// pattern always returns to solid.
class KeepAttributes {
 public:
  explicit KeepAttributes(PageSurface& surface)
      : surface_(surface),
        foreground_(surface.foreground()),
        background_(surface.background()),
        lineType_(surface.lineType()) {}
  ~KeepAttributes() {
    surface_.setPattern(pattern::kSolid);
    surface_.setForeground(foreground_);
    surface_.setBackground(background_);
    surface_.setLineType(lineType_);
  }

 private:
  PageSurface& surface_;
  Colour foreground_, background_;
  int lineType_;
};

}  // namespace

void lmcPrn3::setDens(const Density& density, int defaultGrey) {
  if (const QString* name = density.name()) {
    if (auto code = findFill(aFills, *name)) {
      oPs->setPattern(*code);
      oPs->setForeground(kBlack);
      oPs->setBackground(kWhite);
      return;
    }
    oPs->setPattern(pattern::kSolid);
    oPs->setForeground(greyColour(defaultGrey));
    return;
  }
  if (const ColourPair* pair = density.pair()) {
    oPs->setPattern(findFill(aFills, pair->pattern).value_or(pattern::kSolid));
    oPs->setForeground(pair->foreground);
    oPs->setBackground(pair->background);
    return;
  }
  const double* grey = density.grey();
  const bool inRange = grey && *grey > 16 && *grey < 256;
  oPs->setPattern(pattern::kSolid);
  oPs->setForeground(greyColour(inRange ? clampGrey(*grey) : defaultGrey));
}

Colour lmcPrn3::setColor(Colour colour) {
  const Colour previous = oPs->foreground();
  oPs->setForeground(colour);
  return previous;
}

void lmcPrn3::PrBox(double row, double column, double rows, double columns,
                    const QString& mode, const Density& density, const LineStyle& lineType,
                    double cornerWidth, double cornerHeight, double xOffset, double yOffset) {
  KeepAttributes keep(*oPs);
  const QString how = mode.trimmed().toUpper();
  const bool fill = how == "FILL" || how == "OUTLINEFILL";
  const bool outline = how != "FILL";
  if (outline) {
    const int* code = lineType.code();
    const bool dotted = lineType.name() && lineType.name()->trimmed().toUpper() == "DOT";
    oPs->setLineType(code ? *code : dotted ? line::kDot : line::kSolid);
  }
  if (fill) {
    if (const QString* name = density.name()) {
      oPs->setPattern(findFill(aFills, *name).value_or(pattern::kNoShade));
      oPs->setForeground(kBlack);
      oPs->setBackground(kWhite);
    } else if (const double* grey = density.grey()) {
      oPs->setPattern(pattern::kSolid);
      oPs->setForeground(greyColour(clampGrey(*grey)));
      oPs->setBackground(kWhite);
    } else if (const ColourPair* pair = density.pair()) {
      oPs->setPattern(findFill(aFills, pair->pattern).value_or(pattern::kSolid));
      oPs->setForeground(pair->foreground);
      oPs->setBackground(pair->background);
    } else {
      oPs->setPattern(pattern::kNoShade);
    }
  }
  const double left = columnX(column, nPt) + xOffset;
  const double top = rowTop(row) - 9 + yOffset;  // 0.9 mm below the top of the row
  const PageRect area{left, top - rows * nRowHt, left + columns * nPt, top};
  oPs->drawBox(area, outline, fill, cornerWidth, cornerHeight);
  if (how == "OUTLINEFILL" && density.grey()) {
    // A grey outline would fade into the fill: the border is drawn again in black.
    oPs->setForeground(kBlack);
    oPs->setBackground(kWhite);
    oPs->drawBox(area, true, false, cornerWidth, cornerHeight);
  }
}

void lmcPrn3::fillWithDensity(const PageRect& area, const Density& density) {
  setDens(density, 17);
  oPs->drawBox(area, false, true);
}

void lmcPrn3::PrHbar(double row, double column, double columns, double thickness,
                     const Density& density, double xOffset, double yOffset) {
  KeepAttributes keep(*oPs);
  const double top = rowTop(row) - 7 + yOffset;  // 0.7 mm below the top of the row
  const double left = columnX(column, nPt) + xOffset;
  fillWithDensity({left, top - thickness, left + columns * nPt, top}, density);
}

void lmcPrn3::PrVbar(double row, double column, double rows, double thickness,
                     const Density& density, double xOffset, double yOffset) {
  KeepAttributes keep(*oPs);
  const double top = rowTop(row) - 7 + yOffset;
  const double left = columnX(column, nPt) + xOffset;
  fillWithDensity({left, top - rows * nRowHt, left + thickness, top}, density);
}

void lmcPrn3::PrFrame(double row, double column, double rows, double columns, double thickness,
                      const Density& density, const FrameFill& fill, const FrameShadow& shadow,
                      double xOffset, double yOffset) {
  KeepAttributes keep(*oPs);
  const double x = columnX(column, nPt) + xOffset;
  const double y = nPgHt - (nTopMar + (row - 1) * nRowHt + rows * nRowHt) - 9 + yOffset;
  const double w = columns * nPt, h = rows * nRowHt, t = thickness;
  setDens(density, 17);
  oPs->drawBox({x, y, x + t, y + h}, false, true);
  oPs->drawBox({x + w - t, y, x + w, y + h}, false, true);
  oPs->drawBox({x, y + h - t, x + w, y + h}, false, true);
  oPs->drawBox({x, y, x + w, y + t}, false, true);
  if (shadow.on) {
    setDens(shadow.density, 235);
    const double d = shadow.offset.value_or(12);
    oPs->drawBox({x + d, y - d - 1, x + w + d, y - 1}, false, true);
    oPs->drawBox({x + w + 1, y - d, x + w + 1 + d, y + h - d}, false, true);
  }
  if (fill.on) {
    setDens(fill.density, 240);
    oPs->drawBox({x + t, y + t, x + w - t, y + h - t}, false, true);
  }
}

void lmcPrn3::prHline(double row, double column, double columns, const LineStyle& lineType,
                      double xOffset, double yOffset) {
  oPs->setLineType(lineType.resolve());
  const double x = columnX(column, nPt) + xOffset;
  const double y = rowY(row) + yOffset;  // the baseline of the row
  oPs->drawLine({x, y}, {x + columns * nPt, y});
  oPs->setLineType(line::kSolid);
}

void lmcPrn3::PrVline(double row, double column, double rows, const LineStyle& lineType,
                      double xOffset, double yOffset) {
  oPs->setLineType(lineType.resolve());
  const double x = columnX(column, nPt) + xOffset;
  const double y = rowY(row) + yOffset;
  oPs->drawLine({x, y}, {x, y - rows * nRowHt});
  oPs->setLineType(line::kSolid);
}

void lmcPrn3::PrImage(double row, double column, const QString& file, double rows,
                      double columns, std::optional<double> columnWidth, double xOffset,
                      double yOffset) {
  const double top = rowTop(row) - 7 + yOffset;
  const double left = columnX(column, nPt) + xOffset;
  const double width = columns * columnWidth.value_or(nPt), height = rows * nRowHt;
  oImg = pictures_.get(file);
  if (!oImg) return;  // a picture that does not load draws nothing
  oPs->drawPicture({left, top - height, left + width, top}, oImg);
  oImg.reset();
}

}  // namespace velmont::print
