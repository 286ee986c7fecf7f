#pragma once

#include "cli/BuildOptions.h"

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
};

// `qorv-pr-report stats [--json] [OPTIONS] FILE...`: the statistics of each file's selection,
// with the build form's options, without building a report.
struct StatsRequest {
    bool json = false;
    ReportOverrides overrides;
    QStringList files;
};

struct HelpRequest {};

// A command line that cannot be carried out; the message is for standard error.
struct UsageError {
    QString message;
};

using Request = std::variant<InspectRequest, BuildRequest, StatsRequest, HelpRequest, UsageError>;

// Parses the arguments after the program name.
Request ParseCommandLine(const QStringList& arguments);

QString HelpText();

}  // namespace qorv::cli
