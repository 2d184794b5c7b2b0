#include "school_folder.h"

#include <mutex>

#include "libs/lmd_tables.h"

namespace velmont::school {

struct SchoolFolder::State {
  std::once_flag once;
  uint8_t driver = 0;
  data::CodePageFlag flag;
};

SchoolFolder::SchoolFolder() : SchoolFolder(".") {}

SchoolFolder::SchoolFolder(std::string dir) : dir_(std::move(dir)), state_(std::make_shared<State>()) {}

std::string SchoolFolder::find(std::string_view name) const {
  // A name with a directory part (a picture named in a settings table) is
  // looked up in its own directory.
  return data::findFile(data::pathIn(dir(), std::string(name)));
}

std::string SchoolFolder::file(std::string_view name) const {
  std::string found = find(name);
  return !found.empty() && data::Env::current()->exists(found) ? found : std::string();
}

std::string SchoolFolder::path(std::string_view name) const {
  std::string found = find(name);
  return found.empty() ? data::pathIn(dir(), std::string(name)) : found;
}

std::string SchoolFolder::table(std::string_view name) const {
  std::string file(name);
  if (data::fileNameOf(file).find('.') == std::string::npos) file += ".dbf";
  return path(file);
}

std::string SchoolFolder::readFlagFile(std::string_view name, size_t limit) const {
  const std::string found = find(name);
  return found.empty() ? std::string() : data::readSideFile(found, limit);
}

data::Table& SchoolFolder::open(std::string_view name, const std::string& alias, data::OpenMode mode) const {
  return libs::lmdOpenDbf(table(name), alias, mode);
}

const SchoolFolder::State& SchoolFolder::read() const {
  std::call_once(state_->once, [this] {
    state_->driver = data::schoolLanguageDriver(dir());
    state_->flag = data::readCodePageFlag(dir());
  });
  return *state_;
}

data::CodePageChoice SchoolFolder::codePage() const {
  const State& s = read();
  return data::codePageInForce(s.driver, s.flag);
}

uint8_t SchoolFolder::languageDriver() const { return read().driver; }

const data::CodePageFlag& SchoolFolder::codePageFlag() const { return read().flag; }

}  // namespace velmont::school
