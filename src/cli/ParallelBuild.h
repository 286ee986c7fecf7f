#pragma once

#include "cli/CommandLine.h"
#include "report/CarriedState.h"

#include <QByteArray>
#include <QTextStream>

#include <optional>

namespace qorv::cli {

// The build form with -j: up to `request.jobs` files built at once, each by `program` (this
// tool) started in its hidden form (kBatchWorkerArgument) with the report options, the file and
// the state the file starts from. That state is what a batch in one process hands on to the
// file: this process loads the files in their order on one state, as such a batch loads them,
// and gives each file's process what its predecessors left. A file whose run could change what
// it hands on (RunMayChangeWhatIsCarried) is built here instead, once the files before it are
// done, and the batch goes on from what its run left.
//
// Saved paths are printed in the order of the files, each file's once all earlier files have
// finished; messages and progress go to `err` line by line as the processes write them. The
// exit code is the worst of all files, as RunBuild gives it; a process that does not start or
// ends abnormally counts as a failed file.
int RunParallelBuild(const BuildRequest& request, const QString& program, QTextStream& out,
                     QTextStream& err);

// What the hidden form reads on its standard input: the build request for its one file (the
// batch's report options) and the state the file starts from.
struct BatchWorkerInput {
    BuildRequest request;
    CarriedState carried;
};

// Nothing for an input that no batch gives.
std::optional<BatchWorkerInput> ReadBatchWorkerInput(const QByteArray& bytes);

// The hidden form: builds the one file as RunBuild would on the state it starts from, prints
// as RunBuild does (progress as for a stream that is no terminal) and returns RunBuild's exit
// code; 1 with a message when there is no input.
int RunBatchWorker(const std::optional<BatchWorkerInput>& input, QTextStream& out,
                   QTextStream& err);

}  // namespace qorv::cli
