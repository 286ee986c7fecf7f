#include "cli/BuildCommand.h"
#include "cli/CliMessages.h"
#include "cli/CommandLine.h"
#include "cli/InspectCommand.h"
#include "cli/ParallelBuild.h"
#include "cli/StatsCommand.h"
#include "files/FileName.h"
#include "files/Interruption.h"
#include "report/Messages.h"
#include "report/QtTranslations.h"
#include "report/UserMessage.h"

#include <QGuiApplication>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

namespace {

// Standard input, output and error that the program was started without (`>&-`) are taken by
// /dev/null at once: otherwise the first file the program opens would get the descriptor and
// receive what is meant for the terminal. Returns whether standard output was closed.
bool TakeClosedStandardStreams() {
    const bool outputClosed = ::fcntl(STDOUT_FILENO, F_GETFD) == -1;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        }
    }
    return outputClosed;
}

// Qt's own diagnostics (English, about the platform, not the user's work) stay out of the
// messages; only its critical and fatal reports, which end the program, pass on.
QtMessageHandler qtDefaultHandler = nullptr;

void DropQtDiagnostics(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && qtDefaultHandler) {
        qtDefaultHandler(type, context, text);
    }
}

// The command the arguments ask for; returns its exit code. `workerInput` is what the hidden
// form of a -j batch read on its standard input.
int Run(const QStringList& arguments, const std::optional<qorv::cli::BatchWorkerInput>& workerInput,
        QTextStream& out, QTextStream& err) {
    const qorv::cli::Request request = qorv::cli::ParseCommandLine(arguments);
    if (const auto* usage = std::get_if<qorv::cli::UsageError>(&request)) {
        err << usage->message << '\n' << qorv::cli::messages::UsageHint << '\n';
        return 2;
    }
    if (std::holds_alternative<qorv::cli::HelpRequest>(request)) {
        out << qorv::cli::HelpText();
        out.flush();
        return out.status() == QTextStream::Ok ? 0 : 1;
    }
    if (const auto* inspect = std::get_if<qorv::cli::InspectRequest>(&request)) {
        return qorv::cli::RunInspect(*inspect, out, err);
    }
    if (const auto* stats = std::get_if<qorv::cli::StatsRequest>(&request)) {
        return qorv::cli::RunStats(*stats, out, err);
    }
    if (std::holds_alternative<qorv::cli::BatchWorkerRequest>(request)) {
        return qorv::cli::RunBatchWorker(workerInput, std::cin, out, err);
    }
    const bool progressToTerminal = isatty(fileno(stderr)) != 0;
    return qorv::cli::RunBuild(std::get<qorv::cli::BuildRequest>(request), out, err,
                               progressToTerminal);
}

}  // namespace

// qorv-pr-report: the command-line front end to the reader and the report run.
int main(int argc, char** argv) {
    const bool outputClosed = TakeClosedStandardStreams();
    // SIGTERM, SIGINT and SIGHUP remove the hidden files of saves in progress, stop the
    // processes of a -j batch and end the tool with the signal's own status.
    qorv::files::CleanUpOnInterruption();
    qtDefaultHandler = qInstallMessageHandler(DropQtDiagnostics);
    // A standard output closed by its reader is reported as a write failure instead of ending
    // the process in the middle of a save.
    std::signal(SIGPIPE, SIG_IGN);
    // The PDF copy needs fonts, which need a GUI application; the tool shows no window, so it
    // needs no display either. A platform the environment names for windows (xcb without a
    // display, wayland, ...) would end the tool at start, so it always draws off screen.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform != "offscreen" && platform != "minimal") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The hidden form of a -j batch reads its first file's line first: without a PDF copy it
    // needs no GUI application, whose start-up (platform, fonts) it would otherwise pay.
    const bool batchWorker =
        argc == 2 && qorv::files::DecodeFileName(argv[1]) == qorv::cli::kBatchWorkerArgument;
    std::optional<qorv::cli::BatchWorkerInput> workerInput;
    if (batchWorker) {
        std::string line;
        if (std::getline(std::cin, line)) {
            workerInput = qorv::cli::ReadBatchWorkerInput(QByteArray::fromStdString(line));
        }
    }
    std::unique_ptr<QCoreApplication> app;
    if (batchWorker && !(workerInput && workerInput->request.overrides.pdf)) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Qorv_Pr"));
    qorv::InstallQtRussianTranslations(*app);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // The arguments as the bytes the system gave: a file name that is not UTF-8 still names
    // its file (QCoreApplication::arguments() would turn such bytes into U+FFFD).
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << qorv::files::DecodeFileName(argv[i]);
    }
    int exitCode = 1;
    try {
        exitCode = Run(arguments, workerInput, out, err);
    } catch (const std::exception& e) {
        // Whatever escaped a command's own handling still ends with a message, not an abort.
        err << qorv::UserMessage(e) << '\n';
    }
    if (outputClosed) {
        // What was printed went nowhere: the paths are lost.
        err << qorv::cli::messages::StandardOutputFailed(qorv::messages::SystemErrorText(EBADF))
            << '\n';
        exitCode = exitCode == 0 ? 1 : exitCode;
    }
    return exitCode;
}
