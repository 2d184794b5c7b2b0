#pragma once
// The XMP metadata of an archival PDF (PDF/A-1b): the document's title, its
// author, the program that made it and when, and the PDF/A identification.
// What it states must agree with the document information the PDF writer
// puts beside it (title, creator, producer, creation date).
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace velmont::print {

struct PdfMetadata {
  QString title;
  QString author;   // the school
  QString creator;  // the program
  QDateTime created;
};

// The metadata packet; text that XML cannot carry (control characters) is left out.
QByteArray archivalXmp(const PdfMetadata& metadata);

}  // namespace velmont::print
