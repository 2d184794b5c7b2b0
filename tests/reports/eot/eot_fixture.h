#pragma once
// End-of-term runs on a copy of the demo school, drawn into pages kept in
// memory, with helpers that read the cards back from the display lists.
#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "school/school_settings.h"
#include "data/table.h"
#include "data/text.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "print/display_list.h"
#include "print/print_device.h"
#include "reports/eot/eot_run.h"
#include "school_fixture.h"

namespace velmont::eot::testing {

using velmont::testing::SchoolCopy;

// Keeps every printed page where the test can read it after the run.
class KeepingDevice : public print::PrintDevice {
 public:
  explicit KeepingDevice(std::shared_ptr<std::vector<print::PageList>> pages) : pages_(std::move(pages)) {}
  print::PaperSize paperSize() const override { return print::laserA4(orientation_); }
  int orientation() const override { return orientation_; }
  void setOrientation(int o) override { orientation_ = o; }
  bool startDoc(const QString&) override { return true; }
  bool printPage(const print::PageList& page) override {
    pages_->push_back(page);
    return true;
  }
  bool endDoc() override { return true; }
  QString destination() const override { return "memory"; }

 private:
  std::shared_ptr<std::vector<print::PageList>> pages_;
  int orientation_ = print::kPortrait;
};

// A RunUi that notes what the run says and answers preview windows from a list.
class NotingUi : public reports::RunUi {
 public:
  void notice(const QString& text) override { notices.push_back(text); }
  void message(const QStringList& lines) override { messages.push_back(lines.join(" | ")); }
  int previewWindow(print::PreviewDocument& preview, bool stepping) override;
  void failure(std::exception_ptr error, const std::string&) override {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      failures.push_back(e.what());
    }
  }
  void finished() override { ++finishedCalls; }
  std::vector<QString> notices, messages;
  std::vector<std::string> failures;
  std::vector<int> answers;          // the stepping windows' answers, in order (then 2)
  std::vector<int> pagesAtStep;      // pages recorded when each stepping window opened
  int finalWindows = 0;
  std::shared_ptr<std::vector<print::PageList>> kept;  // the final window copies the pages here
  int finishedCalls = 0;
};

// One text drawn on a page, with its row and column worked back from its position.
struct Drawn {
  QString text;
  double row = 0, column = 0;
};

class EotRun : public ::testing::Test {
 protected:
  // On a demo school whose text is in `codePage`.
  explicit EotRun(int codePage = 850);

  // Runs the cards with the options as they stand; pages land in `pages`.
  reports::RunOutcome run(bool preview = false);
  // Texts of a page, in drawing order.
  std::vector<Drawn> texts(size_t page) const;
  // The first text on the page that equals (or, with prefix, begins with) `text`.
  std::optional<Drawn> find(size_t page, const QString& text, bool prefix = false) const;
  // The texts drawn at a column of a page, in drawing order.
  std::vector<Drawn> atColumn(size_t page, double column) const;
  // The student names of the run's card copies (first pages only), in order.
  std::vector<QString> cardNames() const;

  // Changes a field of the student with this number.
  void setStudent(double number, const std::string& field, const std::string& value);
  void setStudent(double number, const std::string& field, const data::Date& value);
  void setStudent(double number, const std::string& field, double value);
  // Moves the student's subject lines of the term out of the way (term 0).
  void clearTerm(double number, int term);
  struct Line {
    int line = 1;
    std::string code;
    double emrk = 0, emen = 0, amrk = 0, amen = 0;
    std::string ranks = "ABCD";  // homework, effort, contribution, behaviour
    double comm = 0;
    std::string note;
    std::string teacher = "ZZZ";
  };
  void addLine(double number, int term, const Line& l);
  // A subject code of this type ("Y" or not "Y").
  std::string subjectCode(bool marked) const;
  // The year levels the demo school uses.
  int level(const std::string& code);

  SchoolCopy school;
  school::SessionValues session;
  EotOptions options;
  NotingUi ui;
  EotFigures figures;
  std::shared_ptr<std::vector<print::PageList>> pages = std::make_shared<std::vector<print::PageList>>();
  std::vector<print::PageList> previewPages;  // a preview run's recorded pages
};

// Row and column of a position on the landscape page with the demo's margins.
double rowOf(double y);
double columnOf(double x);

}  // namespace velmont::eot::testing
