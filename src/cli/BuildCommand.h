#pragma once

#include "cli/CommandLine.h"

#include <QTextStream>

namespace qorv::cli {

// Builds one report per file: load, the options on top, the report button's validation, the
// run. Prints each saved path on `out`, messages and progress on `err`. Returns 0 when every
// report was built, 2 when a file's options did not validate, else 1 when a load or a run
// failed; every file is tried.
int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err, bool showProgress);

}  // namespace qorv::cli
