#pragma once
// REP_HD: the page heading of the student list. Starts the page (or, in a preview
// that is being stepped through, first shows the pages so far), then prints the
// time and date, the school's name, the report title, the heading, the page number,
// the column-heading lines, a heavy double rule, and optionally the logo and a
// watermark picture.
#include <QSize>
#include <QString>
#include <QTime>
#include <functional>
#include <string>
#include <vector>

#include "data/date.h"
#include "school/school_folder.h"

namespace velmont::print {
class lmcPrn3;
class PreviewDocument;
}  // namespace velmont::print

namespace velmont::reports {

// One text of a column-heading line under the letterhead, at its column.
struct HeadingColumn {
  double column = 0;
  QString text;
};

// The run's values that the heading reads and changes.
struct ReportHeadingValues {
  double ln = 999;            // current row; 999 marks the run's first page
  int P_No = 1;               // page number printed, then advanced
  bool lPreview = false;      // the run draws into a preview printer
  int nPrev_Choice = 1;       // 1: show the preview window before each new page
  std::string C_Hd_Ascii = "Y";  // "N": no headings on printed pages
  double nPr_logoH = 0;       // logo height in mm; 0 prints no logo
  std::string C_School;
  std::string C_Title;
  data::Date C_date;
  std::vector<HeadingColumn> hdl1, hdl2;  // column-heading lines, may be empty
  school::SchoolFolder folder;  // where the letterhead table and pictures are
  // The time printed at the top right; the current time when not set.
  QTime timeOfDay;
  // Reads a picture's size in pixels (an empty size when it cannot be read);
  // the picture file's own header when not set.
  std::function<QSize(const QString& file)> imageSize;
  // Called when the user stops the preview at the window shown before a new page.
  std::function<void()> onStop;
  // Shows the stepping preview window and returns its answer; the preview's own
  // openPwin when not set (a run's user interface may show it its own way).
  std::function<int(print::PreviewDocument& preview)> stepWindow;
};

// The heading font for a heading of that length: longer than 56 characters
// "10.Times New Roman Bold", longer than 36 "12.", else "14.".
QString headingFont(qsizetype length);

// Prints the heading of a new page on `printer` in `width` columns; `withLogo`
// allows the logo and the watermark. Returns false, with no new page started,
// when the user answered the preview window with stop; true otherwise.
bool REP_HD(ReportHeadingValues& values, const QString& heading, print::lmcPrn3& printer,
            double width = 78, bool withLogo = true);

}  // namespace velmont::reports
