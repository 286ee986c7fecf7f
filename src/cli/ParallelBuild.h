#pragma once

#include "cli/CommandLine.h"
#include "report/CarriedState.h"

#include <QByteArray>
#include <QTextStream>

#include <istream>
#include <optional>

namespace qorv::cli {

// The build form with -j: up to `request.jobs` files built at once by processes of `program`
// (this tool) in its hidden form (kBatchWorkerArgument), each building the files it is handed
// one after the other: per file the report options, the file and the state the file starts
// from. That state is what a batch in one process hands on to the file: the first file starts
// from the program's start state, every other from the state the load step of the file before
// it left, which that file's process reports as soon as its load is done. Only a file whose run
// could change what it hands on (RunMayChangeWhatIsCarried) hands on the state after its run.
// So the loads follow one another in the files' order, as in one process, while the runs go
// on side by side.
//
// Saved paths are printed in the order of the files, each file's once all earlier files have
// finished; messages and progress go to `err` line by line as the processes write them. The
// exit code is the worst of all files, as RunBuild gives it; a process that does not start or
// ends while building a file fails that file (the next file then starts from what the file's
// load step gives here), and the next file goes to a new process.
// With `stepLines` the processes print a line per step of each run. A process whose message
// (a line of standard error, or what it hands on about a file) grows beyond `maxMessageBytes`
// is stopped and its file fails with a message; the bound leaves room for the state of a file
// with a device line of tens of megabytes, which the state holds four times.
inline constexpr qsizetype kMaxWorkerMessageBytes = qsizetype(512) << 20;
int RunParallelBuild(const BuildRequest& request, const QString& program, QTextStream& out,
                     QTextStream& err, bool stepLines,
                     qsizetype maxMessageBytes = kMaxWorkerMessageBytes);

// What the hidden form reads on its standard input for each file, one line a file: the build
// request for the file (the batch's report options) and the state the file starts from.
struct BatchWorkerInput {
    BuildRequest request;
    CarriedState carried;
};

// Nothing for an input line that no batch gives.
std::optional<BatchWorkerInput> ReadBatchWorkerInput(const QByteArray& line);

// The hidden form: builds the file of `first`, then of every further line of `input`, each as
// RunBuild would on the state it starts from, and prints as RunBuild does (progress as for a
// stream that is no terminal: a line per step only when the request asks for them). Between a
// file's paths it writes its WorkerMessage lines (cli/WorkerProtocol.h): the state its load
// step left (or that its run may change it), and at its end the exit code RunBuild would give
// for the file alone with the state after its run. An input line that no batch gives (and a missing
// first one) is a failed file with a message. Returns 0 at the input's end.
int RunBatchWorker(const std::optional<BatchWorkerInput>& first, std::istream& input,
                   QTextStream& out, QTextStream& err);

}  // namespace qorv::cli
