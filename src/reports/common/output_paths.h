#pragma once
// Where a report may be written. Outputs never touch the school's files: a PDF,
// text file or picture folder that names a table, memo, index, flag file,
// installation record or picture of the data directory (or the directory
// itself, or another name of such a file) is refused before anything is opened.
#include <QStringList>
#include <string>

namespace velmont::reports {

// The message lines that refuse `outputPath` for a run on the school in
// `dataDir`, or an empty list when the path may be written.
QStringList outputRefusal(const std::string& outputPath, const std::string& dataDir);

// The same for a folder that receives page pictures: refused when it is the
// data directory.
QStringList outputFolderRefusal(const std::string& folder, const std::string& dataDir);

}  // namespace velmont::reports
