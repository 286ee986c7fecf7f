#pragma once

#include "report/LoadLogFile.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace qorv::cli {

// The steps every command of the tool takes: the state it starts with, the load of each file,
// what became of each file, and how the command ends its output.

// The state a command starts with: the program's start values, saving into the current
// directory.
ProgramState StartState();

// What became of one file. Each outcome's value is the exit code it gives, and a larger one is
// worse: a command ends with the worst of its files.
enum class FileOutcome {
    Done = 0,     // built, or shown
    Failed = 1,   // a load or a run failed, or a requested PDF copy could not be made
    Refused = 2,  // refused before its run: its path or its options did not pass the checks
};
int ExitCodeOf(FileOutcome outcome);
// The outcome a process of the tool reported by its exit code; any code but 0 and 2 is a
// failure.
FileOutcome OutcomeOfExitCode(int code);

// Why a file ended, and its message for standard error.
struct FileFailure {
    FileOutcome outcome;
    QString message;
};

// What the load step refuses by the path alone, before the load resets the state.
enum class PathCheck {
    // Nothing there, or no regular file: refused as the window's report button refuses it.
    MissingOrNotRegular,
    // Nothing there only; the load tells what else is wrong with the path.
    Missing,
    // Nothing: the load tells what is wrong with the path, and leaves the state it reset.
    None,
};

// The load step of one file on `state`: the check of the path (Refused), then the load (Failed;
// a failed load leaves its partial state).
std::optional<FileFailure> LoadStep(const QString& file, ProgramState& state, PathCheck check);

// The worst outcome of a command's files and how the command ends.
struct CommandOutcome {
    FileOutcome worst = FileOutcome::Done;
    int outputError = 0;  // the system's error number of the first failed write to `out`

    void add(FileOutcome outcome);
    // Flushes `out`; a failed write to it (the one in `outputError`, or one the flush finds) is
    // reported on `err` and counts as a failure. Returns the exit code of the worst outcome.
    int finish(QTextStream& out, QTextStream& err);
};

}  // namespace qorv::cli
