#pragma once

#include <QString>

namespace qorv::automation {

class Workbook;

// Writes the workbook as an .xlsx package (a ZIP of XML parts) and returns the name it saved
// under. The archive is written completely under a hidden temporary name in the target's
// folder and flushed to disk before it gets its name. With mustBeNew an existing file is never
// replaced: the name is taken exclusively, and when another file has it the next free of
// name_2, name_3, ... is used. Without, the file at `path` (the workbook's own) is replaced.
// On failure nothing is left behind and AutomationError (CannotWrite) is thrown.
QString writePackage(const Workbook& book, const QString& path, bool mustBeNew, int level);

}  // namespace qorv::automation
