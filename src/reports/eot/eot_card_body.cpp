// The body of a card copy: subject rows, co-curricular rows, the rank legend and
// the teachers' comments, continuing on further pages while anything is left.
#include <algorithm>
#include <limits>

#include "data/numeric.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "data/text.h"
#include "eot_card.h"
#include "print/page_printer.h"
#include "qtcore/school_text.h"
#include "reports/common/run_report.h"

namespace velmont::eot {

using data::isBlank;
using data::padTo;
using data::rtrim;
using data::trim;

namespace {

// The school's text as printed: its bytes in the run's code page.
QString q(const std::string& s) { return qtcore::SchoolText::forThisThread().decode(s); }

constexpr int kLastSubjectLine = 24;   // lines 1..24: subject rows
constexpr int kLastPrintedLine = 32;   // 25..32: co-curricular rows; 96..99: role comments only
constexpr int kFirstRoleLine = 96;
constexpr int kSubjectRowsPerPage = 12;
constexpr double kCommentsEndRow = 42;
constexpr double kNameColumn = 3;
constexpr double kMarkColumn = 20;      // the possible mark's column starts here
constexpr double kCommentBoxRight = 108;  // the comment box spans columns 67 to 108
constexpr double kCommentBoxLastRow = 44;  // and rows 17 to 44
// In a text file the box's column lies past everything on the left (the rank
// legend, the title), where every character takes a column.
constexpr double kTextCommentColumn = 82;
const char* const kBodyFont = "10.Times New Roman";

std::string replaceHash(std::string_view text, const std::string& name) {
  std::string out;
  for (char ch : text) {
    if (ch == '#')
      out += name;
    else
      out += ch;
  }
  return out;
}

// The field's number with "@Z" in its own width.
std::string numberField(const data::Table& t, int index) {
  const data::FieldDesc& f = t.field(index);
  return pictureZ(t.num(index), f.type == 'N' ? f.width : 10, f.type == 'N' ? f.decimals : 0);
}

bool headingBlank(const std::array<std::string, 2>& heading) { return isBlank(heading[0] + heading[1]); }

// The last row whose text still lies on the paper's printable area below the top
// margin (0.1 mm); a text file keeps to the paper's rows too, so that its pages
// break where the paper's do.
double lastRowOnPaper(print::lmcPrn3& P, double topMargin) {
  const double rowHt = P.lAscii ? 43 : P.setRowHt(43);  // reading the row height means setting it back
  if (!P.lAscii) P.setRowHt(rowHt);
  const double height = P.aSize[5] - P.aSize[3] - topMargin;
  if (rowHt <= 0 || height <= 0) return std::numeric_limits<double>::infinity();  // no paper known: no limit
  return height / rowHt;
}

}  // namespace

std::string pictureZ(double value, int width, int decimals) {
  if (value == 0) return std::string(size_t(std::max(width, 0)), ' ');
  return data::formatStr(value, width, decimals);
}

std::vector<std::string> memoLines(const std::string& text, size_t width) {
  std::vector<std::string> lines;
  if (width == 0) return lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos + width;
    if (end >= text.size()) {
      lines.push_back(text.substr(pos));
      break;
    }
    // Break at the last blank within the width; a longer word is cut.
    size_t cut = text.rfind(' ', end);
    if (cut == std::string::npos || cut < pos || cut == pos) {
      lines.push_back(text.substr(pos, width));
      pos = end;
    } else {
      lines.push_back(text.substr(pos, cut - pos));
      pos = cut + 1;
    }
  }
  return lines;
}

std::string commentText(EotRunContext& c, const FiledComment& entry) {
  std::string text;
  if (entry.comm > 0) {
    data::Table& bank = *c.comment;
    bank.seek(entry.comm);  // in the width of the comment index's key
    const std::string name = qtcore::SchoolText::forThisThread().properCase(c.name1);
    const bool hit = bank.found() && !bank.eof();
    const std::string line1 = hit ? std::string(bank.str("COMM_LINE1")) : std::string();
    const std::string line2 = hit ? std::string(bank.str("COMM_LINE2")) : std::string();
    text = trim(replaceHash(line1, name)) + " " + trim(replaceHash(line2, name));
  } else {
    data::Table& sub = *c.stsub;
    const uint32_t here = sub.recno();
    sub.goTo(uint32_t(-entry.comm));
    // Each line break of the note becomes one blank: a CR LF pair as much as a
    // lone CR or LF, so that the text reads on without doubled blanks.
    const std::string raw = sub.memo("STSUB_NOTE");
    std::string note;
    note.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\r' || raw[i] == '\n') {
        note += ' ';
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
      } else {
        note += raw[i];
      }
    }
    text = trim(note);
    sub.goTo(here);
  }
  return text + "  " + entry.stff;
}

