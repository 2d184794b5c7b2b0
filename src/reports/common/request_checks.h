#pragma once
// Checks that every report's request builder makes of the user's choices,
// whether they were typed in an options dialog or given to velmont-batch.
#include <QStringList>
#include <stdexcept>
#include <string>

#include "data/workspace.h"
#include "school/school_folder.h"

namespace velmont::reports {

// A choice a run cannot start with. `field` is the choice's name as
// velmont-batch's option ("from", "class", ...), which the dialogs map to their
// fields; what() is the one-line form after the option's dashes ("from: the
// school has no year level \"Q\""), lines() the message box's lines.
class RequestRefused : public std::runtime_error {
 public:
  RequestRefused(std::string field, const std::string& line, QStringList lines)
      : std::runtime_error(line), field_(std::move(field)), lines_(std::move(lines)) {}
  const std::string& field() const { return field_; }
  const QStringList& lines() const { return lines_; }

 private:
  std::string field_;
  QStringList lines_;
};

// The year level a typed code stands for (" 7", "12", "FS"). Refuses a code
// the school does not have, a level outside 1 to 20 and a level without fees
// (the fees message in the school's word `yrGrd`).
int yearLevelChoice(data::Workspace& ws, const school::SchoolFolder& folder, const std::string& field,
                    const std::string& code, const std::string& yrGrd);

// Typed text (a home class, a name) in the school's code page, trimmed, so that
// it compares with the students table's bytes; a character the code page
// cannot hold could never match and is refused by name.
std::string schoolBytesChoice(const QString& typed, const school::SchoolFolder& folder, const std::string& field);

}  // namespace velmont::reports
