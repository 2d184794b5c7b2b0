#include "change_proc.h"

#include <QRegularExpression>

#include "data/workspace.h"
#include "data_errors.h"
#include "libs/date_text.h"
#include "libs/lmd_tables.h"
#include "widgets/lmd_messages.h"
#include "school/session.h"
#include "school/term_rules.h"

namespace velmont::app {

bool CHANGE_PROC(school::Session& session, bool ask, QWidget* owner) {
  return showDataErrors(owner, [&] {
    data::Workspace& ws = data::Workspace::forThisThread();
    const bool hadCurrent = ws.current() != nullptr;
    const int savedArea = ws.currentArea();
    const bool openedHere = !ws.isOpen("sccontro");
    const school::SessionValues v = session.values();
    struct Restore {
      data::Workspace& ws;
      bool opened, hadCurrent;
      int area;
      ~Restore() {
        if (opened) ws.close("sccontro");
        if (hadCurrent) ws.select(area);
      }
    } restore{ws, openedHere, hadCurrent, savedArea};

    data::Table& control = v.folder.open("sccontro", "sccontro");
    data::Date typed;
    if (ask) {
      bool cancelled = false;
      const QString answer =
          widgets::lmdGetStr("Processing Date", 10, QString::fromStdString(libs::datePicture()),
                             QString::fromStdString(libs::dateText(v.date)), owner, &cancelled);
      // Cancel changes nothing: not the date, nor the term and year set by hand.
      if (cancelled) return;
      typed = libs::dateFromText(answer.toStdString());
      // An empty answer keeps the date silently (cancelled); a typed date that does not exist is told.
      if (typed.empty() && answer.contains(QRegularExpression("[0-9]")))
        widgets::lmdMsg({"\"" + answer.trimmed() + "\" is not a date.",
                         "The processing date stays " + QString::fromStdString(libs::dateText(v.date)) + "."},
                        0, owner);
    }
    const school::TermStarts starts = school::readTermStarts(control);
    control.goTop();
    session.update([&](school::SessionValues& values) { school::applyProcessingDate(values, starts, typed); });
  });
}

}  // namespace velmont::app
