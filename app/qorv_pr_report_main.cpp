#include "cli/BuildCommand.h"
#include "cli/CliMessages.h"
#include "cli/CommandLine.h"
#include "cli/InspectCommand.h"
#include "cli/ParallelBuild.h"
#include "cli/StatsCommand.h"
#include "files/FileName.h"
#include "files/Interruption.h"
#include "files/MemoryReuse.h"
#include "files/Precision.h"
#include "files/Process.h"
#include "report/Messages.h"
#include "report/QtTranslations.h"
#include "report/UserMessage.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

namespace {

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
    if (const auto* map = std::get_if<qorv::cli::MapRequest>(&request)) {
        return qorv::cli::RunMap(*map, out, err);
    }
    if (std::holds_alternative<qorv::cli::BatchWorkerRequest>(request)) {
        return qorv::cli::RunBatchWorker(workerInput, std::cin, out, err);
    }
    const bool progressToTerminal = qorv::files::IsTerminal(stderr);
    return qorv::cli::RunBuild(std::get<qorv::cli::BuildRequest>(request), out, err,
                               progressToTerminal);
}

}  // namespace

// qorv-pr-report: the command-line front end to the reader and the report run.
int main(int argc, char** argv) {
    const bool outputClosed = qorv::files::TakeClosedStandardStreams();
    qorv::files::ShowUtf8OnConsole();
    qorv::files::UseFullLongDoublePrecision();
    qorv::files::KeepFreedMemoryForReuse();
    // SIGTERM, SIGINT and SIGHUP remove the hidden files of saves in progress, stop the
    // processes of a -j batch and end the tool with the signal's own status.
    qorv::files::CleanUpOnInterruption();
    qtDefaultHandler = qInstallMessageHandler(DropQtDiagnostics);
    qorv::files::IgnoreBrokenPipes();
    // The PDF copy needs fonts, which need a GUI application; the tool shows no window, so it
    // needs no display either.
#ifdef Q_OS_WIN
    // Windows' own platform shows nothing unless asked and needs no display; its font database
    // is the system's. The offscreen platform's there knows only fonts shipped with Qt: every
    // letter of the PDF copy would be a box.
    qputenv("QT_QPA_PLATFORM", "windows");
#else
    // A platform the environment names for windows (xcb without a display, wayland, ...) would
    // end the tool at start, so it always draws off screen.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform != "offscreen" && platform != "minimal") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    // The hidden form of a -j batch reads its first file's line first: without a PDF copy it
    // needs no GUI application, whose start-up (platform, fonts) it would otherwise pay.
    // The arguments as the system gave them: a file name that is not UTF-8 still names its file
    // (QCoreApplication::arguments() would turn such bytes into U+FFFD).
    const QStringList arguments = qorv::files::ProgramArguments(argc, argv);
    if (arguments == QStringList{QStringLiteral("--version")}) {
        std::printf("qorv-pr-report %s\n", QORV_PR_VERSION);
        return 0;
    }
    const bool batchWorker =
        arguments.size() == 1 && arguments.front() == qorv::cli::kBatchWorkerArgument;
    std::optional<qorv::cli::BatchWorkerInput> workerInput;
    if (batchWorker) {
        std::string line;
        if (std::getline(std::cin, line)) {
            workerInput = qorv::cli::ReadBatchWorkerInput(QByteArray::fromStdString(line));
        }
    }
    std::unique_ptr<QCoreApplication> app;
    if (batchWorker && !(workerInput && workerInput->request.overrides.pdf())) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Qorv_Pr"));
    qorv::InstallQtRussianTranslations(*app);
    QTextStream out(stdout);
    QTextStream err(stderr);

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
