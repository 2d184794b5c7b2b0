#pragma once
// The zoom level that the next preview window opens at (the session value c_Level): 3 at
// start-up, and every zoom step stores the level reached. Safe to use from any thread.
#include <functional>

namespace velmont::preview {

int previewZoomLevel();
void setPreviewZoomLevel(int level);

// Lets the program keep the level in its own session values: `get` and `set` replace the
// built-in store (pass empty functions to go back to it).
void setPreviewZoomLevelStore(std::function<int()> get, std::function<void(int)> set);

}  // namespace velmont::preview