void EOT_SUB(EotRunContext& c) {
  print::lmcPrn3& P = *c.oP;
  data::Table& sub = *c.stsub;
  data::Table& subj = *c.subjects;
  const int line = int(sub.num("STSUB_LINE"));
  // The relation's search lands on the next subject when the code is missing:
  // such a line shows no subject's name, type or possible mark.
  const bool subjectKnown = subj.found() && !subj.eof();
  const std::string desc = subjectKnown ? std::string(subj.str("SUBJ_DESC")) : std::string();
  if (line <= kLastPrintedLine) {
    const CardHeadings& h = c.hd;
    // A long name would run into the possible mark: it is cut by its measured
    // width, 1 mm before the mark's rule; a text file shows what the paper shows.
    P.PrPt(c.ln, 3, P.paperTextThatFits(q(rtrim(desc)), (kMarkColumn - kNameColumn) * P.nPt - 10, kBodyFont));
    if (subjectKnown && subj.text("SUBJ_TYPE") == "Y") {
      P.PrPt(c.ln, 21, q(numberField(subj, subj.requireField("SUBJ_TTLMK"))));
      static const char* const kMarks[] = {"STSUB_EMRK", "STSUB_EMEN", "STSUB_AMRK", "STSUB_AMEN"};
      static const double kMarkColumns[] = {27, 33, 39, 45};
      for (int i = 0; i < 4; ++i)
        if (!headingBlank(h.hd2[size_t(i)]))
          P.PrPt(c.ln, kMarkColumns[i], q(numberField(sub, sub.requireField(kMarks[i]))));
      if (!headingBlank(h.hd1[0])) P.PrPt(c.ln, 50.5, q(std::string(sub.str("STSUB_HOMW"))));
    }
    static const char* const kRanks[] = {"STSUB_EFFT", "STSUB_CONT", "STSUB_BEHV"};
    static const double kRankColumns[] = {54.5, 58.5, 62.5};
    for (int i = 0; i < 3; ++i)
      if (!headingBlank(h.hd1[size_t(i + 1)])) P.PrPt(c.ln, kRankColumns[i], q(std::string(sub.str(kRanks[i]))));
    c.subln += 1;
    c.ln += 1;
  }
  const double commNo = sub.num("STSUB_COMM");
  const std::string note = sub.memo("STSUB_NOTE");
  if (commNo != 0 || !trim(note).empty()) {
    FiledComment entry;
    if (line <= kLastPrintedLine)
      entry.subc = padTo(desc, 20);
    else if (line >= kFirstRoleLine && line < kFirstRoleLine + 4)
      entry.subc = c.hd.hd3[size_t(line - kFirstRoleLine)][0];
    else
      entry.subc = std::string(20, ' ');  // a line outside 1-32 and 96-99 has no label
    entry.comm = !trim(note).empty() ? -double(sub.recno()) : commNo;
    const std::string code = std::string(sub.str("STSUB_TCHR"));
    data::Table& staff = *c.staff;
    staff.seekWhole(code);
    entry.stff = staff.found() && !staff.eof() ? rtrim(staff.str("STAFF_NAME")) : rtrim(code);
    c.comments.push_back(std::move(entry));
  }
}

