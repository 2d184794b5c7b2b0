#include "report_heading.h"

#include <algorithm>

#include <QDir>
#include <QImageReader>

#include "letterhead.h"
#include "libs/date_text.h"
#include "print/page_printer.h"
#include "print/preview_document.h"
#include "qtcore/school_text.h"

namespace velmont::reports {

namespace {

QSize pictureSize(const QString& file) {
  QImageReader reader(file);
  const QSize size = reader.size();
  return size.isValid() ? size : QSize();
}

QString withoutTrailingBlanks(const std::string& text) {
  const size_t end = text.find_last_not_of(' ');
  return qtcore::SchoolText::forThisThread().decode(end == std::string::npos ? std::string() : text.substr(0, end + 1));
}

// Before every page but the first: in a stepped preview, show the pages so far and
// take the user's answer; otherwise start the page.
bool startPage(ReportHeadingValues& v, print::lmcPrn3& printer) {
  if (v.ln == 999) return true;
  auto* preview = dynamic_cast<print::PreviewDocument*>(&printer);
  if (v.lPreview && preview && v.nPrev_Choice == 1) {
    v.nPrev_Choice = v.stepWindow ? v.stepWindow(*preview)
                                  : preview->openPwin(print::PwinOptions{.stepping = true, .showFirst = false});
    if (v.nPrev_Choice == 0) {
      if (v.onStop) v.onStop();
      return false;
    }
  }
  printer.newPage();
  return true;
}

void drawLogo(ReportHeadingValues& v, print::lmcPrn3& printer, const QString& logo,
              const std::function<QSize(const QString&)>& sizeOf) {
  if (logo.isEmpty() || v.nPr_logoH <= 0) return;
  const QSize size = sizeOf(logo);
  if (size.isEmpty()) return;
  const double rows = v.nPr_logoH / 4.3;
  const double columns = rows * size.width() / size.height();
  printer.PrImage(1.2, 1, logo, rows, columns, 43);
}

void drawWatermark(print::lmcPrn3& printer, const QString& mark,
                   const std::function<QSize(const QString&)>& sizeOf) {
  const QSize size = sizeOf(mark);
  if (size.isEmpty()) return;
  const print::PaperSize& paper = printer.aSize;
  const double W = size.width(), H = size.height();
  const double printableWidth = paper[4] - paper[2];
  double nWDmm = (printableWidth - 200) / 10;
  double nWDcol = nWDmm / 4;
  double nHTmm = nWDmm * H / W;
  double nHTcol = nWDcol * H / W;
  // A picture taller than it is wide would come out taller than a landscape page:
  // it is scaled down, proportions kept, to the printable height less 20 mm.
  const double printableHeight = paper[5] - paper[3];
  const double tallest = (printableHeight - 200) / 43;  // in rows of 4.3 mm
  if (nHTcol > tallest && tallest > 0) {
    const double k = tallest / nHTcol;
    nWDmm *= k;
    nWDcol *= k;
    nHTmm *= k;
    nHTcol *= k;
  }
  double row = (paper[1] - nHTmm * 10) / 100;
  // Its top stays on the printable area (row 1 at the latest) and its foot above the bottom.
  const double lastTopRow = (printableHeight - printer.nTopMar - nHTcol * 43 - 7) / 43 + 1;
  row = std::max(1.0, std::min(row, lastTopRow));
  const double column = (paper[0] - nWDmm * 10) / 260;
  printer.PrImage(row, column, mark, nHTcol, nWDcol, 43);
}

}  // namespace

QString headingFont(qsizetype length) {
  const char* size = length > 56 ? "10" : length > 36 ? "12" : "14";
  return QString::fromLatin1(size) + ".Times New Roman Bold";
}

bool REP_HD(ReportHeadingValues& v, const QString& heading, print::lmcPrn3& printer, double width,
            bool withLogo) {
  if (!startPage(v, printer)) return false;

  if (v.C_Hd_Ascii == "N" && !v.lPreview) {
    v.ln = -2;
  } else {
    const auto sizeOf = v.imageSize ? v.imageSize : std::function<QSize(const QString&)>(pictureSize);
    std::string w_mark;
    const std::string logo = FIND_LOGO(v.folder, "", w_mark);
    if (withLogo && !printer.lAscii) {
      if (!logo.empty()) drawLogo(v, printer, QString::fromStdString(v.folder.path(logo)), sizeOf);
      if (!w_mark.empty()) drawWatermark(printer, QString::fromStdString(v.folder.path(w_mark)), sizeOf);
    }

    const QTime now = v.timeOfDay.isValid() ? v.timeOfDay : QTime::currentTime();
    printer.setCond("on");
    printer.PrPt(1, width - 15, now.toString("hh:mm:ss"));
    printer.PrPt(1, width - 10, QString::fromStdString(libs::dateText(v.C_date)));

    printer.newFont("14.Times New Roman Bold");
    printer.PrCenter(1.2, withoutTrailingBlanks(v.C_School));
    printer.newFont("10.Times New Roman Bold");
    printer.PrCenter(2.2, withoutTrailingBlanks(v.C_Title));
    printer.newFont(headingFont(heading.size()));
    printer.PrCenter(3.2, heading);

    printer.setCond("on");
    const QString pageNumber = QString("PAGE %1").arg(v.P_No, 3);
    double pageColumn = width - 8;
    // A layout wider than the paper would put the number past its right edge:
    // it then ends at the printable area's edge instead.
    if (!printer.lAscii && printer.printableRight() > 0 && printer.nPt > 0) {
      const double lastColumn =
          (printer.printableRight() - printer.nLeftMar - printer.textWidth(pageNumber)) / printer.nPt + 1;
      pageColumn = std::min(pageColumn, std::max(1.0, lastColumn));
    }
    printer.PrPt(3.2, pageColumn, pageNumber);

    v.ln = 3;
    printer.newFont("10.Times New Roman Bold Italic");
    if (!v.hdl1.empty()) {
      v.ln += 2;
      for (const HeadingColumn& h : v.hdl1) printer.PrPt(v.ln, h.column, h.text);
    }
    if (!v.hdl2.empty()) {
      v.ln += 1;
      for (const HeadingColumn& h : v.hdl2) printer.PrPt(v.ln, h.column, h.text);
    }
    printer.newFont("14.Times New Roman Bold");
    const QString rule(qsizetype(std::max(0.0, width)), QChar('_'));
    printer.PrPt(v.ln + 0.4, 1, rule);
    printer.PrPt(v.ln + 0.5, 1, rule);
    printer.newFont("12.Times New Roman");
  }
  v.ln += 2;
  v.P_No += 1;
  return true;
}

}  // namespace velmont::reports
