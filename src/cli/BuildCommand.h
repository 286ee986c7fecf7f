#pragma once

#include "cli/CommandLine.h"
#include "cli/FileSteps.h"

#include <QTextStream>

#include <functional>
#include <optional>

namespace qorv::cli {

// Builds one report per file: load, the options on top, the report button's validation, the
// run. Prints each saved path on `out`, progress and every message on `err`, each message after
// the path of the file it is about. Returns 0 when every report was built, 2 when a file was
// missing, no regular file or its options did not pass the checks, else 1 when a load or a run
// failed, a requested PDF copy could not be made or `out` could not be written; every file is
// tried. With `request.jobs` above 1 and several files, the files are built in processes of
// their own (RunParallelBuild), each giving the report it gets here.
//
// Progress goes to `err`: with `progressToTerminal` (`err` is a terminal) one line redrawn in
// place; elsewhere (a log, a pipe) none, unless `request.progressSteps` asks for a line per step.
int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err,
             bool progressToTerminal);

// The steps of a build that the batch in one process and the batch over several processes
// share.

// How a run's progress shows on standard error: one line redrawn in place (a terminal), a line
// per step (asked for with --progress), or not at all.
enum class ProgressStyle { Bar, Steps, None };

// Told the state a file's load step left (the check of the path and the load, `loaded` when
// the load succeeded), before the options and the run.
using LoadStepListener = std::function<void(const ProgramState& state, bool loaded)>;

// Check, load, options, validation, run for one file on `state`; the saved paths go to `out`
// (a failure to write them into `outputError`, once), everything about the file to `err` after
// its path.
FileOutcome BuildOne(const QString& file, const ReportOverrides& overrides, ProgramState& state,
                     QTextStream& out, QTextStream& err, ProgressStyle progress, int& outputError,
                     const LoadStepListener& afterLoad = {});

// Builds the files one after the other on `state`, which hands the kept fields from each file
// on to the next; returns the batch's exit code.
int BuildInTurn(const QStringList& files, const ReportOverrides& overrides, ProgramState& state,
                QTextStream& out, QTextStream& err, ProgressStyle progress);

}  // namespace qorv::cli
