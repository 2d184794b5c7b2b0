#include "preview_level.h"

#include <atomic>
#include <mutex>

namespace velmont::preview {

namespace {
constexpr int kStartLevel = 3;
std::atomic<int> builtIn{kStartLevel};
std::mutex storeMutex;
std::function<int()> storeGet;
std::function<void(int)> storeSet;
}  // namespace

int previewZoomLevel() {
  std::function<int()> get;
  {
    std::lock_guard lock(storeMutex);
    get = storeGet;
  }
  return get ? get() : builtIn.load();
}

void setPreviewZoomLevel(int level) {
  std::function<void(int)> set;
  {
    std::lock_guard lock(storeMutex);
    set = storeSet;
  }
  if (set)
    set(level);
  else
    builtIn.store(level);
}

void setPreviewZoomLevelStore(std::function<int()> get, std::function<void(int)> set) {
  std::lock_guard lock(storeMutex);
  storeGet = std::move(get);
  storeSet = std::move(set);
}

}  // namespace velmont::preview
