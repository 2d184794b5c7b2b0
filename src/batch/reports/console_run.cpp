#include "console_run.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include "data/table.h"
#include "print/page_image.h"

namespace velmont::batch {

void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "velmont-batch";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

void ConsoleRunUi::progressStep(data::Table& table) {
  if (!started_) {
    progress_.start(label_, table.reccount());
    started_ = true;
  }
  progress_.set(table.recno());
}

void ConsoleRunUi::message(const QStringList& lines) {
  err_ << "velmont-batch: " << lines.join(" ").toStdString() << "\n";
}

void ConsoleRunUi::failure(std::exception_ptr error, const std::string& operation) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    err_ << "velmont-batch: " << operation << ": " << e.what() << "\n";
  } catch (...) {
    err_ << "velmont-batch: " << operation << ": unknown failure\n";
  }
  failed = true;
}

bool PngTeeDevice::printPage(const print::PageList& page) {
  const QImage image = print::renderPage(page, paperSize(), 100);
  image.save(QDir(dir_).filePath(QString("page-%1.png").arg(++pages_, 4, 10, QChar('0'))));
  return inner_->printPage(page);
}

}  // namespace velmont::batch
