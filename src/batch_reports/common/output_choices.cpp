#include "output_choices.h"

#include "batch/arguments.h"
#include "console_run.h"

namespace velmont::batch {

OutputChoices outputChoices(const Arguments& a) {
  OutputChoices c;
  c.archival = a.has("pdf-a");
  if (const auto list = a.value("pages")) {
    std::string why;
    c.pages = print::PageSelection::parse(*list, &why);
    if (!c.pages) throw UsageError("--pages: " + why);
    c.pagesText = *list;
  }
  return c;
}

bool PageSelectDevice::startDoc(const QString& name) {
  dropped_ = false;
  tally_->seen = 0;
  tally_->passed.clear();
  return inner_->startDoc(name);
}

bool PageSelectDevice::printPage(const print::PageList& page) {
  const int number = ++tally_->seen;
  if (!pages_.contains(number)) return true;
  tally_->passed.push_back(number);
  return inner_->printPage(page);
}

bool PageSelectDevice::endDoc() {
  if (tally_->passed.empty()) {
    inner_->abandonDoc();  // no page of the list: nothing comes out
    dropped_ = true;
    return false;
  }
  return inner_->endDoc();
}

std::function<std::unique_ptr<print::PrintDevice>()> outputDevice(
    std::function<std::unique_ptr<print::PrintDevice>()> base, const QString& pngDir, const OutputChoices& choices,
    const QString& author, std::shared_ptr<PageTally> tally) {
  return [base = std::move(base), pngDir, choices, author, tally]() -> std::unique_ptr<print::PrintDevice> {
    std::unique_ptr<print::PrintDevice> device = base();
    if (!device) return nullptr;
    if (choices.archival) device->setArchival(author);
    if (!pngDir.isEmpty()) device = std::make_unique<PngTeeDevice>(std::move(device), pngDir);
    if (choices.pages) device = std::make_unique<PageSelectDevice>(std::move(device), *choices.pages, tally);
    return device;
  };
}

bool reportPageList(const OutputChoices& choices, const PageTally& tally, std::ostream& err) {
  if (!choices.pages) return true;
  const std::string missing = choices.pages->missingText(tally.seen);
  const std::string total = std::to_string(tally.seen) + " page" + (tally.seen == 1 ? "" : "s");
  if (tally.passed.empty()) {
    err << "velmont-batch: --pages " << choices.pagesText << ": the run has " << total
        << ", none of them listed; nothing was printed\n";
    return false;
  }
  if (!missing.empty())
    err << "velmont-batch: --pages: the run has " << total << "; not printed: " << missing << "\n";
  return true;
}

}  // namespace velmont::batch
