#pragma once
// The folder in which the user last saved a PDF, for each report (by its code)
// and for any report, shared by every save question of the process (the report
// dialogs' F4 and the preview's print), so that each one starts where the last
// one for that report ended. The program keeps the folders across its starts
// in a settings file of its own (keepSaveFoldersIn); without one (tests,
// velmont-batch) they last as long as the process.
#include <QString>

namespace velmont::print {

// The folder last used for `report`, else the folder last used for any report,
// else the user's documents folder (else the home folder). A folder that no
// longer exists is passed over.
QString pdfSaveFolder(const QString& report = {});
// Remembers the folder that holds `path` (a file saved, or the folder that
// received one file per family: its parent is remembered, so that the next
// question does not open inside it), for `report` and for any report.
void rememberPdfSaveFolder(const QString& path, const QString& report = {});
// `stem` + ".pdf" in the folder last used for `report`; characters a file name
// cannot hold become "_".
QString suggestedPdfFile(const QString& stem, const QString& report = {});

// The settings file (INI) that keeps the folders across starts; "" keeps them
// in the process only. The program names the file in the user's configuration
// folder (userSettingsFile), never in the school's folder.
void keepSaveFoldersIn(const QString& settingsFile);
// The program's settings file in the user's configuration folder
// (~/.config/velmont/velmont.ini, or %LOCALAPPDATA%\velmont\velmont.ini on Windows).
QString userSettingsFile();

}  // namespace velmont::print
