#include "year_entry.h"

#include "data/text.h"
#include "data/workspace.h"
#include "data/year_names.h"
#include "data_errors.h"
#include "libs/widgets/lmd_messages.h"
#include "session.h"

namespace velmont::app {

void CHK_YR_NO_AM(const Session& session, QWidget* owner) {
  const auto lines = data::yearFeesMessage(session.get(&SessionValues::yearNames).word);
  widgets::lmdMsg({QString::fromLatin1(lines[0]), QString::fromLatin1(lines[1])}, 14, owner);
}

bool chk_yrin(const Session& session, const std::string& typed, int* level, QWidget* owner) {
  data::YearCheck result = data::YearCheck::kUnknown;
  const bool read = showDataErrors(owner, [&] {
    result = data::checkYearEntry(data::Workspace::forThisThread(), session.get(&SessionValues::dataDir), typed,
                                  level);
  });
  if (!read) return false;
  if (result == data::YearCheck::kNoFees) CHK_YR_NO_AM(session, owner);
  if (result == data::YearCheck::kUnknown) {
    // Refused with a word: a blank entry or a code that no level of the school has.
    const QString word = QString::fromLatin1(data::trim(session.get(&SessionValues::yearNames).word));
    const QString code = QString::fromLatin1(data::trim(typed));
    if (code.isEmpty())
      widgets::lmdMsg({"Please enter a School " + word + "."}, 0, owner);
    else
      widgets::lmdMsg({"No School " + word + " has the code \"" + code + "\".",
                       "Please enter a " + word + " that this school uses."},
                      0, owner);
  }
  return result == data::YearCheck::kAccepted;
}

}  // namespace velmont::app
