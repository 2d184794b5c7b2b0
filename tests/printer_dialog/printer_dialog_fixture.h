#pragma once
// The printer dialog over a copy of the demo school, driven as a user would:
// the dialog is answered from inside its own event loop.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "school/session.h"
#include "data/table.h"
#include "gui_helpers.h"
#include "printer/rv_prn_dlg.h"
#include "widgets/lmd_dialog.h"
#include "widgets/picture_edit.h"
#include "school_fixture.h"

namespace velmont::testing {

// A system print dialog that answers the device `name`, or nothing for "".
inline printer::SystemPrintDialog answeringPrinter(const QString& name) {
  return [name](QWidget*) -> std::optional<printer::PrtSettings> {
    if (name.isEmpty()) return std::nullopt;
    printer::PrtSettings s;
    s[0] = "1";
    s[printer::kPrtDeviceName] = name;
    return s;
  };
}

class PrinterDialogTest : public ::testing::Test {
 protected:
  PrinterDialogTest() { session.set(&school::SessionValues::folder, school::SchoolFolder(school.dir())); }
  ~PrinterDialogTest() override { printer::setSystemPrintDialog({}); }

  // Runs the dialog; `act` gets it once it is shown.
  printer::PrtSettings run(std::function<void(widgets::LmdDialog*)> act, printer::PrnDlgOptions options = {}) {
    onNextModal([act](QWidget* w) {
      // Keys go to the focused field of the active window, as for a user.
      w->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(w));
      act(qobject_cast<widgets::LmdDialog*>(w));
    });
    return printer::RVPrnDlg(session, options);
  }

  static widgets::PictureEdit* edit(widgets::LmdDialog* d, int position) {
    return qobject_cast<widgets::PictureEdit*>(d->fields().at(size_t(position - 1)));
  }
  static QComboBox* watermark(widgets::LmdDialog* d) { return qobject_cast<QComboBox*>(d->fields().at(1)); }
  static void click(widgets::LmdDialog* d, const QString& text) {
    for (QPushButton* b : d->findChildren<QPushButton*>())
      if (b->text() == text) return b->click();
    ADD_FAILURE() << "no button " << text.toStdString();
  }
  // Replaces a field's text by typing, as a user would.
  static void type(widgets::LmdDialog* d, int position, const QString& text) {
    QWidget* f = d->fields().at(size_t(position - 1));
    f->setFocus();
    if (auto* e = qobject_cast<widgets::PictureEdit*>(f)) e->selectAll();
    QTest::keyClicks(f, text);
  }

  double control(const char* field) const {
    auto t = data::Table::open(school.file("sccontro.dbf"), "ctl");
    t->goTo(3);
    return t->num(field);
  }
  std::string storedWatermark() const {
    auto t = data::Table::open(school.file("rvhplogo.dbf"), "lh");
    t->goTo(6);
    return t->text("LDE");
  }

  SchoolCopy school;
  school::Session session;
};

}  // namespace velmont::testing
