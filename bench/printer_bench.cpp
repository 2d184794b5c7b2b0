// Card pages per second through the page printer, against drawing the same page directly
// with QPainter on QPdfWriter (the floor of what Qt can do) and with ReportLab.
// Usage: printer_bench [--pages N]      (default 1000)
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "bench_util.h"
#include "print/memory_device.h"
#include "print/page_printer.h"

using namespace velmont::print;
using velmont::bench::figure;

namespace {

// One card page as content: about 150 texts in four fonts, 40 boxes, 10 bars, one logo.
struct CardText { double row, column; QString text; int font; bool figure; };
struct CardBox { double row, column, rows, columns; bool grey; };
struct CardBar { double row, column, length; bool vertical; };
struct Card {
  QStringList fonts{"14.Times New Roman Bold", "10.Arial", "9.Arial Bold", "10.Courier New"};
  std::vector<CardText> texts;
  std::vector<CardBox> boxes;
  std::vector<CardBar> bars;
  QString logo;
};

Card makeCard(const QString& logo) {
  Card card;
  card.logo = logo;
  card.texts.push_back({1, 30, "Velmont College of the Southern Districts", 0, false});
  card.texts.push_back({2, 30, "End of Term Report  Term 2  2004", 0, false});
  card.texts.push_back({4, 1, "Jonathan Alexander Whitfield-Barnes   Year 9   Class 9B", 0, false});
  const char* headings[] = {"Subject", "Possible", "Exam", "Average", "Assessment",
                            "Average", "Homework", "Effort", "Contrib", "Behaviour"};
  for (int c = 0; c < 10; ++c) card.texts.push_back({6, 1.0 + c * 13, headings[c], 2, false});
  const char* subjects[] = {"English", "Mathematics", "Science", "History", "Geography",
                            "French", "Music", "Art", "Physical Education", "Drama",
                            "Technology", "Religious Education"};
  for (int s = 0; s < 12; ++s) {
    const double row = 7 + s;
    card.texts.push_back({row, 1, subjects[s], 1, false});
    for (int c = 1; c < 10; ++c) {
      const int value = (s * 37 + c * 11) % 100;
      card.texts.push_back({row, 1.0 + c * 13 + 5, QString::number(value).rightJustified(3, ' '),
                            c < 6 ? 3 : 1, c < 6});
    }
  }
  for (int line = 0; line < 17; ++line)
    card.texts.push_back({20.0 + line, 1,
                          QString("Comment line %1: works steadily and takes part in class "
                                  "discussion with thought and care.").arg(line + 1),
                          1, false});
  for (int b = 0; b < 12; ++b) card.boxes.push_back({7.0 + b, 1, 1, 130, b % 2 == 0});
  for (int b = 0; b < 10; ++b) card.boxes.push_back({6, 1.0 + b * 13, 1, 13, true});
  for (int b = 0; b < 18; ++b) card.boxes.push_back({20.0 + (b % 6) * 3, 1.0 + (b / 6) * 45, 3, 44, false});
  for (int b = 0; b < 5; ++b) card.bars.push_back({5, 1.0 + b * 26, 26, false});
  for (int b = 0; b < 5; ++b) card.bars.push_back({6, 1.0 + b * 26, 13, true});
  return card;
}

void drawCard(lmcPrn3& printer, const Card& card) {
  printer.PrImage(1, 1, card.logo, 3, 20);
  int font = -1;
  for (const CardText& text : card.texts) {
    if (text.font != font) printer.newFont(card.fonts[font = text.font]);
    if (text.figure)
      printer.PrPtNum(text.row, text.column, text.text);
    else
      printer.PrPt(text.row, text.column, text.text);
  }
  for (const CardBox& box : card.boxes)
    printer.PrBox(box.row, box.column, box.rows, box.columns, box.grey ? "OUTLINEFILL" : "OUTLINE",
                  230);
  for (const CardBar& bar : card.bars)
    bar.vertical ? printer.PrVbar(bar.row, bar.column, bar.length, 4)
                 : printer.PrHbar(bar.row, bar.column, bar.length, 4);
}

// The same page drawn straight onto QPdfWriter in 0.01 mm, y downwards.
class DirectCard {
 public:
  DirectCard(const Card& card, const PaperSize& paper) : card_(card), paper_(paper) {
    for (const QString& descriptor : card.fonts) {
      fonts_.push_back(PrintFont::fromDescriptor(descriptor).toQFont());
      metrics_.emplace_back(fonts_.back());
    }
    logo_.load(card.logo);
  }

  void draw(QPainter& painter) const {
    const double height = paper_[5] - paper_[3];
    auto y = [&](double pageY) { return (height - pageY) * 10; };
    const double pt = 20.32, rowHt = 43;
    painter.drawImage(QRectF(0, y(height - 7), 20 * pt * 10, 3 * rowHt * 10), logo_);
    int font = -1;
    for (const CardText& text : card_.texts) {
      if (text.font != font) painter.setFont(fonts_[font = text.font]);
      double x = (text.column - 1) * pt;
      QString shown = text.text;
      if (text.figure) {
        shown = text.text.trimmed();
        const auto& m = metrics_[font];
        x += (m.horizontalAdvance(QString(text.text.size(), '0')) - m.horizontalAdvance(shown)) / 10;
      }
      painter.drawText(QPointF(x * 10, y(height - text.row * rowHt)), shown);
    }
    QPen pen(Qt::black, 15);
    for (const CardBox& box : card_.boxes) {
      const QRectF r((box.column - 1) * pt * 10, y(height - (box.row - 1) * rowHt - 9),
                     box.columns * pt * 10, box.rows * rowHt * 10);
      if (box.grey) painter.fillRect(r, QColor(230, 230, 230));
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(r);
    }
    for (const CardBar& bar : card_.bars) {
      const double top = y(height - (bar.row - 1) * rowHt - 7), left = (bar.column - 1) * pt * 10;
      const QRectF r = bar.vertical ? QRectF(left, top, 40, bar.length * rowHt * 10)
                                    : QRectF(left, top, bar.length * pt * 10, 40);
      painter.fillRect(r, QColor(17, 17, 17));
    }
  }

