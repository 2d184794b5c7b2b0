// What velmont-batch prints for two small demo schools, whole, against the
// reference outputs in this folder: the plain-text file and the text of the PDF
// (pdftotext -layout) of the cards and of the lists. Any change to a page shows
// as a diff; scripts/refresh-references writes them anew after a meant change.
//
// The first school (30 students, code page 850) gives a year level whose cards
// run onto continuation pages and a family that gets a second copy, and a normal
// (portrait) list. The second (200 students, code page 1252, every flag file)
// gives a wide (landscape) list of two pages and the cards of one year level.
#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "reference_file.h"
#include "temp_dir.h"

namespace velmont::testing {
namespace {

// Runs a program to its end; its standard output, or a failure with its messages.
QByteArray runProgram(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString() << " failed (exit "
                  << p.exitCode() << "):\n"
                  << p.readAllStandardError().toStdString();
    return {};
  }
  return p.readAllStandardOutput();
}

QByteArray batch(const QStringList& arguments) { return runProgram(VELMONT_BATCH, arguments); }

// The list heading carries the moment of printing, "HH:MM:SS DD/MM/YYYY". Only that
// moment is masked, and only when it is the date of the run, so a wrong date still
// shows.
QByteArray withoutPrintMoment(QByteArray text, const QDate& started) {
  for (const QDate& day : {started, started.addDays(1)}) {
    const QString date = day.toString("dd/MM/yyyy");
    const QRegularExpression moment("\\d\\d:\\d\\d:\\d\\d " + QRegularExpression::escape(date));
    text = QString::fromUtf8(text).replace(moment, "hh:mm:ss dd/mm/yyyy").toUtf8();
  }
  return text;
}

class ReferenceOutputs : public ::testing::Test {
 protected:
  // A demo school in the temporary folder, made the same for the same arguments.
  QString school(const QString& name, const QStringList& options) {
    const QString dir = QString::fromStdString(out.file(name.toStdString()));
    batch(QStringList{"demo", dir, "--year", "2025"} + options);
    return dir;
  }
  // Prints one report of `kind` ("eot" or "list") as UTF-8 text and as a PDF, and
  // compares both with the references "NAME.txt" and "NAME.pdf.txt".
  void expectBothMatch(const QString& kind, const QString& dir, const QStringList& options, const QString& name) {
    const QDate started = QDate::currentDate();
    const QStringList common = QStringList{kind, "--data-dir", dir, "--year", "2025", "--term", "2",
                                           "--as-at", "2025-06-30"} + options;
    const QString text = QString::fromStdString(out.file((name + ".txt").toStdString()));
    const QString pdf = QString::fromStdString(out.file((name + ".pdf").toStdString()));
    batch(common + QStringList{"--text", text, "--text-encoding", "utf-8"});
    batch(common + QStringList{"--pdf", pdf});
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "no text file from velmont-batch " << kind.toStdString();
    expectMatchesReference(withoutPrintMoment(file.readAll(), started), "tests/reference/" + name + ".txt");
    const HostToolRun pdfText = runHostTool("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pdfText.ended && pdfText.exitCode == 0 && !pdfText.out.isEmpty())
        << "no text in the PDF from velmont-batch " << kind.toStdString() << ": " << pdfText.err.toStdString();
    expectMatchesReference(withoutPrintMoment(pdfText.out, started), "tests/reference/" + name + ".pdf.txt");
  }
  TempDir out;
};

TEST_F(ReferenceOutputs, CardsWithContinuationPagesAndAFamilyCopy) {
  const QString dir = school("small", {"--students", "30", "--seed", "1"});
  expectBothMatch("eot", dir, {"--from", "7", "--to", "7"}, "small-cards-year7");
}

TEST_F(ReferenceOutputs, NormalListWithMarksAndBirthDates) {
  const QString dir = school("small", {"--students", "30", "--seed", "1"});
  expectBothMatch("list", dir, {"--level", "12", "--marks", "--birthdates"}, "small-list-year12");
}

TEST_F(ReferenceOutputs, WideListOverTwoPagesWithSubjectNamesAndShading) {
  const QString dir = school("large", {"--students", "200", "--seed", "2", "--flags", "all", "--codepage", "1252"});
  expectBothMatch("list", dir, {"--level", "7", "--marks", "--names", "--shading"}, "large-list-year7");
}

TEST_F(ReferenceOutputs, CardsOfOneLevelWithEveryFlagFile) {
  const QString dir = school("large", {"--students", "200", "--seed", "2", "--flags", "all", "--codepage", "1252"});
  expectBothMatch("eot", dir, {"--from", "AE", "--to", "AE"}, "large-cards-levelAE");
}

}  // namespace
}  // namespace velmont::testing
