#pragma once
// Opening a file or folder in the program the desktop assigns to it (a PDF in
// its viewer, a folder in the file manager). Not every desktop offers that: a
// bare X session has no opener, and callers then say where the file is.
#include <QString>

namespace velmont::widgets {

// Whether this desktop can open files and folders for the program.
bool desktopOpens();

// Opens `path` (a file or a folder) with the desktop's program for it, without
// a shell command line; false when nothing could be started.
bool desktopOpen(const QString& path);

}  // namespace velmont::widgets
