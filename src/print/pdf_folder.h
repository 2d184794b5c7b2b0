#pragma once
// The folder in which the user last saved a PDF, shared by every save question of
// the process (the report dialogs' F4 and the preview's print), so that each one
// starts where the last one ended.
#include <QString>

namespace velmont::print {

// The folder last used, else the user's documents folder (else the home folder).
QString pdfSaveFolder();
// Remembers the folder of a file the user chose to save.
void rememberPdfSaveFolder(const QString& file);
// `stem` + ".pdf" in the folder last used; characters a file name cannot hold become "_".
QString suggestedPdfFile(const QString& stem);

}  // namespace velmont::print
