#pragma once
// Shared by the preview tests: card-like pages, a preview on the memory or PDF device,
// answers to the preview's questions, and PDF read-back.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "print/memory_device.h"
#include "preview/preview_dialogs.h"
#include "preview/preview_level.h"
#include "preview/preview_printer.h"
#include "host_tool.h"

namespace velmont::print::testing {

// One card-like page: a heading, a student line, a table of results in boxes, and a
// solid bar whose place the paint test knows (rows 30 to 32, columns 10 to 40).
inline void drawCard(lmcPrn3& printer, int card) {
  printer.newFont("14.Times New Roman Bold");
  printer.PrCenter(1, "Velmont College");
  printer.newFont("10.Arial");
  printer.PrPt(3, 1, QString("Student %1").arg(card));
  const char* subjects[] = {"English", "Mathematics", "Science", "History", "French"};
  for (int s = 0; s < 5; ++s) {
    printer.PrPt(6 + s, 1, subjects[s]);
    printer.PrPtNum(6 + s, 40, QString::number((card * 7 + s * 13) % 100).rightJustified(3));
    printer.PrBox(6 + s, 1, 1, 60);
  }
  printer.PrBox(30, 10, 2, 30, "OUTLINEFILL", 17);
}

// The answers the preview's questions get, and what was asked.
class ScriptedDialogs {
 public:
  ScriptedDialogs() {
    preview::PreviewDialogs dialogs;
    dialogs.yesNo = [this](const QString& question, QWidget*) {
      questions << question;
      return answerYes;
    };
    dialogs.message = [this](const QStringList& lines, QWidget*) { messages << lines.join(" / "); };
    dialogs.getString = [this](const preview::StringPrompt& prompt, QWidget*) -> std::optional<QString> {
      prompts << prompt.prompt;
      if (!pageAnswer) return std::nullopt;
      if (prompt.accept && !prompt.accept(*pageAnswer)) return std::nullopt;
      return pageAnswer;
    };
    dialogs.saveFile = [this](const QString& suggested, QWidget*) -> std::optional<QString> {
      saveQuestions << suggested;
      if (saveAnswer) return saveAnswer->isEmpty() ? std::nullopt : saveAnswer;
      return suggested;
    };
    previous_ = preview::setPreviewDialogs(dialogs);
  }
  ~ScriptedDialogs() { preview::setPreviewDialogs(previous_); }

  bool answerYes = true;
  std::optional<QString> pageAnswer;
  std::optional<QString> saveAnswer;  // the file chosen ("" cancels); unset: the suggested one
  QStringList questions, messages, prompts, saveQuestions;

 private:
  preview::PreviewDialogs previous_;
};

// A preview on the PDF device writing into a temporary directory, with `pages` cards.
struct PdfPreview {
  explicit PdfPreview(int pages) {
    preview = preview::lmNewPreview(kPdfDeviceName);
    preview->setOutputFile(dir.filePath("out.pdf"));
    preview->create();
    preview->startDoc();
    for (int page = 1; page <= pages; ++page) {
      if (page > 1) preview->newPage();
      drawCard(*preview, page);
    }
    preview->endDoc();
  }
  QString file() const { return dir.filePath("out.pdf"); }

  QTemporaryDir dir;
  std::unique_ptr<preview::lmcPrv3> preview;
};

inline QString runTool(const QString& tool, const QStringList& args) {
  const auto run = velmont::testing::runHostTool(tool, args, 30000);
  return run.ended ? QString::fromUtf8(run.out) : QString();
}

// The number of pages of a PDF file, 0 when there is none.
inline int pdfPages(const QString& file) {
  const QString info = runTool("pdfinfo", {file});
  const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Each page's text.
inline QStringList pdfPageTexts(const QString& file) {
  QStringList pages = runTool("pdftotext", {"-layout", file, "-"}).split('\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// Keeps c_Level as it was before the test.
class ZoomLevelGuard {
 public:
  ZoomLevelGuard() : level_(preview::previewZoomLevel()) {}
  ~ZoomLevelGuard() { preview::setPreviewZoomLevel(level_); }

 private:
  int level_;
};

}  // namespace velmont::print::testing