void EOT_MAINRPT(EotRunContext& c) {
  if (c.stopped) return;
  print::lmcPrn3& P = *c.oP;
  data::Table& sub = *c.stsub;
  c.prblnk_lns = true;
  sub.seek(school::SubjectKey(sub)(c.nStu_num, c.session.term, 1));
  auto belongs = [&] {
    return !sub.eof() && sub.num("STSUB_NUMB") == c.nStu_num && int(sub.num("STSUB_TERM")) == c.session.term;
  };
  auto lineNo = [&] { return int(sub.num("STSUB_LINE")); };
  c.comments.clear();
  c.nxtcomm = 0;
  c.pr_cocurr_hd = false;
  bool mor_sub = true;
  while (mor_sub && !c.stopped) {
    bool mark_thispg = false;
    c.Hd_prtd = false;
    c.subln = 1;
    while (belongs() && lineNo() <= kLastSubjectLine && c.subln <= kSubjectRowsPerPage) {
      EOT_SUB(c);
      mark_thispg = true;
      sub.skip();
    }
    while (c.subln < 16) {
      c.subln += 1;
      if (c.prblnk_lns) c.ln += 1;
    }
    if (c.prblnk_lns) {
      P.PrBox(c.ln - 1, 53, 8, 4);
      P.PrBox(c.ln - 1, 57, 8, 4);
      P.PrBox(c.ln - 1, 61, 8, 4);
    }
    c.subln = 0;
    while (belongs() && lineNo() > kLastSubjectLine && c.subln < 7) {
      // The heading labels the co-curricular area once per card copy, above its
      // first row; a copy with role comments only still gets it.
      if (!c.pr_cocurr_hd) {
        P.setBold("on");
        P.PrPt(c.ln - 1, 3, QStringLiteral("Co-Curricular subjects"));
        P.setBold("off");
        c.pr_cocurr_hd = true;
      }
      EOT_SUB(c);
      mark_thispg = true;
      sub.skip();
    }
    while (c.subln < 7) {
      c.subln += 1;
      if (c.prblnk_lns) c.ln += 1;
    }
    if (c.prblnk_lns) {
      P.PrPt(c.ln, 3, q(c.hd.hd4));
      c.ln += 1;
    }
    // Comments: in the right-hand box beside the grid, or across the page.
    double ln2 = 17, col2 = 3;
    size_t width = 180;
    if (mark_thispg) {
      col2 = 68;
      width = 70;
      P.PrBox(17, 67, 28, 41);
      P.setBold("on");
      P.PrPt(17, P.lAscii ? kTextCommentColumn : 68, QStringLiteral("Teacher's comments:"));
      P.setBold("off");
      ln2 = 18;
    }
    // A comment whose lines would run below the comment box or off the paper waits
    // for the next page rather than being cut off; the first comment of a page
    // always prints, so the card moves on.
    const double paperLast = lastRowOnPaper(P, c.topMargin);
    const double lastRow = mark_thispg ? std::min(paperLast, kCommentBoxLastRow) : paperLast;
    // Lines of at most 70 or 180 characters, and no wider than the box (or the
    // page) holds, measured in the font they print in on paper.
    const double left = (col2 - 1) * P.nPt;
    const double right = mark_thispg ? (kCommentBoxRight - 1) * P.nPt : P.aSize[4] - P.aSize[2] - reports::kRunLeftMargin;
    // A text file follows the paper's rows for its page breaks, but has whole rows
    // only: a label takes a row of its own where the paper gives it 0.8, and the
    // lines below it move down by what that adds.
    const double textColumn = P.lAscii && mark_thispg ? kTextCommentColumn : col2;
    double textDrift = 0;
    bool printedHere = false;
    while (c.nxtcomm < c.comments.size() && ln2 < kCommentsEndRow) {
      const FiledComment& entry = c.comments[c.nxtcomm];
      const QStringList lines = P.paperWrapToWidth(q(commentText(c, entry)), right - left - 10, qsizetype(width), kBodyFont);
      qsizetype shown = 1;
      while (shown < lines.size() && !lines[shown].trimmed().isEmpty()) ++shown;
      if (printedHere && ln2 + 0.8 + double(shown - 1) > lastRow) break;
      printedHere = true;
      P.setBold("on");
      P.PrPt(ln2 + textDrift, textColumn, q(entry.subc));
      P.setBold("off");
      ln2 += 0.8;
      if (P.lAscii) textDrift += 0.2;
      P.PrPt(ln2 + textDrift, textColumn, lines.value(0));
      ln2 += 1;
      for (qsizetype i = 1; i < shown; ++i) {
        P.PrPt(ln2 + textDrift, textColumn, lines[i]);
        ln2 += 1;
      }
      c.nxtcomm += 1;
    }
    if (c.nxtcomm >= c.comments.size() && !belongs()) {
      mor_sub = false;
    } else {
      c.prblnk_lns = belongs();
      c.Hd_prtd = false;
      EOT_R_HD(c);  // the continuation page
    }
  }
}

}  // namespace velmont::eot
