// What the preview window's keys do: answers, zoom, pages, scrolling, markers, printing.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>

#include "preview_dialogs.h"
#include "preview_keys.h"
#include "preview_printer.h"
#include "preview_window.h"

namespace velmont::print {

using namespace pkey;

void lmcPrv3::pWinKeys(int key) {
  const bool stepping = aLocals.stepping;
  auto close = [this](int answer) {
    nRetval = answer;
    if (oPwin) oPwin->postClose();
  };
  auto moveMarker = [](QSpinBox* spin, int by, const std::function<void()>& end) {
    if (!spin) return;
    const int wanted = spin->value() + by;
    if (wanted < spin->minimum() || wanted > spin->maximum()) return;
    spin->setValue(wanted);
    if (end) end();
  };
  const int areaSteps = oArea ? oArea->height() / kScrollStep : 0;
  bool focusBack = true;

  switch (letterOf(key)) {
    case 'N': close(stepping ? 1 : 0); break;
    case 'Q': close(0); break;
    case 'H': showhelp(oPwin); focusBack = false; break;
    case 'F':
    case 'L':
      if (stepping) close(2);
      break;
    case 'G': askPage(); break;
    case 'P':
      if (cPrintWhat == "range")
        printRange();
      else if (!cPrintWhat.isEmpty())
        printSeg(cPrintWhat);
      break;
    case 'M': togmar(); break;
    case 'A':
      if (aLocals.allPages) aLocals.allPages->click();
      break;
    case 'U':
      if (aLocals.currentPage) aLocals.currentPage->click();
      break;
    case 'E':
      // Choosing the range puts the focus in the first-page field.
      if (aLocals.range) aLocals.range->click();
      focusBack = false;
      break;
    case 'S':
      if (aLocals.stayOnTop) aLocals.stayOnTop->click();
      break;
    default:
      switch (key) {
        case kEsc: close(0); break;
        case '-': zoom(-1); break;
        case '+':
        case '=': zoom(1); break;
        case '.':
        case '>': gotoPage(QStringLiteral("next")); break;
        case ',':
        case '<': gotoPage(QStringLiteral("prev")); break;
        case kCtrlComma: gotoPage(1); break;
        case kCtrlPeriod: gotoPage(pageCount()); break;
        case kUp: scrollSteps(-1, 0); break;
        case kDown: scrollSteps(1, 0); break;
        case kLeft: scrollSteps(0, -1); break;
        case kRight: scrollSteps(0, 1); break;
        case kPgUp: scrollSteps(-(areaSteps + 5), 0); break;
        case kPgDn: scrollSteps(areaSteps - 5, 0); break;
        case kCtrl + kUp: scrollSteps(-10, 0); break;
        case kCtrl + kDown: scrollSteps(10, 0); break;
        case kCtrl + kLeft: scrollSteps(0, -10); break;
        case kCtrl + kRight: scrollSteps(0, 10); break;
        case kShift + kUp: moveMarker(oSpinL, -1, aLocals.spinEnd); break;
        case kShift + kDown: moveMarker(oSpinL, 1, aLocals.spinEnd); break;
        case kShift + kLeft: moveMarker(oSpinC, -1, aLocals.spinEndCol); break;
        case kShift + kRight: moveMarker(oSpinC, 1, aLocals.spinEndCol); break;
        default: break;
      }
  }
  if (focusBack && bFocus) bFocus();
}

void lmcPrv3::printRange() {
  const int pages = pageCount();
  const QString firstText = oPget ? oPget->text().trimmed() : QString();
  if (!firstText.isEmpty() && oTget && oTget->text().trimmed().isEmpty()) {
    printList(firstText);
    return;
  }
  const int first = firstText.toInt();
  const int last = oTget ? oTget->text().trimmed().toInt() : 0;
  if (first <= 0 || last <= 0)
    previewMessage({"One or more Range values is empty"}, oPwin);
  else if (last > pages)
    previewMessage({"A page # is out of Range"}, oPwin);
  else if (first > last)
    previewMessage({"First page # must be", "less than second page #"}, oPwin);
  else
    printSeg(QStringLiteral("range"), first, last);
}

void lmcPrv3::gotoPage(int page) {
  if (page < 1 || page > pageCount()) return;
  nSeg = aSegments[page - 1];
  drawseg();
  if (oPage) oPage->update();
}

void lmcPrv3::gotoPage(const QString& which) {
  int position = positionOf(nSeg);
  if (position == 0) return;
  if (which == "next")
    ++position;
  else if (which == "prev")
    --position;
  else
    return;
  gotoPage(position);  // past either end nothing happens
}

void lmcPrv3::askPage() {
  const int pages = pageCount();
  if (pages > 1) {
    StringPrompt prompt;
    prompt.prompt = "Go To Page:";
    prompt.width = 4;
    prompt.picture = "9999";
    prompt.defaultText = "1";
    prompt.font = "9.Arial";
    prompt.accept = [pages](const QString& text) { return text.trimmed().toInt() <= pages; };
    const std::optional<QString> answer = previewGetString(prompt, oPwin);
    if (answer && !answer->trimmed().isEmpty()) gotoPage(answer->trimmed().toInt());
  }
  if (bFocus) bFocus();
}

void lmcPrv3::spinkeys(int key, const std::function<void()>& endCallback, QSpinBox* spin) {
  if (key == kEsc || key == kEnter || key == kTab) {
    if (bFocus) bFocus();
    return;
  }
  if (endCallback) endCallback();
  if (spin) spin->setFocus(Qt::OtherFocusReason);
}

void lmcPrv3::resizeArea(QSize oldSize, QSize newSize) {
  if (!oArea) return;
  const int dx = newSize.width() - oldSize.width(), dy = newSize.height() - oldSize.height();
  oArea->resize(oArea->size() + QSize(dx, dy));
  // Pixels grow downwards here: the panel moves across only, keeping to the top right.
  if (oPanel) oPanel->move(oPanel->x() + dx, oPanel->y());
}

}  // namespace velmont::print
