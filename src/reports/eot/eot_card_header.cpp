// The top of every card page: letterhead, window-envelope address block with its
// corner marks, the student line, and the results table's heading and empty grid.
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "data/numeric.h"
#include "data/text.h"
#include "school/year_names.h"
#include "eot_card.h"
#include "print/page_printer.h"
#include "qtcore/school_text.h"
#include "print/preview_document.h"
#include "reports/common/run_report.h"

namespace velmont::eot {

using data::isBlank;
using data::trim;

const char16_t kHoriz = u'\u2500';

namespace {

// The school's text as printed: its bytes in the run's code page.
QString q(const std::string& s) { return qtcore::SchoolText::forThisThread().decode(s); }

const char* const kBodyFont = "10.Times New Roman";
const char* const kTitleFont = "20.Times New Roman Bold";
constexpr double kLetterheadLastRow = 7;
constexpr double kCardRowHeight = 43;  // the letterhead ends above row 8

// The numbered text of the letterhead description (positions from 1), or "".
std::string lhd(const std::vector<std::string>& a, size_t position) {
  return position >= 1 && position <= a.size() ? a[position - 1] : std::string();
}
double lhdNum(const std::vector<std::string>& a, size_t position) { return data::parseNumeric(lhd(a, position)); }

// Transform(n, " #"): the number right-aligned in the picture's width.
QString pictureHash(int n, int width) { return QString::number(n).rightJustified(width, ' '); }

constexpr double kNameColumn = 13;
constexpr double kTermColumn = 54;

// The student line's name and year level, placed so that neither prints over the
// other or over the term: the year level keeps its column while the name ends before
// it, else follows the name, at most as far right as the term allows; a name too
// long even then is printed smaller, and only a name too long at 7 points is cut
// (with an ellipsis) by its measured width.
struct StudentLine {
  QString name, yearWord, yearText;
  double yearColumn;
  double yearOffset = 5.5;  // the year text's column after the year word's
  QString nameFont = kBodyFont;
  double termColumn = kTermColumn;
};

void fitStudentLine(print::lmcPrn3& P, StudentLine& line) {
  constexpr double kGap = 1;  // columns between the parts
  auto columns = [&](const QString& text) { return P.textWidth(text) / P.nPt; };
  line.yearOffset = std::max(line.yearOffset, columns(line.yearWord) + 0.5);
  const double yearWidth = line.yearOffset + columns(line.yearText);
  if (P.lAscii) {
    // A text line has no edge: the year level and the term follow a long name.
    line.yearColumn = std::max(line.yearColumn, kNameColumn + columns(line.name) + kGap);
    line.termColumn = std::max(kTermColumn, line.yearColumn + yearWidth + kGap);
    return;
  }
  const double lastYearColumn = kTermColumn - kGap - yearWidth;
  double nameRoom = std::max(0.0, lastYearColumn - kGap - kNameColumn);
  for (const char* font : {"9.Times New Roman", "8.Times New Roman", "7.Times New Roman"}) {
    if (columns(line.name) <= nameRoom) break;
    line.nameFont = font;
    P.newFont(font);
  }
  line.name = P.elidedToWidth(line.name, nameRoom * P.nPt);
  line.yearColumn = std::min(std::max(line.yearColumn, kNameColumn + columns(line.name) + kGap), lastYearColumn);
  P.newFont(kBodyFont);
}

// Two-sided printing was asked for (auto, long or short edge), on paper or as a
// PDF made ready for it.
bool printsBothSides(const print::lmcPrn3& P) { return !P.lAscii && P.jobSettings().duplex.value_or(0) > 0; }

}  // namespace

void pr_lhead_now(print::lmcPrn3& P, const std::vector<std::string>& aLhd, const school::SchoolFolder& folder,
                  double logoHeight) {
  if (aLhd.size() < 22) return;
  // Reading a setting means setting it back to what it was.
  const double rowHt = P.setRowHt(kCardRowHeight);
  P.setRowHt(rowHt);
  const double pitch = P.nPt;
  const double leftMar = P.nLeftMar;
  // Positions are 0.1 mm from the printable area's top-left corner; rows and
  // columns count from the margins, so convert and keep every line above row 8.
  auto columnOf = [&](double x) { return 1 + (x - leftMar) / pitch; };
  for (int line = 0; line < 3; ++line) {
    const size_t base = 5 + size_t(line) * 6;
    const std::string text = trim(lhd(aLhd, base + 5));
    if (text.empty()) continue;
    const double x = lhdNum(aLhd, base), y = lhdNum(aLhd, base + 1);
    int size = int(lhdNum(aLhd, base + 2));
    if (size <= 0) size = 10;
    const bool bold = trim(lhd(aLhd, base + 3)) == "Y", underline = trim(lhd(aLhd, base + 4)) == "Y";
    P.newFont(QString::number(size) + ".Times New Roman" + (bold ? " Bold" : "") + (underline ? " Underscore" : ""));
    const double row = std::min(y / rowHt, kLetterheadLastRow);
    if (P.lAscii)  // centred on x in whole characters, on a line of its own
      P.PrPt(std::round(row), std::max(1.0, std::round(columnOf(x) - q(text).size() / 2.0)), q(text));
    else
      P.PrPtColCtr(row, columnOf(x - 1000), columnOf(x + 1000), q(text));  // centred on x
  }
  P.newFont(kBodyFont);
  if (P.lAscii) return;  // the logo is a picture
  if (logoHeight < 0) return;  // -1: no logo
  // The file name is the school's text: decoded before the file is looked up.
  const std::string logoName = q(trim(lhd(aLhd, 1))).toStdString();
  std::string file = logoName.empty() ? std::string() : folder.file(logoName);
  if (file.empty()) file = folder.file("school.gif");
  if (file.empty()) return;
  const QSize pixels = QImageReader(QString::fromStdString(file)).size();
  if (pixels.isEmpty()) return;  // a picture whose size cannot be read is not drawn
  const double x = lhdNum(aLhd, 2), y = lhdNum(aLhd, 3);
  double width = lhdNum(aLhd, 4);
  if (width <= 0) width = 250;
  double height = width * pixels.height() / pixels.width();
  if (logoHeight > 0) {
    height = logoHeight * 10;
    width = height * pixels.width() / pixels.height();
  }
  const double room = kLetterheadLastRow * rowHt - y;  // down to the top of row 8
  if (room <= 0) return;
  if (height > room) {
    width *= room / height;
    height = room;
  }
  P.PrImage(y / rowHt, columnOf(x), QString::fromStdString(file), height / rowHt, width / pitch, pitch);
}

void EOT_R_HD(EotRunContext& c) {
  print::lmcPrn3& P = *c.oP;
  if (c.stopped) return;
  if (!c.Hd_prtd) {
    if (!c.Frst_Time) {
      if (c.lPreview && c.oPrv && c.nPrev_Choice == 1) {
        c.nPrev_Choice = c.ui->previewWindow(*c.oPrv, true);
        if (c.nPrev_Choice == 0) {
          c.stopped = true;  // nothing more is drawn; the run finishes its document
          return;
        }
      }
      P.newPage();
      // On both sides of the paper every card copy starts on the front of a sheet:
      // a copy that ended on a front gets a blank back, so that no sheet carries two
      // students or two families.
      if (c.pg_no == 1 && printsBothSides(P) && P.nPage % 2 == 0) P.newPage();
    } else {
      c.Frst_Time = false;
    }
    c.Hd_prtd = true;
    if (c.C_Prt_Lhd == "N") pr_lhead_now(P, c.aLhd, c.session.folder, c.logoHeight);
    P.newFont(kBodyFont);
  }
  c.ln = 8;
  // Upper corner marks of the envelope window.
  c.ln = 9;
  P.PrHbar(9, 10, 6);
  P.PrHbar(9, 34, 6);
  P.PrVbar(9, 10, 1);
  P.PrVbar(9, 40, 1);
  P.PrVbar(10, 10, 1);
  P.PrVbar(10, 40, 1);
  c.ln = 10;
  // The address; the postcode follows the last line that is not empty.
  const bool extra = !trim(c.pa_ext).empty();
  P.PrPt(c.ln, 15, q(c.pa_ti));
  P.PrPt(c.ln + 1, 15, q(c.pa_st));
  P.PrPt(c.ln + 2, 15, q(trim(c.pa_tn) + "  " + (extra ? std::string() : c.pa_pc)));
  P.PrPt(c.ln + 3, 15, q(trim(c.pa_ext) + "  " + (extra ? c.pa_pc : std::string())));
  c.ln += 3;
  // Lower corner marks.
  P.PrVbar(c.ln, 10, 1);
  P.PrVbar(c.ln, 40, 1);
  P.PrVbar(c.ln + 1, 10, 1);
  P.PrVbar(c.ln + 1, 40, 1);
  P.PrHbar(c.ln + 2, 10, 6);
  P.PrHbar(c.ln + 2, 34, 6);
  c.ln += 1;
  EOT_HD1(c);
}

void EOT_HD1_TOP(EotRunContext& c) {
  print::lmcPrn3& P = *c.oP;
  if (c.pg_no != 1) {
    P.PrPt(c.ln, 67, q(c.words.page_hd) + pictureHash(c.pg_no, 2));
  } else {
    c.ln += 1;
  }
  c.pg_no += 1;
  c.ln += 1;
  P.PrPt(c.ln, 1, QString(QChar(kHoriz)));
  c.ln += 1;
  c.name1 = c.cStu_nam1;
  P.PrBox(c.ln, 1, 1, 64);
  P.PrPt(c.ln, 3, q(c.words.rptof_hd));
  // The year level: its name when the school names it, else its code.
  const int n = c.nStu_Yr - (c.reduc_yr == "Y" ? 1 : 0);
  const auto& names = c.session.yearNames.names;
  std::string yearText = school::put_yrout(*c.ws, c.session.folder, n);
  double column = 51.5;
  if (n >= 1 && n <= int(names.size()) && !isBlank(names[size_t(n - 1)])) {
    yearText = ": " + school::printedYearName(names[size_t(n - 1)]);
    column = 34;
  }
  StudentLine line{q(c.name1 + " " + trim(c.cStu_nam2)), q(c.words.year_hd), q(yearText), column - 5.5};
  fitStudentLine(P, line);
  if (line.nameFont != kBodyFont) P.newFont(line.nameFont);
  P.PrPt(c.ln, kNameColumn, line.name);
  if (line.nameFont != kBodyFont) P.newFont(kBodyFont);
  P.PrPt(c.ln, line.yearColumn, line.yearWord);
  P.PrPt(c.ln, line.yearColumn + line.yearOffset, line.yearText);
  P.PrPt(c.ln, line.termColumn, q(c.words.term_hd) + pictureHash(c.session.term, 2) + "  " + pictureHash(c.session.year, 4));
  c.ln += 1;
}

void EOT_HD1(EotRunContext& c) {
  EOT_HD1_TOP(c);
  if (!(c.mrks_rpt && c.prblnk_lns)) return;
  print::lmcPrn3& P = *c.oP;
  const CardHeadings& h = c.hd;
  const double r = c.ln;
  P.PrBox(r, 1, 3, 19);
  P.PrBox(r, 20, 1, 17);
  P.PrBox(r, 37, 1, 28);
  P.PrPt(r, 21, q(h.hd0[0]));
  P.PrPt(r, 40, q(h.hd0[1]));
  c.ln += 1;
  static const double kCellColumns[] = {20, 25, 31, 37, 43, 49, 53, 57, 61};
  static const double kCellWidths[] = {5, 6, 6, 6, 6, 4, 4, 4, 4};
  for (int i = 0; i < 9; ++i) P.PrBox(r + 1, kCellColumns[i], 2, kCellWidths[i]);
  // The possible-mark heading stays blank when the first two exam headings are.
  const bool possBlank = h.hd2[0][0].substr(0, 3) == "   " && h.hd2[1][0].substr(0, 3) == "   ";
  P.PrPt(r + 1, 3, q(c.words.subj_hd));
  P.PrPt(r + 1, 21, possBlank ? QStringLiteral(" ") : q(c.words.poss_hd));
  static const double kMarkColumns[] = {26, 32, 38, 44};
  static const double kRankColumns[] = {50, 54, 58, 62};
  for (int i = 0; i < 4; ++i) P.PrPt(r + 1, kMarkColumns[i], q(h.hd2[size_t(i)][0]));
  for (int i = 0; i < 4; ++i) P.PrPt(r + 1, kRankColumns[i], q(h.hd1[size_t(i)][0]));
  c.ln += 1;
  P.PrPt(r + 2, 21, possBlank ? QStringLiteral(" ") : q(c.words.totl_hd));
  for (int i = 0; i < 4; ++i) P.PrPt(r + 2, kMarkColumns[i], q(h.hd2[size_t(i)][1]));
  for (int i = 0; i < 4; ++i) P.PrPt(r + 2, kRankColumns[i], q(h.hd1[size_t(i)][1]));
  c.ln += 1;
  for (int i = 0; i < 9; ++i) P.PrBox(r + 3, kCellColumns[i], 15, kCellWidths[i]);
  P.PrBox(r + 3, 1, 24, 64);
  c.ln += 1;
  P.newFont(kTitleFont);
  P.PrPt(12, 62, QStringLiteral("End of Term Report"));
  P.newFont(kBodyFont);
}

}  // namespace velmont::eot
