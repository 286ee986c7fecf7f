#include "cli/ParallelBuild.h"

#include "cli/BuildCommand.h"
#include "cli/CliMessages.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <functional>
#include <vector>

namespace qorv::cli {

namespace {

// What a batch hands the process of one of its files, on that process' standard input:
//   {"arguments": [...], "carried": {...}}
// The arguments are the report options and the file as the system's bytes in base64 (a file
// name need not be UTF-8, and the process' command line would not keep such bytes); "carried"
// is CarriedStateToJson of the state the file starts from.
struct WorkerInput {
    QStringList arguments;
    CarriedState carried;
};

QByteArray EncodeWorkerInput(const WorkerInput& input) {
    QJsonArray arguments;
    for (const QString& argument : input.arguments) {
        arguments.append(QString::fromLatin1(files::EncodeFileName(argument).toBase64()));
    }
    const QJsonObject object{{QStringLiteral("arguments"), arguments},
                             {QStringLiteral("carried"), CarriedStateToJson(input.carried)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<WorkerInput> DecodeWorkerInput(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const QJsonValue arguments = object.value(QStringLiteral("arguments"));
    const QJsonValue carried = object.value(QStringLiteral("carried"));
    if (!arguments.isArray() || !carried.isObject()) {
        return std::nullopt;
    }
    WorkerInput input;
    for (const QJsonValue& argument : arguments.toArray()) {
        if (!argument.isString()) {
            return std::nullopt;
        }
        const auto decoded = QByteArray::fromBase64Encoding(
            argument.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return std::nullopt;
        }
        input.arguments << files::DecodeFileName(*decoded);
    }
    const auto state = CarriedStateFromJson(carried.toObject());
    if (!state) {
        return std::nullopt;
    }
    input.carried = *state;
    return input;
}

// One batch over several processes (see RunParallelBuild).
class ParallelBatch {
  public:
    ParallelBatch(const BuildRequest& request, const QString& program, QTextStream& out,
                  QTextStream& err)
        : request_(request),
          program_(program),
          out_(out),
          err_(err),
          files_(static_cast<std::size_t>(request.files.size())) {}

    int run() {
        ProgramState loads = StartState();
        for (qsizetype i = 0; i < request_.files.size(); ++i) {
            const QString& file = request_.files[i];
            const CarriedState start = CarriedStateOf(loads);
            // The load the file's own build begins with, on the state the files before it
            // left: what it leaves is what the next file starts from. A load that fails leaves
            // its partial state, as in a batch in one process; the file's own build loads it
            // again and reports the failure.
            bool loaded = false;
            if (!CheckSourceFile(file)) {
                try {
                    LoadLogFile(loads, files::AbsoluteFileName(file));
                    loaded = true;
                } catch (const std::exception&) {
                    loaded = false;
                }
            }
            if (loaded && RunMayChangeWhatIsCarried(loads)) {
                waitUntil([this] { return running_ == 0; });
                buildHere(i, start);
                RestoreCarriedState(loads, CarriedStateOf(here_));
                continue;
            }
            waitUntil([this] { return running_ < request_.jobs; });
            startWorker(i, start);
        }
        waitUntil([this] { return running_ == 0; });
        return outcome_.finish(err_);
    }

  private:
    struct File {
        QProcess* process = nullptr;  // owned by owner_, deleted once finished
        QByteArray output;            // standard output, held until the earlier files are done
        QByteArray errorLine;         // standard error after its last whole line
        bool done = false;
    };

    void waitUntil(const std::function<bool()>& condition) {
        while (!condition()) {
            loop_.exec();
        }
    }

    // Built in this process: all earlier files are done and printed, so the paths go straight
    // to the output in their place.
    void buildHere(qsizetype i, const CarriedState& start) {
        here_ = StartState();
        RestoreCarriedState(here_, start);
        outcome_.add(BuildOne(request_.files[i], request_.overrides, here_, out_, err_, false,
                              outcome_.outputError));
        files_[i].done = true;
        printFinished();
    }

    void startWorker(qsizetype i, const CarriedState& start) {
        auto* process = new QProcess(&owner_);
        files_[i].process = process;
        QObject::connect(process, &QProcess::readyReadStandardOutput, &owner_, [this, i] {
            files_[i].output += files_[i].process->readAllStandardOutput();
        });
        QObject::connect(process, &QProcess::readyReadStandardError, &owner_,
                         [this, i] { forwardErrorLines(files_[i], false); });
        QObject::connect(process, &QProcess::finished, &owner_,
                         [this, i](int code, QProcess::ExitStatus status) {
                             const bool normal =
                                 status == QProcess::NormalExit && code >= 0 && code <= 2;
                             finish(i, !normal     ? std::optional<BuildOutcome>()
                                       : code == 0 ? BuildOutcome::Built
                                       : code == 2 ? BuildOutcome::Refused
                                                   : BuildOutcome::Failed);
                         });
        QObject::connect(process, &QProcess::errorOccurred, &owner_,
                         [this, i](QProcess::ProcessError error) {
                             // A process that did not start sends no "finished".
                             if (error == QProcess::FailedToStart) {
                                 PrintAboutFile(err_, request_.files[i],
                                                messages::BatchWorkerNotStarted(program_));
                                 finish(i, BuildOutcome::Failed);
                             }
                         });
        QStringList arguments = request_.optionArguments;
        arguments << QStringLiteral("--") << request_.files[i];
        ++running_;
        process->start(program_, {kBatchWorkerArgument});
        if (process->state() != QProcess::NotRunning) {
            process->write(EncodeWorkerInput({arguments, start}));
            process->closeWriteChannel();
        }
    }

    // The end of a file's process: its last output, its outcome (nothing for a process that
    // ended abnormally), the paths that may now be printed.
    void finish(qsizetype i, std::optional<BuildOutcome> outcome) {
        File& file = files_[i];
        if (file.done) {
            return;
        }
        file.output += file.process->readAllStandardOutput();
        forwardErrorLines(file, true);
        if (!outcome) {
            PrintAboutFile(err_, request_.files[i], messages::BatchWorkerCrashed);
        }
        outcome_.add(outcome.value_or(BuildOutcome::Failed));
        file.done = true;
        file.process->deleteLater();
        --running_;
        printFinished();
        loop_.quit();
    }

    // Passes on the whole lines a process wrote to its standard error; at its end also the
    // rest, ended by a line break.
    void forwardErrorLines(File& file, bool ended) {
        file.errorLine += file.process->readAllStandardError();
        if (ended && !file.errorLine.isEmpty() && !file.errorLine.endsWith('\n')) {
            file.errorLine += '\n';
        }
        const qsizetype end = file.errorLine.lastIndexOf('\n');
        if (end < 0) {
            return;
        }
        err_ << QString::fromUtf8(file.errorLine.first(end + 1));
        err_.flush();
        file.errorLine.remove(0, end + 1);
    }

    // Prints the held paths of the finished files that no unfinished file precedes.
    void printFinished() {
        while (printed_ < request_.files.size() && files_[printed_].done) {
            QByteArray& output = files_[printed_].output;
            if (!output.isEmpty() && outcome_.outputError == 0) {
                outcome_.outputError = PrintPathLines(out_, output);
            }
            output.clear();
            ++printed_;
        }
    }

    const BuildRequest& request_;
    QString program_;
    QTextStream& out_;
    QTextStream& err_;
    std::vector<File> files_;
    ProgramState here_;
    BatchOutcome outcome_;
    qsizetype printed_ = 0;
    int running_ = 0;
    QEventLoop loop_;
    QObject owner_;  // the processes and their connections; declared last, destroyed first
};

}  // namespace

int RunParallelBuild(const BuildRequest& request, const QString& program, QTextStream& out,
                     QTextStream& err) {
    return ParallelBatch(request, program, out, err).run();
}

std::optional<BatchWorkerInput> ReadBatchWorkerInput(const QByteArray& bytes) {
    const auto given = DecodeWorkerInput(bytes);
    if (!given) {
        return std::nullopt;
    }
    const Request request = ParseCommandLine(given->arguments);
    const auto* build = std::get_if<BuildRequest>(&request);
    if (!build || build->files.size() != 1) {
        return std::nullopt;
    }
    return BatchWorkerInput{*build, given->carried};
}

int RunBatchWorker(const std::optional<BatchWorkerInput>& input, QTextStream& out,
                   QTextStream& err) {
    if (!input) {
        err << messages::BatchWorkerInputInvalid << '\n';
        err.flush();
        return 1;
    }
    ProgramState state = StartState();
    RestoreCarriedState(state, input->carried);
    return BuildInTurn(input->request.files, input->request.overrides, state, out, err, false);
}

}  // namespace qorv::cli
