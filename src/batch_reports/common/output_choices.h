#pragma once
// The output choices that velmont-batch's report commands share beside the
// destination: --pdf-a (archival PDF/A-1b files) and --pages LIST (only those
// pages of the run, counted across the whole run), and the device that a run
// prints on when they or --png are given.
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "print/page_selection.h"
#include "print/forwarding_device.h"
#include "print/print_device.h"

namespace velmont::batch {

class Arguments;

inline constexpr const char* kOutputChoicesHelp =
    "  --pdf-a            write archival PDF/A-1b: every font embedded, the title, the school\n"
    "                     as author and the creation date in the file's metadata\n"
    "  --pages LIST       print only these pages of the run, counted across the whole run:\n"
    "                     \"1-3,5,8-\" is pages 1 to 3, page 5 and page 8 to the end; pages the\n"
    "                     run does not reach are named on stderr (with --pdf or --printer)\n";

struct OutputChoices {
  bool archival = false;
  std::optional<print::PageSelection> pages;
  std::string pagesText;
};

// --pdf-a and --pages of `a`; a malformed page list is a UsageError.
OutputChoices outputChoices(const Arguments& a);

// What a page list let through, counted while the run prints.
struct PageTally {
  int seen = 0;                // pages the run printed
  std::vector<int> passed;     // the run's page numbers that went to the device
};

// Hands on only the pages of the list; every other page is counted and dropped.
// A document none of whose pages is in the list is abandoned: no file, no job.
class PageSelectDevice : public print::ForwardingDevice {
 public:
  PageSelectDevice(std::unique_ptr<print::PrintDevice> inner, print::PageSelection pages,
                   std::shared_ptr<PageTally> tally)
      : ForwardingDevice(std::move(inner)), pages_(std::move(pages)), tally_(std::move(tally)) {}
  bool startDoc(const QString& name) override;
  bool printPage(const print::PageList& page) override;
  bool endDoc() override;
  bool documentDropped() const override { return dropped_; }

 private:
  bool dropped_ = false;
  print::PageSelection pages_;
  std::shared_ptr<PageTally> tally_;
};

// The maker of a run's device: `base` (made when the run starts), with its
// pages also kept as pictures in `pngDir` (when not empty), archival when
// chosen (the school `author` in the metadata), and only the listed pages
// when a list is given (counted in `tally`).
std::function<std::unique_ptr<print::PrintDevice>()> outputDevice(
    std::function<std::unique_ptr<print::PrintDevice>()> base, const QString& pngDir, const OutputChoices& choices,
    const QString& author, std::shared_ptr<PageTally> tally);

// After a run with a page list: names on `err` the pages the run did not reach.
// False when none of the listed pages was printed (nothing was written).
bool reportPageList(const OutputChoices& choices, const PageTally& tally, std::ostream& err);

}  // namespace velmont::batch
