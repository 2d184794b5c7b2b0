#pragma once
// The school's data directory, the one way to its files. Tables, indexes, memo
// files, flag files and pictures are found by name in whatever letter case the
// folder holds them (a folder copied from Windows often has them in upper
// case), so that a file the school has is never taken for a missing one, and
// a file the program creates when it is missing is never made beside the
// school's own. The folder reads its code page once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/code_page.h"
#include "data/file.h"

namespace velmont::data {
class Table;
}

namespace velmont::school {

class SchoolFolder {
 public:
  // The current directory.
  SchoolFolder();
  explicit SchoolFolder(std::string dir);

  // The directory as the user gave it.
  const std::string& dir() const { return dir_; }

  // The path of the school's file `name` as the folder holds it, in any letter
  // case; where the program creates it (`name` as written) when there is none.
  std::string path(std::string_view name) const;
  // The same for a table: ".dbf" is added to a name without an extension.
  std::string table(std::string_view name) const;
  // The path of `name` as the folder holds it, in any letter case; "" when the
  // folder has no such entry.
  std::string find(std::string_view name) const;
  // The same, but only a regular file counts (not a directory of that name).
  std::string file(std::string_view name) const;
  // Whether the folder holds `name` in any letter case.
  bool has(std::string_view name) const { return !find(name).empty(); }

  // A flag or settings file read whole, up to `limit` bytes (see
  // data::readSideFile); "" when the folder has no such file.
  std::string readFlagFile(std::string_view name, size_t limit) const;
  // Opens the table `name` shared under `alias` in the calling thread's work
  // areas and selects it; an alias already open is selected as it is. Throws
  // data::DataError naming the file when it is missing or damaged.
  data::Table& open(std::string_view name, const std::string& alias,
                    data::OpenMode mode = data::OpenMode::kRead) const;

  // The school's code page: the one in force for its students table, read once
  // for this folder and every copy of it (a code page given for the whole run
  // still comes first).
  data::CodePageChoice codePage() const;
  // The students table's language-driver byte when it names a code page, else
  // 0; tables the program creates are stamped with it.
  uint8_t languageDriver() const;
  // What the flag file codepage.$vl says, as read with the code page.
  const data::CodePageFlag& codePageFlag() const;

  bool operator==(const SchoolFolder& other) const { return dir() == other.dir(); }

 private:
  struct State;
  const State& read() const;
  std::string dir_;
  std::shared_ptr<State> state_;  // shared by copies: the code page is read once
};

}  // namespace velmont::school
