#pragma once
// The card heading editor behind the options dialog's "Multi-Language
// ~Headings" button: a browse of "headeots.dbf" in which the short and long
// heading words are edited in place.
#include <string>

#include "school/school_folder.h"

class QWidget;

namespace velmont::widgets {
class BrowseView;
}

namespace velmont::eot {

// Opens the editor in `dialog` (at row 13.5, column 32) over the headings of
// the school's folder. Before the first run has created "headeots.dbf" it tells the user
// "Please run Report first" / "then Change Headings" and answers null; a table
// that cannot be opened is told with its file name. An editor already open in
// the dialog is given the focus again. ESC closes the editor (not the dialog);
// Enter edits the current cell; each edit is written at once under the
// record's lock.
widgets::BrowseView* editHeadings(QWidget* dialog, const school::SchoolFolder& folder);

}  // namespace velmont::eot
