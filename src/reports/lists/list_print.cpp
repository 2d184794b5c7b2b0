#include "list_print.h"

#include <algorithm>
#include <cmath>

#include "data/text.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "libs/date_text.h"
#include "list_grid.h"
#include "list_layout.h"
#include "print/page_printer.h"
#include "qtcore/school_text.h"

namespace velmont::lists {

namespace {

// The school's text as printed: its bytes in the run's code page.
QString q(const std::string& s) { return qtcore::SchoolText::forThisThread().decode(s); }

GridLayout layoutOf(const ListRunContext& ctx) {
  return GridLayout(int(ctx.subj_hdg.size()), ctx.box_sz, ctx.oP && ctx.oP->lAscii);
}

// The page heading through REP_HD, with the run's values going in and out.
bool pageHeading(ListRunContext& ctx, double width) {
  reports::ReportHeadingValues v;
  v.ln = ctx.ln;
  v.P_No = ctx.P_No;
  v.lPreview = ctx.lPreview;
  v.nPrev_Choice = ctx.nPrev_Choice;
  v.C_Hd_Ascii = ctx.C_Hd_Ascii;
  v.nPr_logoH = ctx.nPr_logoH;
  v.C_School = ctx.C_School;
  v.C_Title = ctx.C_Title;
  v.C_date = ctx.C_Date;
  v.hdl1 = ctx.hdl1;
  v.hdl2 = ctx.hdl2;
  v.folder = ctx.folder;
  v.timeOfDay = ctx.timeOfDay;
  v.stepWindow = ctx.stepWindow;
  const bool shown = reports::REP_HD(v, q(ctx.Rept_Head), *ctx.oP, width);
  ctx.ln = v.ln;
  ctx.P_No = v.P_No;
  ctx.nPrev_Choice = v.nPrev_Choice;
  return shown;
}

// Draws a figure of a grid box: where the layout puts it (`number`: right-aligned as
// PrPtNum does it, else written from `column` on) when it lies inside the box, 0.3 mm
// clear of either rule; else moved inside it, ending at most 0.3 mm before the right
// rule, and in a smaller size of the current font when it is wider than the box (a
// total of four figures in a box of three columns, "100" in a narrow one).
void boxFigure(print::lmcPrn3& p, double row, double column, const QString& text, double boxLeft,
               double boxColumns, bool number) {
  auto draw = [&] { number ? p.PrPtNum(row, column, text) : p.PrPt(row, column, text); };
  const QString figures = text.trimmed();
  if (p.lAscii || figures.isEmpty()) return draw();
  constexpr double kClear = 3;  // 0.3 mm
  // Positions in 0.1 mm from column 1.
  const double inside = (boxLeft - 1) * p.nPt + kClear, insideEnd = (boxLeft + boxColumns - 1) * p.nPt - kClear;
  const double at = (column - 1) * p.nPt;
  const double width = p.textWidth(figures);
  const double end = number ? at + p.textWidth(QString(text.size(), '0'))
                            : at + p.textWidth(text.left(text.indexOf(figures))) + width;
  if (end - width >= inside && end <= insideEnd) return draw();
  const QString previous = p.oFont.descriptor();
  double drawn = width;
  if (width > insideEnd - inside && insideEnd > inside) {
    print::PrintFont smaller = p.oFont;
    smaller.pointSize = std::max(4.0, std::floor(p.oFont.pointSize * (insideEnd - inside) / width));
    p.newFont(smaller.descriptor());
    drawn = p.textWidth(figures);
  }
  const double placedEnd = std::min(insideEnd, std::max(end, inside + drawn));
  p.PrPtRjust(row, 1 + placedEnd / p.nPt, figures);
  if (p.oFont.descriptor() != previous) p.newFont(previous);
}

}  // namespace

std::string listHeading(const ListRunContext& ctx, const std::string& yearCode) {
  std::string head = ctx.Rept_Head + " for GRADE " + yearCode;
  if (!data::isBlank(ctx.home_cl)) head += "  " + ctx.cHomeCl + ": " + ctx.home_cl;
  head += "  Term " + std::to_string(ctx.C_Term % 10);
  if (ctx.enrl_date != ctx.C_Date) head += " - Enrolled as at " + libs::dateText(ctx.enrl_date);
  return head;
}

bool PRNT_HCLSUB(ListRunContext& ctx, const std::string& reportCode, const ListChoices& choices) {
  print::lmcPrn3& p = *ctx.oP;
  ctx.Rept_Head = listHeading(ctx, school::put_yrout(*ctx.ws, ctx.folder, ctx.strt_yr));
  ctx.ln = 999;  // the first student starts a page
  ctx.P_No = 1;
  if (reportCode.size() >= 9 && reportCode.substr(6, 3) == "001") {
    ctx.hdl1.clear();
    ctx.hdl2.clear();
  }
  if (ctx.field_a.empty()) {
    if (ctx.message) ctx.message({kNoStudents});
    return false;
  }
  const std::string homeClass = data::trim(ctx.home_cl);
  int running = 0;
  for (size_t k = 0; k < ctx.field_a.size(); ++k) {
    const StudentEntry& s = ctx.field_a[k];
    if (!homeClass.empty() && data::trim(s[kEntryClass]) != homeClass) continue;
    if (ctx.stopAsked && ctx.stopAsked()) return true;  // stopped by the user: the run sends nothing
    // A stop answered in a stepped preview ends the list here: nothing more is drawn.
    if (ctx.ln > kLastRow && !PR_S_HDGS(ctx, choices)) return true;
    ++running;
    p.PrPtNum(ctx.ln, 1, QString("%1. ").arg(running, 2));
    p.PrBox(ctx.ln, 1, 1, 32);
    const GridLayout layout = layoutOf(ctx);
    // The name ends 1 mm before the birth date, or before the frame or grid.
    const double nameEnd = choices.birthDates ? layout.birthColumn() : std::min(33.0, layout.left(1));
    p.PrPt(ctx.ln, 5, p.lAscii ? q(s[kEntryName]) : p.elidedToWidth(q(s[kEntryName]), (nameEnd - 5) * p.nPt - 10));
    if (choices.birthDates) {
      if (layout.wide) p.newFont("6.Times New Roman");
      p.PrPt(ctx.ln, layout.birthColumn(), q(libs::dateText(data::Date::fromDtos(s[kEntryBirth]))));
    }
    PROM_S_MK(ctx, k, choices.marks);
    ctx.ln += 1;
    if (ctx.printedOne) ctx.printedOne(data::trim(s[kEntryName]));
  }
  FIN_S_TAIL(ctx);
  return true;
}

bool PR_S_HDGS(ListRunContext& ctx, const ListChoices& choices) {
  print::lmcPrn3& p = *ctx.oP;
  // A vertical heading shows a subject name's first 12 letters: the whole name of a
  // long one would leave no room on the page for students.
  size_t h = 0;
  for (std::string& hdg : ctx.subj_hdg) {
    if (hdg.size() > kHeadingLetters) hdg.erase(data::rtrim(hdg.substr(0, kHeadingLetters)).size());
    h = std::max(h, hdg.size());
  }
  for (std::string& hdg : ctx.subj_hdg) hdg.insert(0, h - hdg.size(), ' ');
  const int n = int(ctx.subj_hdg.size());
  if (n > kWideAbove && !p.lAscii) ctx.box_sz = 2;  // plain text keeps a line long enough instead
  const GridLayout layout = layoutOf(ctx);

  if (!pageHeading(ctx, layout.letterheadWidth())) return false;  // stopped in the preview

  if (choices.shading) {
    // Past 15 columns the bands stop at the grid's right edge (and the paper's),
    // where the layout's width would run them off a landscape page.
    double band = layout.shadingWidth();
    if (n > kLandscapeAbove) {
      const double paperColumns = (p.aSize[4] - p.aSize[2] - p.nLeftMar) / p.nPt + 1;
      band = std::min({band, layout.left(n) + layout.box - 1.2, paperColumns - 1.2});
    }
    for (double r = 5; r <= 64; r += 1.89) p.PrBox(r, 1.2, 1, band, "fill", 245);
  }
  if (layout.wide) p.newFont("8.Times New Roman");
  if (choices.marks) {
    p.setItal("on");
    p.PrCenter(ctx.ln, "(Marks shown as %)");
    p.setItal("off");
    ctx.ln += 1;
  }
  ctx.ln += 1;

  for (int i = 1; i <= n; ++i) p.PrBox(ctx.ln, layout.left(i), double(h), layout.box);
  for (size_t pos = 0; pos < h; ++pos) {
    for (int j = 1; j <= n; ++j) p.PrPt(ctx.ln, layout.letter(j), q(ctx.subj_hdg[size_t(j - 1)].substr(pos, 1)));
    ctx.ln += 1;
  }

  // Maximum marks: the subject's total marks (100 when it has none, the scale its
  // percentages are taken on), and 100 for the summary columns.
  const int subjects = n - ctx.col_extras;
  for (int i = 1; i <= n; ++i) p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
  p.PrPt(ctx.ln, layout.labelColumn(), "MAXIMUM MARKS");
  if (layout.wide) p.newFont("5.Times New Roman");
  for (int i = 1; i <= n; ++i) {
    const double max = i <= subjects && ctx.subj_max[size_t(i - 1)] != 0 ? ctx.subj_max[size_t(i - 1)] : 100;
    boxFigure(p, ctx.ln, layout.left(i), QString("%1").arg(roundHalfUp(max), 3), layout.left(i), layout.box, false);
  }
  ctx.ln += 1;

  for (int i = 1; i <= n; ++i) p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
  if (choices.marks) {
    if (layout.wide) p.newFont("9.Times New Roman");
    p.setItal("on");
    p.PrPt(ctx.ln, layout.labelColumn(), "GRADE AVERAGE ");
    p.setItal("off");
    if (layout.wide) p.newFont("6.Times New Roman");
    for (int i = 1; i <= n; ++i) {
      const double max = ctx.subj_max[size_t(i - 1)];
      const int pct = max == 0 ? 0 : roundHalfUp(ctx.subj_gavg[size_t(i - 1)] * 100 / max);
      boxFigure(p, ctx.ln, layout.number(i), q(pictureZ3(pct)), layout.left(i), layout.box, true);
    }
  }
  ctx.ln += 1;

  p.setItal("on");
  p.PrBox(ctx.ln, 1, 1, layout.nameFrame());
  for (int i = 1; i <= n; ++i) p.PrBox(ctx.ln, layout.left(i), 1, layout.box, "outlinefill", 245);
  p.PrPt(ctx.ln, 5, "NAME:");
  if (choices.birthDates) p.PrPt(ctx.ln, layout.birthHeadingColumn(), "Date of Birth");
  ctx.ln += 1;
  p.setItal("off");
  if (layout.wide) p.newFont("9.Times New Roman");
  return true;
}

void PROM_S_MK(ListRunContext& ctx, size_t k, bool marks) {
  print::lmcPrn3& p = *ctx.oP;
  const GridLayout layout = layoutOf(ctx);
  const int n = int(ctx.subj_cod.size());
  const int subjects = n - ctx.col_extras;
  const StudentEntry& s = ctx.field_a[k];
  const std::vector<SubjectMark> taken =
      termMarks(*ctx.ws->find("STSUB"), std::stod(s[kEntryNumber]), ctx.C_Term, ctx.seeks);
  int count = 0;
  double sum = 0, total = 0;
  for (int i = 1; i <= subjects; ++i) {
    const size_t c = size_t(i - 1);
    std::string tgd = "   ";
    for (const SubjectMark& m : taken) {
      if (m.code != ctx.subj_cod[c]) continue;
      ++ctx.num_stud[c];
      if (!marks) {
        tgd = " * ";
        continue;
      }
      const double max = ctx.subj_max[c] == 0 ? 100 : ctx.subj_max[c];
      const int pct = roundHalfUp(combinedMark(ctx.C_assex, m.assessment, m.exam) * 100 / max);
      tgd = pictureZ3(pct);
      if (data::isBlank(tgd)) tgd = ctx.subj_curic[c] == "Y" ? "  0" : " * ";
      const double value = std::atof(tgd.c_str());
      if (value > 0) ++count;
      sum += value;
      total += value;
    }
    boxFigure(p, ctx.ln, layout.number(i), q(tgd), layout.left(i), layout.box, true);
    p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
  }
  if (subjects + 1 <= n) {
    const int i = subjects + 1;
    boxFigure(p, ctx.ln, layout.number(i), q(pictureZ3(count == 0 ? 0 : sum / count)), layout.left(i), layout.box, true);
    p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
  }
  if (layout.wide) p.newFont("10.Times New Roman");
  if (subjects + 2 <= n) {
    const int i = subjects + 2;
    boxFigure(p, ctx.ln, layout.number(i), q(pictureZ4(total)), layout.left(i), layout.box, true);
    p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
  }
  p.newFont(layout.wide ? "9.Times New Roman" : "12.Times New Roman");
}

void FIN_S_TAIL(ListRunContext& ctx) {
  print::lmcPrn3& p = *ctx.oP;
  const GridLayout layout = layoutOf(ctx);
  p.PrPt(ctx.ln, 15, " No. Students ");
  for (int i = 1; i <= layout.columns; ++i) {
    p.PrBox(ctx.ln, layout.left(i), 1, layout.box);
    boxFigure(p, ctx.ln, layout.left(i), q(pictureZ3(ctx.num_stud[size_t(i - 1)])), layout.left(i), layout.box, true);
  }
}

}  // namespace velmont::lists
