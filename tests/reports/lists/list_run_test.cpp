// Whole runs of the list on a demo school: the PDF as users read it, text mode,
// the orientation rule, a preview with nothing to show, and the promise that a
// run writes none of the school's files.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "batch/demo_school.h"
#include "batch/progress.h"
#include "field_widths.h"
#include "list_fixture.h"
#include "print/memory_device.h"
#include "print/preview_document.h"
#include "reports/lists/list_run.h"
#include "temp_dir.h"
#include "host_tool.h"

using namespace velmont;
using namespace velmont::lists;
namespace fs = std::filesystem;

namespace {

class QuietUi : public reports::RunUi {
 public:
  void message(const QStringList& lines) override { messages << lines.join(" / "); }
  int previewWindow(print::PreviewDocument&, bool stepping) override { return ++windows, 0; }
  void failure(std::exception_ptr, const std::string& operation) override { failures << QString::fromStdString(operation); }
  void finished() override { ++finishedCalls; }
  void handleKeys(bool on) override { keys.push_back(on); }
  void notice(const QString& text) override { notices << text; }
  QStringList messages, failures, notices;
  std::vector<bool> keys;  // the dialog's own key handling, as the run switched it
  int windows = 0, finishedCalls = 0;
};

std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[e.path().filename().string()] = bytes.str();
  }
  return files;
}

// Forwards to a memory device that outlives the run's printer.
class KeptDevice : public print::PrintDevice {
 public:
  explicit KeptDevice(print::MemoryDevice& kept) : kept_(kept) {}
  print::PaperSize paperSize() const override { return kept_.paperSize(); }
  int orientation() const override { return kept_.orientation(); }
  void setOrientation(int o) override { kept_.setOrientation(o); }
  bool startDoc(const QString& name) override { return kept_.startDoc(name); }
  bool printPage(const print::PageList& page) override { return kept_.printPage(page); }
  bool endDoc() override { return kept_.endDoc(); }
  QString destination() const override { return kept_.destination(); }

 private:
  print::MemoryDevice& kept_;
};

class ListRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    school_ = new velmont::testing::TempDir;
    batch::DemoOptions o;
    o.dir = school_->path().string();
    o.students = 200;
    o.year = 2004;
    batch::Progress quiet(false);
    batch::writeDemoSchool(o, quiet);
  }
  static void TearDownTestSuite() { delete school_; }

  ListRequest request(int level) const {
    ListRequest r;
    r.run.reportCode = kListReportCode;
    r.run.title = "Home Class List with Subjects";
    r.run.printerName = print::kPdfDeviceName;
    r.run.folder = school::SchoolFolder(school_->path().string());
    r.strt_yr = level;
    r.term = 1;
    r.year = 2004;
    r.date = r.enrl_date = data::Date::fromYmd(2004, 6, 30);
    r.school = "Demo School";
    r.timeOfDay = QTime(10, 0, 0);
    return r;
  }
  static velmont::testing::TempDir* school_;
  velmont::testing::TempDir out;
  QuietUi ui;
};
velmont::testing::TempDir* ListRunTest::school_ = nullptr;

TEST_F(ListRunTest, AWholeListToPdfReadsAsPrinted) {
  ListRequest r = request(8);
  r.choices = {.birthDates = true, .marks = true, .shading = true};
  r.subjectNames = true;
  r.run.outputFile = QString::fromStdString(out.file("list.pdf"));
  const ListOutcome o = PR_STUDENTS(r, ui);
  ASSERT_TRUE(o.ran && o.printed) << ui.messages.join("\n").toStdString();
  EXPECT_EQ(ui.finishedCalls, 1);
  EXPECT_EQ(o.landscape, o.columns > 15);
  const auto p = velmont::testing::runHostTool("pdftotext", {"-layout", r.run.outputFile, "-"}, 20000);
  ASSERT_TRUE(p.ended);
  const QString text = QString::fromUtf8(p.out);
  EXPECT_TRUE(text.contains(QRegularExpression("Home Class List with Subjects for GRADE\\s+8\\s+Term 1")));
  EXPECT_TRUE(text.contains(QRegularExpression("PAGE\\s+1")));
  EXPECT_TRUE(text.contains(QRegularExpression("MAXIMUM\\s+MARKS")));
  EXPECT_TRUE(text.contains("GRADE AVERAGE"));
  EXPECT_TRUE(text.contains("No. Students"));
  EXPECT_TRUE(text.contains(" 1. ")) << "the running number";
  EXPECT_EQ(text.count("NAME:"), o.pages);
}

