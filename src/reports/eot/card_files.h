#pragma once
// One PDF file per family or per student: the end-of-term run tells CardFiles
// where each card copy begins, and CardFiles puts the copy's pages into that
// family's (or student's) file of a PdfFileSet and fills its row of cards.csv:
// family code, addressee, students (numbers and names) and the family's e-mail.
#include <QString>
#include <memory>
#include <string>

namespace velmont::print {
class PdfFileSet;
}  // namespace velmont::print
namespace velmont::qtcore {
class SchoolText;
}  // namespace velmont::qtcore

namespace velmont::reports {
struct RunRequest;
}

namespace velmont::eot {

enum class CardSplit { kFamily, kStudent };

// The name of the index written beside the files.
inline constexpr const char* kCardIndexName = "cards.csv";

// A card copy as the run knows it when the copy begins; text in the school's code page.
struct CardCopy {
  std::string familyCode;     // the student's ST_PARENT; blank when none
  std::string familySurname;  // the family's surname, else the student's
  double studentNumber = 0;
  std::string firstName, surname;  // the student's
  std::string addressee;           // the first address line of this copy
  std::string email;               // the family's e-mail address, blank when none is kept
};

// Told by the run where each card copy begins (after its first page has been
// started, before anything of it is printed).
class CardObserver {
 public:
  virtual ~CardObserver() = default;
  virtual void cardBegins(const CardCopy& copy) = 0;
  // Before the first card: a copy for this family (ST_PARENT, blank when none)
  // and student will begin, once for each copy the run will print.
  virtual void copyPlanned(const std::string& familyCode, double studentNumber) {}
};

class CardFiles : public CardObserver {
 public:
  // `codePage` decodes the school's text for the file names and the index.
  CardFiles(std::shared_ptr<print::PdfFileSet> files, CardSplit split, int codePage);
  void cardBegins(const CardCopy& copy) override;
  // A file is written as soon as the run has printed all its planned copies.
  void copyPlanned(const std::string& familyCode, double studentNumber) override;

  // A set in `folder` with cards.csv's columns.
  static std::shared_ptr<print::PdfFileSet> makeSet(const QString& folder);

 private:
  // The file a copy goes into: the family's, or the student's own.
  QString keyOf(const QString& family, const QString& number) const;

  std::shared_ptr<print::PdfFileSet> files_;
  CardSplit split_;
  const qtcore::SchoolText& text_;
};

// Sets `request` to print one file per family or student into `folder`
// (archival PDF/A files when asked, the request's author named in them) and
// returns what the run must be told of each card copy.
std::shared_ptr<CardFiles> splitIntoFiles(reports::RunRequest& request, const QString& folder, CardSplit split,
                                          bool archival);

}  // namespace velmont::eot