 private:
  const Card& card_;
  PaperSize paper_;
  std::vector<QFont> fonts_;
  std::vector<QFontMetricsF> metrics_;
  QImage logo_;
};

void writeCardJson(const Card& card, const QString& path) {
  QJsonArray texts, boxes, bars;
  for (const auto& t : card.texts)
    texts.append(QJsonArray{t.row, t.column, t.text, t.font, t.figure});
  for (const auto& b : card.boxes) boxes.append(QJsonArray{b.row, b.column, b.rows, b.columns, b.grey});
  for (const auto& b : card.bars) bars.append(QJsonArray{b.row, b.column, b.length, b.vertical});
  QJsonObject root{{"texts", texts}, {"boxes", boxes}, {"bars", bars}, {"logo", card.logo},
                   {"fonts", QJsonArray::fromStringList(card.fonts)}};
  QFile out(path);
  out.open(QIODevice::WriteOnly);
  out.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  const qsizetype at = args.indexOf("--pages");
  const int pages = at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : 1000;
  QTemporaryDir dir;
  QImage logo(300, 150, QImage::Format_RGB32);
  logo.fill(QColor(20, 60, 140));
  QPainter(&logo).fillRect(40, 30, 220, 90, Qt::white);
  logo.save(dir.filePath("logo.png"));
  const Card card = makeCard(dir.filePath("logo.png"));

  // Page printer to one PDF file.
  const double viaPrinter = velmont::bench::bestSeconds(1, [&] {
    auto printer = lmNewPrinter("PDF");
    printer->setOutputFile(dir.filePath("printer.pdf"));
    printer->create();
    printer->orient("LAND");
    printer->startDoc("Cards");
    for (int i = 0; i < pages; ++i) {
      if (i) printer->newPage();
      drawCard(*printer, card);
    }
    printer->endDoc();
  });

  // The display list alone: pages drawn and dropped.
  std::size_t bytesPerPage = 0;
  const double listOnly = velmont::bench::bestSeconds(1, [&] {
    lmcPrn3 printer;
    printer.Init(std::make_unique<MemoryDevice>());
    printer.create();
    printer.orient("LAND");
    for (int i = 0; i < pages; ++i) {
      drawCard(printer, card);
      bytesPerPage = printer.currentPage().bytes();
      printer.newPage();
    }
  });

  // Direct QPainter on QPdfWriter.
  const PaperSize paper = laserA4(kLandscape);
  const double direct = velmont::bench::bestSeconds(1, [&] {
    QPdfWriter writer(dir.filePath("direct.pdf"));
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    const double scale = 1200 / 2540.0;
    DirectCard content(card, paper);
    for (int i = 0; i < pages; ++i) {
      if (i) writer.newPage();
      painter.save();
      painter.scale(scale, scale);
      painter.translate(paper[2] * 10, (paper[1] - paper[5]) * 10);
      content.draw(painter);
      painter.restore();
    }
  });

  writeCardJson(card, dir.filePath("card.json"));
  const QString script = QStringLiteral(VELMONT_BENCH_DIR) + "/printer_reportlab.py";
  auto runReportlab = [&](const char* fonts) {
    return velmont::bench::numberFromCommand(
        QString("/usr/bin/python3 '%1' '%2' '%3' %4 %5")
            .arg(script, dir.filePath("card.json"), dir.filePath("reportlab.pdf"))
            .arg(pages)
            .arg(fonts)
            .toStdString());
  };
  // The same embedded faces as the page printer's PDF; the unembedded standard fonts for
  // reference.
  const double reportlab = runReportlab("ttf");
  const double reportlabType1 = runReportlab("type1");

  const double printerRate = pages / viaPrinter, directRate = pages / direct;
  figure("printer.pdf.pages_per_second", printerRate, "pages/s");
  figure("printer.displaylist.pages_per_second", pages / listOnly, "pages/s");
  figure("printer.qpdfwriter.pages_per_second", directRate, "pages/s");
  if (reportlab > 0) figure("printer.reportlab.pages_per_second", reportlab, "pages/s");
  if (reportlabType1 > 0)
    figure("printer.reportlab_type1.pages_per_second", reportlabType1, "pages/s");
  figure("printer.pdf.vs_qpdfwriter", printerRate / directRate, "x");
  if (reportlab > 0) figure("printer.pdf.vs_reportlab", printerRate / reportlab, "x");
  if (reportlabType1 > 0)
    figure("printer.pdf.vs_reportlab_type1", printerRate / reportlabType1, "x");
  figure("printer.displaylist.bytes_per_page", double(bytesPerPage), "bytes");
  figure("printer.pdf.bytes_per_page", QFileInfo(dir.filePath("printer.pdf")).size() / double(pages),
         "bytes");
  return 0;
}
