#include "print_settings.h"

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "data/error.h"
#include "data/table.h"
#include "data/table_locks.h"
#include "libs/letterhead_setup.h"
#include "libs/lmd_tables.h"
#include "qtcore/school_text.h"

namespace velmont::printer {
namespace {

constexpr const char* kControlFile = "sccontro.dbf";
constexpr uint32_t kControlRecord = 3;
constexpr uint32_t kWatermarkRecord = 6;

// Opens a table of the data directory on its own handle and moves to `recno`;
// a table without that record is reported as damaged.
std::unique_ptr<data::Table> openAt(const school::SchoolFolder& folder, const char* file, const char* alias,
                                    uint32_t recno, data::OpenMode mode) {
  auto table = data::Table::open(folder.table(file), alias, mode);
  if (table->reccount() < recno)
    throw data::DataError(table->path(), "the table has no record " + std::to_string(recno));
  table->goTo(recno);
  return table;
}

// Replaces fields of the current record under its lock.
template <class Write>
void writeLocked(data::Table& table, Write write) {
  data::RecordLock lock(table, 1000);
  if (!lock.held())
    throw data::DataError(table.path(), "record " + std::to_string(table.recno()) +
                                            " is in use by another user; try again in a moment");
  write();
  lock.release();
  table.commit();
}

// The range and decimals of a numeric field: its width holds the sign, the
// digits and the decimal point.
NumberCapacity capacityOf(const data::Table& table, const char* name) {
  NumberCapacity c;
  const int index = table.fieldIndex(name);
  if (index < 0) return c;
  const data::FieldDesc& f = table.field(index);
  if (f.type != 'N' && f.type != 'F') return c;
  c.decimals = f.decimals;
  const int whole = std::min(f.width - (f.decimals > 0 ? f.decimals + 1 : 0), 4);
  const double step = std::pow(10.0, -f.decimals);
  c.maximum = std::pow(10.0, whole) - step;
  c.minimum = whole > 1 ? -(std::pow(10.0, whole - 1) - step) : 0;
  return c;
}

}  // namespace

std::vector<std::string> readPrintSettings(const school::SchoolFolder& folder, PrintSettings& settings) {
  settings = PrintSettings{};
  std::vector<std::string> errors;
  settings.haveControl = folder.has(kControlFile);
  settings.haveLetterhead = folder.has(libs::kLetterheadFile);
  if (!settings.haveLetterhead && folder.has("rv_mark.gif")) settings.watermark = "rv_mark.gif";
  if (settings.haveControl) {
    try {
      auto control = openAt(folder, kControlFile, "sccontro", kControlRecord, data::OpenMode::kRead);
      const double logo = control->num("PA_NXT_TRN");
      const double margin = control->num("PA_OPN_BAL");
      settings.logoHeight = logo == 0 ? kDefaultLogoHeight : logo;
      settings.topMargin = margin;
      settings.marginField = capacityOf(*control, "PA_OPN_BAL");
      settings.logoField = capacityOf(*control, "PA_NXT_TRN");
    } catch (const data::DataError& e) {
      settings.haveControl = false;
      errors.push_back(e.what());
    }
  }
  if (settings.haveLetterhead) {
    try {
      auto letterhead =
          openAt(folder, libs::kLetterheadFile, "rvhplogo", kWatermarkRecord, data::OpenMode::kRead);
      // A file name: decoded from the table's code page before it is looked up.
      settings.watermark = qtcore::SchoolText::of(*letterhead).toUtf8(letterhead->text("LDE"));
    } catch (const data::DataError& e) {
      settings.haveLetterhead = false;
      errors.push_back(e.what());
    }
  }
  return errors;
}

void writePrintSettings(const school::SchoolFolder& folder, const PrintSettings& settings) {
  // The watermark's name goes into the letterhead table in its code page; a
  // name it cannot hold is refused before anything is written.
  std::unique_ptr<data::Table> letterhead;
  std::string watermark;
  if (settings.haveLetterhead) {
    letterhead = openAt(folder, libs::kLetterheadFile, "rvhplogo", kWatermarkRecord, data::OpenMode::kReadWrite);
    const qtcore::SchoolText& codePage = qtcore::SchoolText::of(*letterhead);
    const QString name = QString::fromStdString(settings.watermark);
    if (!codePage.encode(name, watermark))
      throw data::DataError(letterhead->path(), codePage.refusalMessage(codePage.refusedCharacter(name)).toStdString());
  }
  if (settings.haveControl) {
    auto control = openAt(folder, kControlFile, "sccontro", kControlRecord, data::OpenMode::kReadWrite);
    writeLocked(*control, [&] {
      control->replace("PA_NXT_TRN", settings.logoHeight);
      control->replace("PA_OPN_BAL", settings.topMargin);
    });
  }
  if (letterhead) writeLocked(*letterhead, [&] { letterhead->replace("LDE", std::string_view(watermark)); });
}

std::vector<std::string> watermarkChoices(const std::string& dir) {
  std::vector<std::string> choices{"none"};
  const QDir d(QString::fromStdString(dir.empty() ? "." : dir));
  auto add = [&](const QString& pattern, const QStringList& excluded) {
    const QStringList names = d.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
      bool skip = false;
      for (const QString& prefix : excluded) skip = skip || name.startsWith(prefix, Qt::CaseSensitive);
      if (!skip) choices.push_back(name.toStdString());
    }
  };
  add("*.bmp", {});
  add("*.gif", {"TAB", "KIDS", "STMENU"});
  add("*.jpg", {"SURFACE"});
  return choices;
}

}  // namespace velmont::printer
