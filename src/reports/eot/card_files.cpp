#include "card_files.h"

#include <cmath>

#include "data/text.h"
#include "print/pdf_file_set.h"
#include "print/print_device.h"
#include "qtcore/school_text.h"
#include "reports/common/run_report.h"

namespace velmont::eot {

namespace {

enum Column { kFamily, kAddressee, kStudents, kEmail };

QString numberText(double number) { return QString::number(static_cast<long long>(std::llround(number))); }

}  // namespace

CardFiles::CardFiles(std::shared_ptr<print::PdfFileSet> files, CardSplit split, int codePage)
    : files_(std::move(files)), split_(split), text_(qtcore::SchoolText::of(codePage)) {}

std::shared_ptr<print::PdfFileSet> CardFiles::makeSet(const QString& folder) {
  return std::make_shared<print::PdfFileSet>(folder, QString::fromLatin1(kCardIndexName),
                                             QStringList{"family", "addressee", "students", "email"});
}

QString CardFiles::keyOf(const QString& family, const QString& number) const {
  // Students without a family code are never put together: each has a file of their own.
  return split_ == CardSplit::kFamily && !family.isEmpty() ? "F:" + family.toUpper() : "S:" + number;
}

void CardFiles::copyPlanned(const std::string& familyCode, double studentNumber) {
  files_->plan(keyOf(text_.decode(data::trim(familyCode)), numberText(studentNumber)));
}

void CardFiles::cardBegins(const CardCopy& copy) {
  const QString family = text_.decode(data::trim(copy.familyCode));
  const QString number = numberText(copy.studentNumber);
  const QString surname = text_.decode(data::trim(copy.surname));
  const QString student = number + " " + text_.decode(data::trim(copy.firstName)) + " " + surname;
  const QString key = keyOf(family, number);
  if (key.startsWith('F')) {
    const QString familySurname = text_.decode(data::trim(copy.familySurname));
    files_->beginFile(key, family + "-" + (familySurname.isEmpty() ? surname : familySurname));
  } else {
    files_->beginFile(key, number + "-" + surname + "-" + text_.decode(data::trim(copy.firstName)));
  }
  QStringList& row = files_->row();
  if (row[kFamily].isEmpty()) row[kFamily] = family;
  // The addressee of the file's first copy: the family's own mailing address
  // comes before the copies for its extra report addresses.
  if (row[kAddressee].isEmpty()) row[kAddressee] = text_.decode(data::trim(copy.addressee));
  if (!row[kStudents].split(QStringLiteral("; ")).contains(student))
    row[kStudents] += (row[kStudents].isEmpty() ? QString() : QStringLiteral("; ")) + student;
  if (row[kEmail].isEmpty()) row[kEmail] = text_.decode(data::trim(copy.email));
}

std::shared_ptr<CardFiles> splitIntoFiles(reports::RunRequest& request, const QString& folder, CardSplit split,
                                          bool archival) {
  auto set = CardFiles::makeSet(folder);
  const QString author = request.author;
  request.outputFile.clear();
  request.makeDevice = [set, archival, author] {
    std::unique_ptr<print::PrintDevice> device = set->device();
    if (archival) device->setArchival(author);
    return device;
  };
  return std::make_shared<CardFiles>(set, split, request.folder.codePage().codePage);
}

}  // namespace velmont::eot
