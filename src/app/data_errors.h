#pragma once
// A file of the school that is missing or damaged stops the command that needs
// it with a message naming the file and what is wrong; the program goes on.
#include <QString>
#include <QStringList>
#include <functional>

#include "data/error.h"

class QWidget;

namespace velmont::app {

// The message lines for a file error.
QStringList dataErrorLines(const data::DataError& error);

// Runs `work`; a DataError is shown in a message box. True when it completed.
bool showDataErrors(QWidget* owner, const std::function<void()>& work);

}  // namespace velmont::app
