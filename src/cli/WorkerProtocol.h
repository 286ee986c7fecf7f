#pragma once

#include "report/CarriedState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>

namespace qorv::cli {

// What a batch with -j and the processes that build its files (the tool's hidden form) tell
// each other, one line at a time.

// What a batch hands a process for one of its files, a line on the process' standard input:
//   {"arguments": [...], "carried": {...}}
// The arguments are the report options and the file as the system's bytes in base64 (a file
// name need not be UTF-8, and the process' command line would not keep such bytes); "carried"
// is CarriedStateToJson of the state the file starts from.
struct WorkerInput {
    QStringList arguments;
    CarriedState carried;

    QByteArray encode() const;  // without the line end
    // Nothing for a line that no batch gives.
    static std::optional<WorkerInput> decode(const QByteArray& line);
};

// What a process writes on its standard output about its file besides the file's paths, each a
// line that starts with a NUL (no path holds one, so none is taken for a path) and a letter:
//   S{carried}         Loaded: the file's load step is done; the next file starts from this state
//   W                  RunMayChangeState: the load step is done, but the file's run may change
//                      what the next file starts from: it follows with the end
//   E<code> {carried}  Ended: the file's end, with the exit code RunBuild gives for the file
//                      alone and the state after its run ("E1" alone: an input no batch gives)
struct WorkerMessage {
    static constexpr char kMark = '\0';

    enum class Kind { Loaded, RunMayChangeState, Ended };
    Kind kind = Kind::Ended;
    std::optional<CarriedState> carried = std::nullopt;  // Loaded and Ended
    int exitCode = 0;                                    // Ended

    QByteArray encode() const;  // the whole line, its mark and its line end included
    // A line from its mark to its line end (without it); nothing for a letter of no message.
    // A state that cannot be read is left out, as is an exit code that is not one of the tool's
    // exit codes written as the tool writes it (which makes it 1); the batch then finds the
    // state itself and fails the file.
    static std::optional<WorkerMessage> decode(QByteArrayView line);
};

}  // namespace qorv::cli