TEST_F(ListRunTest, SixteenColumnsTurnThePageEvenWhenTheSettingsSayPortrait) {
  ListRequest r = request(8);
  r.printerSettings = {"1", "1"};  // one copy, portrait
  int made = 0;
  print::MemoryDevice kept;
  print::MemoryDevice* device = &kept;
  r.run.makeDevice = [&] {
    ++made;
    return std::unique_ptr<print::PrintDevice>(std::make_unique<KeptDevice>(kept));
  };
  const ListOutcome o = PR_STUDENTS(r, ui);
  ASSERT_TRUE(o.printed);
  ASSERT_GT(o.columns, 15);
  EXPECT_TRUE(o.landscape);
  ASSERT_EQ(made, 1);
  ASSERT_FALSE(device->documents().empty());
  EXPECT_EQ(device->documents()[0].orientation, print::kLandscape);
  // The pages were laid out on the landscape paper: wider than high.
  const print::PageList& page = device->documents()[0].pages.at(0);
  EXPECT_GT(page.width(), page.height());
}

TEST(ListOrientationTest, FifteenColumnsStayPortraitSixteenTurnTheSettingsLandscape) {
  for (const int subjects : {13, 14}) {
    lists::testing::TinySchool school;
    school.students = {{1, "Avery", "Al"}};
    for (int s = 0; s < subjects; ++s) {
      const std::string code = "S" + std::string(s < 10 ? "0" : "") + std::to_string(s);
      school.subjects.push_back({code, "Subject " + code});
      school.marks.push_back({1, code, 50, 0, s + 1});
    }
    school.write();
    ListRequest r;
    r.run.reportCode = kListReportCode;
    r.run.title = "Home Class List with Subjects";
    r.run.folder = school::SchoolFolder(school.dir());
    r.strt_yr = 7;
    r.term = 1;
    r.year = lists::testing::kYear;
    r.date = r.enrl_date = data::Date::fromYmd(lists::testing::kYear, 6, 30);
    r.printerSettings = {"1", "1"};  // one copy, portrait
    print::MemoryDevice kept;
    r.run.makeDevice = [&] { return std::unique_ptr<print::PrintDevice>(std::make_unique<KeptDevice>(kept)); };
    QuietUi ui;
    const ListOutcome o = PR_STUDENTS(r, ui);
    ASSERT_TRUE(o.printed) << subjects;
    EXPECT_EQ(o.columns, subjects + 2);
    ASSERT_FALSE(kept.documents().empty());
    EXPECT_EQ(kept.documents()[0].orientation, subjects == 13 ? print::kPortrait : print::kLandscape)
        << o.columns << " columns";
  }
}

TEST_F(ListRunTest, TextModeWritesTheFileAndNoPreviewWithoutSubjects) {
  ListRequest text = request(8);
  text.run.prAscii = out.file("list.txt");
  text.hdAscii = "Y";
  const ListOutcome o = PR_STUDENTS(text, ui);
  ASSERT_TRUE(o.printed);
  EXPECT_EQ(o.destination.toStdString(), out.file("list.txt"));
  std::ifstream in(out.file("list.txt"));
  std::stringstream body;
  body << in.rdbuf();
  EXPECT_NE(body.str().find("MAXIMUM MARKS"), std::string::npos);
  EXPECT_NE(body.str().find("No. Students"), std::string::npos);

  ListRequest empty = request(20);  // a level without students
  empty.run.preview = true;
  empty.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
  const ListOutcome none = PR_STUDENTS(empty, ui);
  EXPECT_FALSE(none.printed);
  EXPECT_EQ(ui.windows, 0) << "no preview window when nothing was found";
  EXPECT_EQ(ui.finishedCalls, 2) << "the buttons come back";
}

// Stops its run once `after` students are printed (0: at the first student read).
class StoppingUi : public QuietUi {
 public:
  StoppingUi(std::shared_ptr<reports::RunControl> control, int after) : control_(std::move(control)), after_(after) {}
  void progressStep(data::Table&) override {
    if (after_ == 0) control_->stop();
  }
  void progressCount(int printed, int total) override {
    counts.emplace_back(printed, total);
    if (after_ > 0 && printed == after_) control_->stop();
  }
  std::vector<std::pair<int, int>> counts;

 private:
  std::shared_ptr<reports::RunControl> control_;
  int after_;
};

