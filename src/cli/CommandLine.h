#pragma once

#include "cli/BuildOptions.h"
#include "cli/MapCommand.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace qorv::cli {

// `qorv-pr-report inspect [--json] FILE...`: what each load leaves behind.
struct InspectRequest {
    bool json = false;
    QStringList files;
};

// `qorv-pr-report [OPTIONS] FILE...`: one report per file.
struct BuildRequest {
    ReportOverrides overrides;
    QStringList files;
    // How many files are built at once, each in a process of its own (-j); 1 builds them one
    // after the other in this process. The parser sets the number of cores when -j is not given.
    int jobs = 1;
    // A line per step of each run on standard error, also when it is no terminal (--progress).
    bool progressSteps = false;
    // The report options as they were given (without -j and the files), for another process of
    // the tool to parse into the same overrides.
    QStringList optionArguments;
};

// `qorv-pr-report stats [--json] [OPTIONS] FILE...`: the statistics of each file's selection,
// with the build form's options, without building a report.
struct StatsRequest {
    bool json = false;
    ReportOverrides overrides;
    QStringList files;
};

struct HelpRequest {};

// The hidden form a batch with -j starts for each of its files: the file, the options and the
// state the file starts from arrive on standard input (see RunBatchWorker).
struct BatchWorkerRequest {};

// The one argument that asks for the hidden form.
inline const QString kBatchWorkerArgument = QStringLiteral("--batch-worker");

// A command line that cannot be carried out; the message is for standard error.
struct UsageError {
    QString message;
};

using Request = std::variant<InspectRequest, BuildRequest, StatsRequest, MapRequest, HelpRequest,
                             BatchWorkerRequest, UsageError>;

// Parses the arguments after the program name.
Request ParseCommandLine(const QStringList& arguments);

QString HelpText();

}  // namespace qorv::cli
