#include "year_entry.h"

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
  return result == data::YearCheck::kAccepted;
}

}  // namespace velmont::app
