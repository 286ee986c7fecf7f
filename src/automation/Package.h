#pragma once

#include <QString>

namespace qorv::automation {

class Workbook;

// Writes the workbook as an .xlsx package (a ZIP of XML parts). The archive is written to a
// temporary file in the target's directory and renamed over the target only when complete;
// on failure nothing is left behind and AutomationError (CannotWrite) is thrown. With
// mustBeNew an existing file is never replaced.
void writePackage(const Workbook& book, const QString& path, bool mustBeNew, int level);

}  // namespace qorv::automation
