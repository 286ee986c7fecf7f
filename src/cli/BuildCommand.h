#pragma once

#include "cli/CommandLine.h"

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
// Progress goes to `err`: on a terminal one line redrawn in place; elsewhere (a log, a pipe)
// none, unless `request.progressSteps` asks for a line per step.
int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err, bool terminal);

// The steps of a build that the batch in one process and the batch over several processes
// share.

enum class BuildOutcome { Built, Refused, Failed };

// How a run's progress shows on standard error: one line redrawn in place (a terminal), a line
// per step (asked for with --progress), or not at all.
enum class ProgressStyle { Bar, Steps, None };

// Why a file's load step (the check of its path, then the load) ended it, and its message.
struct LoadStepFailure {
    BuildOutcome outcome;  // Refused for the path, Failed for the load
    QString message;
};

// The load step of one file on `state`: a path with nothing there or that is no regular file
// is refused as the window refuses it, before any load; a failed load leaves its partial state.
std::optional<LoadStepFailure> LoadStep(const QString& file, ProgramState& state);

// Told the state a file's load step left (the check of the path and the load, `loaded` when
// the load succeeded), before the options and the run.
using LoadStepListener = std::function<void(const ProgramState& state, bool loaded)>;

// Check, load, options, validation, run for one file on `state`; the saved paths go to `out`
// (a failure to write them into `outputError`, once), everything about the file to `err` after
// its path.
BuildOutcome BuildOne(const QString& file, const ReportOverrides& overrides, ProgramState& state,
                      QTextStream& out, QTextStream& err, ProgressStyle progress, int& outputError,
                      const LoadStepListener& afterLoad = {});

// The worst outcome of a batch and the exit code it gives.
struct BatchOutcome {
    bool refused = false;
    bool failed = false;
    int outputError = 0;  // the system's error number of the first failed write to `out`

    void add(BuildOutcome outcome);
    // Reports a failed write to standard output; returns refused ? 2 : failed ? 1 : 0.
    int finish(QTextStream& err);
};

// The state a batch starts with: the program's start values, saving into the current directory.
ProgramState StartState();

// Builds the files one after the other on `state`, which hands the kept fields from each file
// on to the next; returns the batch's exit code.
int BuildInTurn(const QStringList& files, const ReportOverrides& overrides, ProgramState& state,
                QTextStream& out, QTextStream& err, ProgressStyle progress);

}  // namespace qorv::cli
