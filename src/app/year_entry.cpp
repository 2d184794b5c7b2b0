#include "year_entry.h"

#include "data/code_page.h"
#include "data/text.h"
#include "data/workspace.h"
#include "school/year_names.h"
#include "data_errors.h"
#include "widgets/lmd_messages.h"
#include "qtcore/school_text.h"
#include "school/session.h"

namespace velmont::app {

void CHK_YR_NO_AM(const school::Session& session, QWidget* owner) {
  // The message quotes the school's year word, in its code page.
  const auto lines = school::yearFeesMessage(session.get(&school::SessionValues::yearNames).word);
  const qtcore::SchoolText& text =
      qtcore::SchoolText::of(session.get(&school::SessionValues::folder).codePage().codePage);
  widgets::lmdMsg({text.decode(lines[0]), text.decode(lines[1])}, 14, owner);
}

bool chk_yrin(const school::Session& session, const std::string& typed, int* level, QWidget* owner) {
  school::YearCheck result = school::YearCheck::kUnknown;
  const bool read = showDataErrors(owner, [&] {
    result = school::checkYearEntry(data::Workspace::forThisThread(), session.get(&school::SessionValues::folder), typed,
                                  level);
  });
  if (!read) return false;
  if (result == school::YearCheck::kNoFees) CHK_YR_NO_AM(session, owner);
  if (result == school::YearCheck::kUnknown) {
    // Refused with a word: a blank entry or a code that no level of the school has.
    const qtcore::SchoolText& text =
        qtcore::SchoolText::of(session.get(&school::SessionValues::folder).codePage().codePage);
    const QString word = text.decode(data::trim(session.get(&school::SessionValues::yearNames).word));
    const QString code = QString::fromStdString(data::trim(typed));  // as typed
    if (code.isEmpty())
      widgets::lmdMsg({"Please enter a School " + word + "."}, 0, owner);
    else {
      // The codes the school uses, so that the right one can be typed at once.
      QStringList codes;
      showDataErrors(owner, [&] {
        for (const std::string& c :
             school::yearCodesInUse(data::Workspace::forThisThread(), session.get(&school::SessionValues::folder)))
          codes << text.decode(c);
      });
      widgets::lmdMsg({"No School " + word + " has the code \"" + code + "\".",
                       "Please enter a " + word + " that this school uses" +
                           (codes.isEmpty() ? QString(".") : ": " + codes.join(", ") + ".")},
                      0, owner);
    }
  }
  return result == school::YearCheck::kAccepted;
}

}  // namespace velmont::app
