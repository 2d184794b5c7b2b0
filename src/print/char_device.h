#pragma once
// The character printer of plain-text mode: a page of rows and columns that is written
// out, lines ended with LF (or CR LF) and a form feed between pages, to a file or
// kept in memory.
//
// Reports place text on fractional rows (a heading at row 1.2 under the time at row 1,
// a rule at 3.4 under a heading at 3.2). Each distinct row becomes a text line of its
// own, in order, so that nothing is written over: a row goes to the line of its whole
// number unless an earlier row took that line already, and then to the next free one
// (later rows move down with it). Rows less than 0.15 apart share a line, as the two
// strokes of a heavy rule do. Within a line, text never overwrites other text: blanks
// do not erase, and text that would cover other characters moves right to one blank
// past them; text placed at a column right after other text gets a blank between
// (text that continues the line, as the query output's does, does not).
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace velmont::print {

class CharDevice {
 public:
  CharDevice() = default;
  CharDevice(const CharDevice&) = delete;
  CharDevice& operator=(const CharDevice&) = delete;
  ~CharDevice() { close(); }

  // Sends the output to a file (replacing it when closed); false when it cannot
  // be opened. The text goes to a temporary file beside it until close.
  bool open(const QString& path);
  // Writes the page in progress and puts the file in place.
  void close();
  // Drops the output: no file is left, and an earlier file of that name stays.
  void discard();

  // Rows and columns count from 0; a fractional row is kept (see above), a
  // column's fraction is dropped.
  void setPos(double row, double column);
  int row() const { return int(row_); }
  int column() const { return column_; }

  // Writes at the current position; the column moves past the text.
  void write(const QString& text);
  // Moves to column 0 of the next row.
  void newLine();
  // Ends the page: its rows, then a form feed; the position returns to row 0, column 0.
  void formFeed();

  // The bytes the text goes out in: the school's code page (a character it
  // cannot hold becomes "?", the box line "-"), or 0 for UTF-8.
  void setCodePage(int codePage) { codePage_ = codePage; }
  int codePage() const { return codePage_; }
  // What ends each line: LF unless set (the report runs write CR LF, as a school's
  // text printer and Windows programs expect, unless LF alone is asked for).
  void setLineEnd(const QByteArray& end) { lineEnd_ = end; }

  // What went out so far, when no file is open.
  const QByteArray& output() const { return output_; }

 private:
  void send(const QByteArray& bytes);
  QByteArray pageText() const;

  QSaveFile file_;
  QByteArray output_;
  std::map<long, QString> rows_;  // by row in hundredths
  double row_ = 0;
  int column_ = 0;
  int codePage_ = 0;
  QByteArray lineEnd_ = "\n";
  bool placed_ = false;  // the next write starts a field of its own (setPos came before it)
};

// Writes `text` into `line` at `column` without covering other characters: blanks
// only lengthen the line, and text that meets other characters moves right to one
// blank past them. Returns the column where the text landed.
int placeWithoutOverwriting(QString& line, int column, const QString& text);

}  // namespace velmont::print
