#include "workspace.h"

namespace velmont::data {

Table& Workspace::open(const std::string& path, const std::string& alias, OpenMode mode) {
  if (int area = areaOf(alias)) {
    current_ = area;
    return *areas_[size_t(area - 1)];
  }
  auto table = Table::open(path, alias, mode);
  size_t slot = 0;
  while (slot < areas_.size() && areas_[slot]) ++slot;
  if (slot == areas_.size()) areas_.emplace_back();
  areas_[slot] = std::move(table);
  current_ = int(slot) + 1;
  return *areas_[slot];
}

int Workspace::areaOf(const std::string& alias) const {
  for (size_t i = 0; i < areas_.size(); ++i)
    if (areas_[i] && sameName(areas_[i]->alias(), alias)) return int(i) + 1;
  return 0;
}

bool Workspace::select(const std::string& alias) {
  const int area = areaOf(alias);
  if (area == 0) return false;
  current_ = area;
  return true;
}

bool Workspace::select(int area) {
  if (area < 1) return false;
  current_ = area;  // selecting an empty area is allowed, as in any xBase engine
  return true;
}

Table* Workspace::current() const {
  const size_t i = size_t(current_ - 1);
  return i < areas_.size() ? areas_[i].get() : nullptr;
}

Table* Workspace::find(const std::string& alias) const {
  const int area = areaOf(alias);
  return area ? areas_[size_t(area - 1)].get() : nullptr;
}

void Workspace::closeCurrent() {
  const size_t i = size_t(current_ - 1);
  if (i >= areas_.size() || !areas_[i]) return;
  Table* closing = areas_[i].get();
  // Other tables must not keep relations into the one that goes.
  for (auto& t : areas_)
    if (t && t.get() != closing) t->clearRelationsTo(closing);
  areas_[i].reset();
}

void Workspace::close(const std::string& alias) {
  const int saved = current_;
  if (!select(alias)) return;
  closeCurrent();
  current_ = saved;
}

void Workspace::closeAll() {
  for (auto& t : areas_)
    if (t) t->clearRelations();
  areas_.clear();
  current_ = 1;
}

void Workspace::commitAll() {
  for (auto& t : areas_)
    if (t) t->commit();
}

}  // namespace velmont::data
