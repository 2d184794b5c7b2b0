// A report body that opens a dialog.
#include "widgets/lmd_dialog.h"
#include "print/page_printer.h"
#include "reports/common/run_report.h"
