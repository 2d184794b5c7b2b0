// What the preview window's keys do: answers, zoom, pages, scrolling, markers, printing.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>

#include "preview_dialogs.h"
#include "preview_help.h"
#include "preview_keys.h"
#include "preview_window.h"
#include "print/preview_document.h"

namespace velmont::preview {

using namespace pkey;

void PreviewWindow::pWinKeys(int key) {
  auto moveMarker = [this](QSpinBox* spin, int by) {
    const int wanted = spin->value() + by;
    if (wanted < spin->minimum() || wanted > spin->maximum()) return;
    spin->setValue(wanted);
    if (spin == rowSpin_)
      rowMarkerSet();
    else
      columnMarkerSet();
  };
  const int areaSteps = area_->height() / kScrollStep;
  bool focusBack = true;

  switch (letterOf(key)) {
    case 'N': answerWith(stepping_ ? 1 : 0); break;
    case 'Q': answerWith(0); break;
    case 'H': showPreviewHelp(this); focusBack = false; break;
    case 'F':
    case 'L':
      if (stepping_) answerWith(2);
      break;
    case 'G': askPage(); break;
    case 'P':
      if (printWhat_ == "range")
        printRange();
      else
        print(printWhat_);
      break;
    case 'M': togmar(); break;
    case 'A': allPages_->click(); break;
    case 'U': currentPageButton_->click(); break;
    case 'E':
      // Choosing the range puts the focus in the first-page field.
      rangeButton_->click();
      focusBack = false;
      break;
    case 'S': stayOnTop_->click(); break;
    default:
      switch (key) {
        case kEsc: answerWith(0); break;
        case '-': zoom(-1); break;
        case '+':
        case '=': zoom(1); break;
        case '.':
        case '>': gotoPage(QStringLiteral("next")); break;
        case ',':
        case '<': gotoPage(QStringLiteral("prev")); break;
        case kCtrlComma: gotoPage(1); break;
        case kCtrlPeriod: gotoPage(document_.pageCount()); break;
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
        case kShift + kUp: moveMarker(rowSpin_, -1); break;
        case kShift + kDown: moveMarker(rowSpin_, 1); break;
        case kShift + kLeft: moveMarker(columnSpin_, -1); break;
        case kShift + kRight: moveMarker(columnSpin_, 1); break;
        default: break;
      }
  }
  if (focusBack) focusKeys();
}

void PreviewWindow::printRange() {
  const int pages = document_.pageCount();
  const QString firstText = firstPageField_->text().trimmed();
  if (!firstText.isEmpty() && lastPageField_->text().trimmed().isEmpty()) {
    printList(firstText);
    return;
  }
  const int first = firstText.toInt();
  const int last = lastPageField_->text().trimmed().toInt();
  if (first <= 0 || last <= 0)
    previewMessage({"One or more Range values is empty"}, this);
  else if (last > pages)
    previewMessage({"A page # is out of Range"}, this);
  else if (first > last)
    previewMessage({"First page # must be", "less than second page #"}, this);
  else
    print(QStringLiteral("range"), first, last);
}

// Printing may change the paper the document knows of: the page image's viewport
// follows it.
void PreviewWindow::print(const QString& what, int first, int last) {
  document_.printSeg(what, first, last);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void PreviewWindow::printList(const QString& list) {
  document_.printList(list);
  calcVP(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void PreviewWindow::gotoPage(int page) {
  if (page < 1 || page > document_.pageCount()) return;
  document_.nSeg = document_.aSegments[size_t(page - 1)];
  drawseg();
  page_->update();
}

void PreviewWindow::gotoPage(const QString& which) {
  int position = document_.positionOf(document_.nSeg);
  if (position == 0) return;
  if (which == "next")
    ++position;
  else if (which == "prev")
    --position;
  else
    return;
  gotoPage(position);  // past either end nothing happens
}

void PreviewWindow::askPage() {
  const int pages = document_.pageCount();
  if (pages > 1) {
    StringPrompt prompt;
    prompt.prompt = "Go To Page:";
    prompt.width = 4;
    prompt.picture = "9999";
    prompt.defaultText = "1";
    prompt.font = "9.Arial";
    // A page the report does not have is refused with the reason, and the prompt stays for another.
    prompt.accept = [this, pages](const QString& text) {
      const int page = text.trimmed().toInt();
      if (text.trimmed().isEmpty() || (page >= 1 && page <= pages)) return true;
      previewMessage({QStringLiteral("The report has %1 pages: there is no page %2.").arg(pages).arg(text.trimmed()),
                      QStringLiteral("Please enter a page from 1 to %1.").arg(pages)},
                     this);
      return false;
    };
    const std::optional<QString> answer = previewGetString(prompt, this);
    if (answer && !answer->trimmed().isEmpty()) gotoPage(answer->trimmed().toInt());
  } else {
    // Nothing to go to: the user is told why the key did nothing.
    previewMessage({pages == 1 ? QStringLiteral("The report has only one page: there is no other page to go to.")
                               : QStringLiteral("The report has no pages to go to.")},
                   this);
  }
  focusKeys();
}

void PreviewWindow::spinkeys(int key, QSpinBox* spin) {
  if (key == kEsc || key == kEnter || key == kTab) {
    focusKeys();
    return;
  }
  if (spin == rowSpin_)
    rowMarkerSet();
  else
    columnMarkerSet();
  spin->setFocus(Qt::OtherFocusReason);
}

void PreviewWindow::resizeArea(QSize oldSize, QSize newSize) {
  const int dx = newSize.width() - oldSize.width(), dy = newSize.height() - oldSize.height();
  area_->resize(area_->size() + QSize(dx, dy));
  // Pixels grow downwards here: the panel moves across only, keeping to the top right.
  panel_->move(panel_->x() + dx, panel_->y());
}

}  // namespace velmont::preview
