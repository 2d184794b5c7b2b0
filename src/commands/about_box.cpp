#include "about_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "maker.h"

namespace velmont::commands {
namespace {

constexpr double kRows = 16, kColumns = 36;

}  // namespace

bool ABOUTBOX(const QString& version, QWidget* mainWindow) {
  using namespace widgets;
  LmdDialog box(mainWindow, kRows, kColumns, "About Velmont Program", "8.Arial");
  box.setObjectName("aboutBox");
  lmdSetColor(&box, {kNoColour, -2});
  box.setKeyHandler([&box](int key, QWidget*) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      box.accept();
      return true;
    }
    return true;  // any other key does nothing
  });

  auto say = [&box](double row, double column, double rows, double columns, const QString& text,
                    Qt::Alignment align, int colour, const QString& font) {
    SayOptions o;
    o.rows = rows;
    o.columns = columns;
    o.align = align;
    o.font = font;
    o.colours = {colour, -2};
    return lmdMSay(&box, row, column, text, o);
  };
  say(2, 2, 5, 15, "Velmont Reports program", Qt::AlignLeft, 13, "14.Arial Bold");
  say(2.7, 17, 1.35, 19, "Ravelin", Qt::AlignHCenter, 13, "16.Arial Bold");
  say(4.1, 17, 1, 19, "School Administration System", Qt::AlignHCenter, 13, "8.Arial Bold");
  say(5.3, 17, 1, 19, "Version " + version, Qt::AlignHCenter, 3, "8.Arial")->setObjectName("version");
  say(7, 5, 2.5, 28,
      "The Velmont Reports program is made to order for the Ravelin user. "
      "Reports may be printouts, end-of-term Report Cards, etc",
      Qt::AlignLeft, 10, "9.Arial Italic");
  lmdLine(&box, 9.8, 3, 32);
  const QString contact = QString(kMakerInfoEmail) + "\r\n" + kMakerName + "\r\n" + kMakerAddress1 + "\r\n" +
                          kMakerAddress2 + "\r\n" + kMakerPhone + "\r\n" + kMakerFax;
  say(10, 13.5, 4.6, kColumns - 14, contact, Qt::AlignLeft, kNoColour, QString())->setObjectName("contact");

  QPushButton* ok = lmdPshBtn(&box, kRows - 1.3, (kColumns - 6) / 2 + 1, 6, "OK", [&box] { box.accept(); });
  ok->setObjectName("ok");
  box.setModal(true);
  box.show();
  ok->setFocus();
  box.exec();
  if (mainWindow) {
    mainWindow->activateWindow();
    mainWindow->setFocus();
  }
  return true;
}

}  // namespace velmont::commands
