#include "output_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

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

fs::path resolved(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(fs::path(path), ec), ec);
  return ec ? fs::absolute(fs::path(path)) : p;
}

QStringList refusal(const std::string& outputPath, const QString& why) {
  return {QStringLiteral("The report cannot be written to ") + QString::fromStdString(outputPath),
          why + QStringLiteral(": choose another name.")};
}

}  // namespace

QStringList outputRefusal(const std::string& outputPath, const std::string& dataDir) {
  if (outputPath.empty()) return {};
  const fs::path dir = resolved(dataDir.empty() ? "." : dataDir);
  // Both the name as typed and the file it leads to (through links) count.
  for (const fs::path& p : {fs::absolute(fs::path(outputPath)), resolved(outputPath)}) {
    if (p == dir) return refusal(outputPath, QStringLiteral("it is the school's data directory"));
    if (resolved(p.parent_path().string()) == dir)
      if (const char* kind = schoolFileKind(p.extension().string()))
        return refusal(outputPath, QStringLiteral("it would be %1 of the school's data directory").arg(kind));
  }
  // Another name (a hard link) of a file of the data directory.
  std::error_code ec;
  if (fs::is_regular_file(outputPath, ec))
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code same;
      if (schoolFileKind(it->path().extension().string()) && fs::equivalent(it->path(), outputPath, same) && !same)
        return refusal(outputPath, QStringLiteral("it is the school's file ") +
                                       QString::fromStdString(it->path().filename().string()));
    }
  return {};
}

QStringList outputFolderRefusal(const std::string& folder, const std::string& dataDir) {
  if (folder.empty()) return {};
  if (resolved(folder) == resolved(dataDir.empty() ? "." : dataDir))
    return refusal(folder, QStringLiteral("it is the school's data directory"));
  return {};
}

}  // namespace velmont::reports
