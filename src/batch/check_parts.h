#pragma once
// The parts of the data directory check, each adding its findings.
#include <string>

#include "school_check.h"
#include "school_files.h"
#include "school/school_folder.h"

namespace velmont::data {
class Table;
}

namespace velmont::batch {

// Fields that the program reads: present, of a usable type and width.
void checkFields(CheckResult& result, const std::string& file, const data::Table& table, const SchoolTable& need);

// An index file: readable, keys in order, and one entry per record of the
// table under the key the record has now.
void checkIndex(CheckResult& result, const std::string& file, data::Table& table, const std::string& ntxPath,
                const IndexNeed& need, Progress& progress);

// Every record can be read whole, memos included.
void checkRecords(CheckResult& result, const std::string& file, data::Table& table);

// The code page in force for the table, and a warning when its text looks
// written in another; a flag file codepage.$vl that cannot be used.
void checkCodePage(CheckResult& result, const std::string& file, data::Table& table);
void checkCodePageFlag(CheckResult& result, const school::SchoolFolder& folder);

// The records of the control, installation and letterhead tables that the
// program addresses by number, and what they must hold.
void checkControlRecords(CheckResult& result, const std::string& file, data::Table& table);
void checkHeadings(CheckResult& result, const std::string& file, data::Table& table);
void checkInstallation(CheckResult& result, const std::string& file, data::Table& table);
void checkLetterhead(CheckResult& result, const school::SchoolFolder& folder, const std::string& file,
                     data::Table& table);

}  // namespace velmont::batch
