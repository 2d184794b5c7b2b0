// The letterhead settings and the pictures they name, drawn here.
#include "data/code_page.h"
#include "data/error.h"
#include "data/table.h"
#include "data/table_locks.h"
#include "demo_files.h"
#include "libs/installation.h"
#include "libs/letterhead_setup.h"
#include "picture_files.h"

namespace velmont::batch {

namespace {

const Rgb kNavy{24, 44, 96}, kGold{214, 170, 48}, kWhite{255, 255, 255}, kSky{120, 170, 220};

// The school crest: a navy shield with a gold band and a white roundel.
Canvas crest(int width, int height) {
  Canvas c(width, height, kWhite);
  const int mx = width / 10, my = height / 12;
  c.fillShield(mx, my, width - mx, height - my, kNavy);
  c.fillRect(mx, height * 38 / 100, width - mx, height * 50 / 100, kGold);
  c.fillCircle(width / 2, height * 25 / 100, width / 8, kWhite);
  c.fillCircle(width / 2, height * 25 / 100, width / 14, kSky);
  return c;
}

// The same crest in pale tones, to sit behind text.
Canvas watermark(int width, int height) {
  Canvas c(width, height, kWhite);
  const Rgb paleNavy{222, 226, 238}, paleGold{246, 238, 214};
  const int mx = width / 10, my = height / 12;
  c.fillShield(mx, my, width - mx, height - my, paleNavy);
  c.fillRect(mx, height * 38 / 100, width - mx, height * 50 / 100, paleGold);
  return c;
}

// A banner strip: the kind of picture the printer dialog must not offer.
Canvas banner(int width, int height) {
  Canvas c(width, height, kNavy);
  for (int x = 0; x < width; x += 12) c.fillRect(x, 0, x + 6, height, kGold);
  return c;
}

void setRecord(data::Table& t, uint32_t recno, const std::string& text, double lp, bool bold) {
  t.goTo(recno);
  data::RecordLock lock(t);
  if (!lock.held()) throw data::DataError(t.path(), "record " + std::to_string(recno) + " could not be locked");
  t.replace("LDE", std::string_view(text));
  t.replace("LP", lp);
  t.replace("LBLD", bold);
}

}  // namespace

std::vector<WrittenFile> writeLetterhead(const DemoSchool& school) {
  std::vector<WrittenFile> written;
  const std::string dir = school.options.dir;

  writeBinaryFile(demoPath(school, "crest.png"), encodePng(crest(160, 192)));
  writeBinaryFile(demoPath(school, "watermark.bmp"), encodeBmp(watermark(200, 240)));
  writeBinaryFile(demoPath(school, "school.gif"), encodeGif(crest(120, 144)));
  writeBinaryFile(demoPath(school, "rv_mark.gif"), encodeGif(watermark(100, 120)));
  writeBinaryFile(demoPath(school, "TABBANNER.gif"), encodeGif(banner(96, 24)));
  written.push_back({"crest.png", "the logo, 160 x 192"});
  written.push_back({"watermark.bmp", "the watermark, 200 x 240"});
  written.push_back({"school.gif", "the stand-in logo, 120 x 144"});
  written.push_back({"rv_mark.gif", "the stand-in watermark, 100 x 120"});
  written.push_back({"TABBANNER.gif", "a banner picture not offered as a watermark"});

  libs::setup_lhed(demoPath(school, libs::kLetterheadFile), demoPath(school, libs::kInstallationFile),
                   data::schoolLanguageDriver(dir));
  {
    auto t = data::Table::open(demoPath(school, libs::kLetterheadFile), "rvhplogo", data::OpenMode::kReadWrite);
    setRecord(*t, libs::kLetterheadLine1, school.name, 16, true);
    setRecord(*t, libs::kLetterheadLine2, school.street + ", " + school.town + " " + school.postcode, 10, false);
    setRecord(*t, libs::kLetterheadLine3, "Telephone " + school.phone + "   office@school.example", 9, false);
    setRecord(*t, libs::kLogo, "crest.png", 0, false);
    setRecord(*t, libs::kWatermark, "watermark.bmp", 15, false);
    t->commit();
  }
  written.push_back({libs::kLetterheadFile, "11 letterhead records: three lines, logo crest.png, watermark watermark.bmp"});
  return written;
}

}  // namespace velmont::batch
