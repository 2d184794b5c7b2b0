#pragma once
// Where a report may be written. Outputs never touch the school's files: a PDF,
// text file or picture folder that names a table, memo, index, flag file,
// installation record or picture of the data directory (or the directory
// itself, or another name of such a file) is refused before anything is opened.
#include <QStringList>
#include <string>

#include "school/school_folder.h"

namespace velmont::reports {

// The message lines that refuse `outputPath` for a run on the school in
// `folder`, or an empty list when the path may be written.
QStringList outputRefusal(const std::string& outputPath, const school::SchoolFolder& folder);

// The same for a folder that receives page pictures or PDF files: refused when
// it is the data directory.
QStringList outputFolderRefusal(const std::string& outputFolder, const school::SchoolFolder& folder);

}  // namespace velmont::reports
