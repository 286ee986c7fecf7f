#pragma once

#include "cli/CommandLine.h"

#include <QTextStream>

namespace qorv::cli {

// Builds one report per file: load, the options on top, the report button's validation, the
// run. Prints each saved path on `out`, progress and every message on `err`, each message after
// the path of the file it is about. Returns 0 when every report was built, 2 when a file was
// missing, no regular file or its options did not pass the checks, else 1 when a load or a run
// failed, a requested PDF copy could not be made or `out` could not be written; every file is
// tried.
int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err, bool showProgress);

}  // namespace qorv::cli
