#include "cli/BuildCommand.h"
#include "cli/CommandLine.h"
#include "cli/InspectCommand.h"
#include "report/Messages.h"

#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>
#include <cstdio>

// qorv-pr-report: the command-line front end to the reader and the report run.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Qorv_Pr"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const qorv::cli::Request request = qorv::cli::ParseCommandLine(app.arguments().mid(1));
    if (const auto* usage = std::get_if<qorv::cli::UsageError>(&request)) {
        err << usage->message << '\n' << qorv::messages::UsageHint << '\n';
        return 2;
    }
    if (std::holds_alternative<qorv::cli::HelpRequest>(request)) {
        out << qorv::cli::HelpText();
        return 0;
    }
    if (const auto* inspect = std::get_if<qorv::cli::InspectRequest>(&request)) {
        return qorv::cli::RunInspect(*inspect, out, err);
    }
    const bool progressToTerminal = isatty(fileno(stderr)) != 0;
    return qorv::cli::RunBuild(std::get<qorv::cli::BuildRequest>(request), out, err,
                               progressToTerminal);
}
