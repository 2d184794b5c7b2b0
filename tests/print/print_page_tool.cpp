// Prints one test page through the page printer to a device given by name; used by the
// spooler test. Usage: print_page_tool --device NAME [--output FILE.pdf] [--text TEXT]
//                      [--landscape] [--settings "copies,orientation,bin,dpi,collate,colour,duplex,font,form,file"]
//                      [--before-end COMMAND]   (a shell command run after the page is drawn)
//                      print_page_tool --list
#include <QGuiApplication>
#include <QProcess>
#include <QTextStream>

#include "print/message_hook.h"
#include "print/page_printer.h"
#include "qtcore/qt_process.h"

using namespace velmont::print;

int main(int argc, char** argv) {
  velmont::qtcore::prepareQtProcess();
  QGuiApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  const QStringList args = app.arguments();
  auto option = [&](const QString& name) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
  };
  if (args.contains("--list")) {
    for (const QString& name : printDeviceNames()) out << name << Qt::endl;
    return 0;
  }
  const QString device = option("--device");
  const QString text = option("--text").isEmpty() ? "Velmont test page" : option("--text");

  auto printer = lmNewPrinter(device);
  if (printer->lInitErr) return 2;  // the message went to stderr
  if (!option("--output").isEmpty()) printer->setOutputFile(option("--output"));
  // The printer dialog's job settings, comma-separated in their order.
  if (!option("--settings").isEmpty()) {
    const QStringList settings = option("--settings").split(',');
    applyPrinterSettings(*printer, std::vector<QString>(settings.begin(), settings.end()));
  }
  printer->create();
  if (args.contains("--landscape")) printer->orient("LAND");
  QStringList paper;
  for (double edge : printer->aSize) paper << QString::number(edge);
  out << "paper and printable area: " << paper.join(' ') << Qt::endl;
  if (!printer->startDoc(text)) {  // the job's name: the spooler test knows its PDF by it
    err << printer->notSentMessage() << Qt::endl;
    return 3;
  }
  printer->newFont("16.Times New Roman Bold");
  printer->PrCenter(2, text);
  printer->newFont("10.Arial");
  printer->PrPt(4, 1, "Printed on " + device + " through the page printer");
  printer->PrBox(5, 1, 2, 40, "OUTLINEFILL", 220);
  printer->PrPt(6, 2, "Grey box with black border");
  const char* fills[] = {"DENSE1", "DENSE4", "DENSE8", "HALFTONE", "VERT",
                         "HORIZ",  "HATCH",  "DIAGHATCH", "DIAG1", "DIAG3"};
  int column = 1;
  for (const char* fill : fills) {
    printer->PrBox(9, column, 3, 8, "OUTLINEFILL", fill);
    printer->PrPt(13, column, fill);
    column += 9;
  }
  printer->PrFrame(15, 1, 3, 40, 5, 17, FrameFill{true, 235}, FrameShadow{true, 235, std::nullopt});
  printer->prHline(20, 1, 40, "DASH");
  printer->PrHbar(21, 1, 40, 10);
  printer->newFont("12.Courier New");
  printer->PrPtNum(23, 1, "  7");
  printer->PrPtNum(24, 1, "123");
  // Whatever happens to the printer while a report is being drawn (it stops taking
  // jobs, it is removed) happens here.
  if (!option("--before-end").isEmpty()) QProcess::execute("sh", {"-c", option("--before-end")});
  if (!printer->endDoc()) {
    err << printer->notSentMessage() << Qt::endl;
    return 4;
  }
  out << "sent to " << printer->destination() << Qt::endl;
  return 0;
}
