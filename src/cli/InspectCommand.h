#pragma once

#include "cli/CommandLine.h"
#include "report/LoadLogFile.h"

#include <QJsonObject>
#include <QTextStream>

namespace qorv::cli {

// What one load left, as the JSON object of `inspect --json`: the fields under their own names,
// lists as arrays of strings, times as [hour, minute, second], a field without a value as null.
QJsonObject InspectObject(const ProgramState& state);

// Loads every file in turn into one program state (so kept fields carry over) and prints what
// each load left. Returns the exit code: 0, or 1 when a file could not be read.
int RunInspect(const InspectRequest& request, QTextStream& out, QTextStream& err);

}  // namespace qorv::cli
