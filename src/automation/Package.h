#pragma once

#include <QString>
#include <QStringView>

namespace qorv::automation {

class Workbook;

// The file a save writes to: `fileName` with `extension` (".xlsx", ".pdf") added unless it
// ends in it, in any case. Throws AutomationError (DirectoryMissing) when its folder is not an
// existing directory.
QString targetFileName(const QString& fileName, QStringView extension);

// Writes the workbook as an .xlsx package (a ZIP of XML parts) and returns the name it saved
// under. The archive is written completely under a hidden temporary name in the target's
// folder and flushed to disk before it gets its name. With mustBeNew an existing file is never
// replaced: the name is taken exclusively, and when another file has it the next free of
// name_2, name_3, ... is used. Without, the file at `path` (the workbook's own) is replaced.
// On failure nothing is left behind and AutomationError (CannotWrite) is thrown.
QString writePackage(const Workbook& book, const QString& path, bool mustBeNew, int level);

}  // namespace qorv::automation