TEST_F(ListRunTest, AStoppedListWritesNothingAndSaysAfterWhichStudentItStopped) {
  for (const int after : {0, 3}) {
    ListRequest r = request(8);
    r.run.prAscii = out.file("list.txt");
    r.run.control = std::make_shared<reports::RunControl>();
    StoppingUi stopping(r.run.control, after);
    const ListOutcome o = PR_STUDENTS(r, stopping);
    EXPECT_TRUE(o.stopped) << after;
    EXPECT_FALSE(fs::exists(out.file("list.txt"))) << after;
    EXPECT_TRUE(fs::is_empty(out.path())) << "no temporary file";
    ASSERT_FALSE(stopping.notices.isEmpty());
    const QString notice = stopping.notices.last();  // the index may be built first, with its notice
    if (after == 0) {
      EXPECT_EQ(notice, "The report was stopped before its first student: nothing was sent to " +
                            QString::fromStdString(out.file("list.txt")) + ".");
      EXPECT_TRUE(stopping.counts.empty());
    } else {
      ASSERT_EQ(stopping.counts.size(), 4u);  // none of the total, then one per student
      const int total = stopping.counts[0].second;
      EXPECT_GT(total, after);
      EXPECT_TRUE(notice.startsWith(QString("The report was stopped after student 3 of %1 (").arg(total)))
          << notice.toStdString();
    }
    EXPECT_EQ(stopping.finishedCalls, 1);
  }
}

// The final preview's Print to PDF, answered with one of the school's files.
class PrintToSchoolFileUi : public QuietUi {
 public:
  explicit PrintToSchoolFileUi(QString target) : target_(std::move(target)) {}
  std::unique_ptr<print::PreviewDocument> newPreview() override { return std::make_unique<Document>(*this); }
  int previewWindow(print::PreviewDocument& preview, bool stepping) override {
    if (stepping) return 2;  // run on
    preview.lPrnPrompt = false;
    preview.printSeg("all");
    return 0;
  }
  QStringList told;

 private:
  class Document : public print::PreviewDocument {
   public:
    explicit Document(PrintToSchoolFileUi& ui) : ui_(ui) {}

   protected:
    std::optional<QString> chooseOutputFile(const QString&) override { return ui_.target_; }
    void tell(const QStringList& lines) override { ui_.told << lines; }

   private:
    PrintToSchoolFileUi& ui_;
  };
  QString target_;
};

TEST_F(ListRunTest, APreviewsPrintToOneOfTheSchoolsFilesIsRefusedAndTheFileKept) {
  const std::string table = (school_->path() / "ststuden.dbf").string();
  const std::string before = snapshot(school_->path().string()).at("ststuden.dbf");
  ListRequest r = request(8);
  r.run.preview = true;
  r.run.makeDevice = [] { return print::openPrintDevice(print::kPdfDeviceName); };
  PrintToSchoolFileUi printing(QString::fromStdString(table));
  ASSERT_TRUE(PR_STUDENTS(r, printing).printed);
  ASSERT_FALSE(printing.told.isEmpty());
  EXPECT_TRUE(printing.told.join(' ').contains("The report cannot be written to")) << printing.told.join(' ').toStdString();
  EXPECT_TRUE(snapshot(school_->path().string()).at("ststuden.dbf") == before) << "the table as it was";
}

TEST_F(ListRunTest, AClassWithoutStudentsSendsNothingToThePrinterAndSaysSo) {
  print::MemoryDevice kept;
  ListRequest r = request(8);
  r.home_cl = "NOSUCH";
  r.run.makeDevice = [&kept] { return std::unique_ptr<print::PrintDevice>(std::make_unique<KeptDevice>(kept)); };
  const ListOutcome o = PR_STUDENTS(r, ui);
  EXPECT_TRUE(o.nothingMatched);
  size_t sent = 0;
  for (const auto& document : kept.documents()) sent += document.pages.size();
  EXPECT_EQ(sent, 0u) << "not even a blank page";
  EXPECT_TRUE(ui.notices.contains(kNoStudents)) << ui.notices.join("\n").toStdString();
  EXPECT_TRUE(ui.notices.filter("Report has been sent").isEmpty()) << ui.notices.join("\n").toStdString();

  r.home_cl = "";
  const ListOutcome listed = PR_STUDENTS(r, ui);
  ASSERT_TRUE(listed.printed);
  EXPECT_EQ(ui.notices.filter("Report has been sent").size(), 1) << "said once the list has gone";
}

TEST_F(ListRunTest, APreviewGivesTheDialogItsKeysBackWhenItEnds) {
  // Off while the preview runs; on again after the final window, not only after
  // a printer that failed to start, so that the dialog answers F4, F5 and ESC again.
  ListRequest r = request(8);
  r.run.preview = true;
  r.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
  ASSERT_TRUE(PR_STUDENTS(r, ui).printed);
  EXPECT_GE(ui.windows, 1) << "the final window";
  EXPECT_EQ(ui.keys, (std::vector<bool>{false, true}));
}

