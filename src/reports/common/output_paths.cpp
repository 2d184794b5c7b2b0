#include "output_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "data/file.h"

namespace velmont::reports {

namespace {

namespace fs = std::filesystem;

// Kinds of file that a school's data directory holds and a run may open.
const char* schoolFileKind(std::string extension) {
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension == ".dbf") return "a table";
  if (extension == ".dbt") return "a memo file";
  if (extension == ".ntx") return "an index";
  if (extension == ".$vl") return "a flag file";
  if (extension == ".dst") return "the installation record";
  for (const char* picture : {".bmp", ".jpg", ".jpeg", ".png", ".gif", ".emf", ".wmf", ".ico", ".tif", ".tiff"})
    if (extension == picture) return "a picture";
  return nullptr;
}

fs::path resolved(const fs::path& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::absolute(path) : p;
}

// The school's data directory, resolved.
fs::path schoolDirectory(const school::SchoolFolder& folder) {
  return resolved(data::fsPath(folder.dir().empty() ? "." : folder.dir()));
}

// The same directory: by the file system's own test, so that a name spelled in
// another letter case where the file system ignores case (a Windows drive or
// share) counts, and by the resolved names where the test cannot be made.
bool sameDirectory(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const bool same = fs::equivalent(a, b, ec);
  return ec ? resolved(a) == resolved(b) : same;
}

QStringList refusal(const std::string& outputPath, const QString& why) {
  return {QStringLiteral("The report cannot be written to ") + QString::fromStdString(outputPath),
          why + QStringLiteral(": choose another name.")};
}

}  // namespace

QStringList outputRefusal(const std::string& outputPath, const school::SchoolFolder& folder) {
  if (outputPath.empty()) return {};
  const fs::path dir = schoolDirectory(folder), output = data::fsPath(outputPath);
  // Both the name as typed and the file it leads to (through links) count.
  std::error_code ec;
  const fs::file_status status = fs::status(output, ec);
  for (const fs::path& p : {fs::absolute(output), resolved(output)}) {
    if (p == dir || sameDirectory(p, dir)) return refusal(outputPath, QStringLiteral("it is the school's data directory"));
    if (sameDirectory(p.parent_path(), dir)) {
      if (const char* kind = schoolFileKind(data::pathText(p.extension())))
        return refusal(outputPath, QStringLiteral("it would be %1 of the school's data directory").arg(kind));
      // Whatever else the folder already holds is the school's or the
      // administration system's (a request form, a log, a setting): kept.
      if (fs::exists(status))
        return refusal(outputPath, QStringLiteral("it is the school's file ") +
                                       QString::fromStdString(data::pathText(p.filename())));
    }
  }
  // A device, a pipe or a folder is never replaced by a file of ours.
  if (fs::exists(status) && !fs::is_regular_file(status))
    return refusal(outputPath, fs::is_directory(status)
                                   ? QStringLiteral("it is a folder, not a file")
                                   : QStringLiteral("it is a device or a pipe, not a file"));
  // Another name (a hard link) of a file of the data directory.
  if (fs::is_regular_file(status))
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code same;
      if (fs::equivalent(it->path(), output, same) && !same)
        return refusal(outputPath, QStringLiteral("it is the school's file ") +
                                       QString::fromStdString(data::pathText(it->path().filename())));
    }
  return {};
}

QStringList outputFolderRefusal(const std::string& outputFolder, const school::SchoolFolder& folder) {
  if (outputFolder.empty()) return {};
  if (sameDirectory(resolved(data::fsPath(outputFolder)), schoolDirectory(folder)))
    return refusal(outputFolder, QStringLiteral("it is the school's data directory"));
  return {};
}

}  // namespace velmont::reports