TEST_F(ListRunTest, ARunWritesNoneOfTheSchoolsFiles) {
  velmont::testing::TempDir copy;
  for (const auto& e : fs::directory_iterator(school_->path())) fs::copy(e.path(), copy.path() / e.path().filename());
  fs::remove(copy.path() / "STSUB04.ntx");  // the year's index: one of the files a run may create
  const auto before = snapshot(copy.path().string());
  for (int kind = 0; kind < 3; ++kind) {
    ListRequest r = request(8);
    r.run.folder = school::SchoolFolder(copy.path().string());
    r.choices = {true, true, true};
    if (kind == 0) r.run.outputFile = QString::fromStdString(out.file("p.pdf"));
    if (kind == 1) {
      r.run.preview = true;
      r.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
    }
    if (kind == 2) r.run.prAscii = out.file("t.txt");
    ASSERT_TRUE(PR_STUDENTS(r, ui).printed);
  }
  EXPECT_GE(ui.windows, 1) << "the final preview window";
  const auto after = snapshot(copy.path().string());
  for (const auto& [name, bytes] : before) {
    ASSERT_TRUE(after.count(name)) << name;
    EXPECT_TRUE(after.at(name) == bytes) << name << " changed";
  }
  for (const auto& [name, bytes] : after) {
    if (!before.count(name)) {
      EXPECT_EQ(name, "STSUB04.ntx") << "a file the run may not create";
    }
  }
}

TEST_F(ListRunTest, KeyFieldsWiderOrNarrowerThanTheDemosPrintTheSameMarks) {
  // The list of level 8 with marks, as every text of its pages.
  auto printed = [this](const std::string& dir) {
    ListRequest r = request(8);
    r.run.folder = school::SchoolFolder(dir);
    r.choices = {.marks = true};
    print::MemoryDevice kept;
    r.run.makeDevice = [&] { return std::unique_ptr<print::PrintDevice>(std::make_unique<KeptDevice>(kept)); };
    const ListOutcome o = PR_STUDENTS(r, ui);
    EXPECT_TRUE(o.printed) << ui.messages.join("\n").toStdString();
    std::vector<QString> texts;
    for (const auto& d : kept.documents())
      for (const print::PageList& page : d.pages)
        for (const print::DrawItem& item : page.items())
          if (const auto* t = std::get_if<print::TextItem>(&item)) texts.push_back(t->text);
    return texts;
  };
  const std::vector<QString> demo = printed(school_->path().string());
  ASSERT_FALSE(demo.empty());
  for (const auto& [number, term, line] : {std::tuple{8, 2, 3}, std::tuple{5, 1, 2}}) {
    velmont::testing::TempDir variant;
    // Entry by entry: Windows' copy refuses a folder that exists, even empty.
    for (const auto& entry : fs::directory_iterator(school_->path()))
      fs::copy(entry.path(), variant.path() / entry.path().filename(), fs::copy_options::recursive);
    fs::remove(variant.file("STSUB04.ntx"));  // built again over the table's own widths
    velmont::testing::rewriteWithWidths(variant.file("STSUB04.dbf"),
                                        {{"STSUB_NUMB", {number}}, {"STSUB_TERM", {term}}, {"STSUB_LINE", {line}}});
    EXPECT_EQ(printed(variant.path().string()), demo) << "STSUB_NUMB N(" << number << ")";
  }
  EXPECT_TRUE(ui.messages.isEmpty());
}

}  // namespace

// Each read is a round trip where the school's data lies on a network drive:
// a list reads each file it needs about once, not once per student or subject.
TEST_F(ListRunTest, AListReadsEachFileItNeedsAboutOnce) {
  ListRequest r = request(8);
  r.choices = {.birthDates = true, .marks = true, .shading = true};
  r.run.makeDevice = [] { return std::unique_ptr<print::PrintDevice>(std::make_unique<print::MemoryDevice>()); };
  ASSERT_TRUE(PR_STUDENTS(r, ui).printed);  // the year's index is built by the first run
  const data::ReadCounts before = data::readCounts();
  const ListOutcome o = PR_STUDENTS(r, ui);
  ASSERT_TRUE(o.printed);
  const uint64_t calls = data::readCounts().calls - before.calls;
  EXPECT_LE(calls, 50u) << "for " << o.students << " students";  // 29 today
}
