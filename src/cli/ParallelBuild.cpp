#include "cli/ParallelBuild.h"

#include "cli/BuildCommand.h"
#include "cli/CliMessages.h"
#include "cli/TerminalText.h"
#include "cli/WorkerProtocol.h"
#include "files/FileName.h"
#include "files/Interruption.h"

#include <QEventLoop>
#include <QFileDevice>
#include <QProcess>

#include <algorithm>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace qorv::cli {

namespace {

// A message as bytes: straight to the stream's device when it has one (a state line can be
// tens of megabytes, which a text stream would decode and encode again), else as text.
void WriteMessage(QTextStream& out, const WorkerMessage& message) {
    const QByteArray line = message.encode();
    out.flush();
    if (QIODevice* device = out.device()) {
        device->write(line);
        if (auto* file = qobject_cast<QFileDevice*>(device)) {
            file->flush();  // the next file's start waits for this line
        }
    } else {
        out << line;
    }
}

// One batch over several processes (see RunParallelBuild).
class ParallelBatch {
  public:
    ParallelBatch(const BuildRequest& request, const QString& program, QTextStream& out,
                  QTextStream& err, qsizetype maxMessageBytes)
        : request_(request),
          program_(program),
          out_(out),
          err_(err),
          maxMessageBytes_(maxMessageBytes),
          capacity_(request.jobs),
          files_(static_cast<std::size_t>(request.files.size())) {
        files_.front().start = CarriedStateOf(StartState());
    }

    int run() {
        const qsizetype n = request_.files.size();
        qsizetype next = 0;
        for (;;) {
            // A file starts once the file before it has been loaded (and, when its run may
            // change what it hands on, built) and a worker is free; a file whose new worker
            // did not start goes first.
            const auto ready = [&] {
                return busy_ < capacity_ &&
                       (!retry_.empty() || (next < n && files_[std::size_t(next)].start));
            };
            const auto over = [&] { return busy_ == 0 && retry_.empty() && next == n; };
            waitUntil([&] { return ready() || over(); });
            if (over()) {
                break;
            }
            qsizetype i = next;
            if (!retry_.empty()) {
                i = retry_.front();
                retry_.pop_front();
            } else {
                ++next;
            }
            hand(i);
        }
        // Standard input's end tells the idle workers that the batch is over.
        for (const std::unique_ptr<Worker>& worker : workers_) {
            if (worker->process) {
                worker->process->closeWriteChannel();
            }
        }
        waitUntil([this] {
            return std::none_of(workers_.begin(), workers_.end(),
                                [](const std::unique_ptr<Worker>& w) { return w->process; });
        });
        return outcome_.finish(out_, err_);
    }

  private:
    struct File {
        std::optional<CarriedState> start;  // the state the file starts from, once known
        QByteArray output;                  // standard output, held until earlier files are done
        bool done = false;
    };
    // A process of the tool in its hidden form, building the files it is handed one at a time.
    // Its output is searched once: `scanned` is where the search for the next mark or line end
    // goes on, so a long message costs its length, not its length times its reads.
    struct Worker {
        QProcess* process = nullptr;    // owned by owner_, deleted once ended; none after
        qint64 processId = 0;           // while it runs
        std::optional<qsizetype> file;  // the file it is building
        QByteArray output;              // standard output not yet taken apart
        qsizetype scanned = 0;          // of `output`: no line end of a mark before it
        std::optional<qsizetype> mark;  // of `output`: the mark of the message being read
        QByteArray errorLine;           // standard error after its last whole line
        bool overflowed = false;        // sent a message beyond the bound; being stopped
    };

    void waitUntil(const std::function<bool()>& condition) {
        while (!condition()) {
            loop_.exec();
        }
    }

    // To an idle worker, or to a new one while there are fewer than the jobs.
    void hand(qsizetype i) {
        Worker* worker = nullptr;
        for (const std::unique_ptr<Worker>& w : workers_) {
            if (w->process && !w->file) {
                worker = w.get();
                break;
            }
        }
        const bool fresh = worker == nullptr;
        if (fresh) {
            worker = addWorker();
        }
        // The file is the worker's before its process starts: a start that fails at once
        // reports the file as failed.
        worker->file = i;
        ++busy_;
        if (fresh) {
            worker->process->start(program_, {kBatchWorkerArgument});
            if (worker->process && worker->process->state() != QProcess::NotRunning) {
                worker->processId = worker->process->processId();
                files::RememberChildProcess(worker->processId);
            }
        }
        if (worker->process && worker->process->state() != QProcess::NotRunning) {
            QStringList arguments = request_.optionArguments;
            arguments << QStringLiteral("--") << request_.files[i];
            worker->process->write(WorkerInput{arguments, *files_[i].start}.encode() + '\n');
        }
    }

    Worker* addWorker() {
        workers_.push_back(std::make_unique<Worker>());
        Worker* worker = workers_.back().get();
        auto* process = new QProcess(&owner_);
        worker->process = process;
#ifdef Q_OS_UNIX
        // A worker ends with this process, also when this one is killed outright.
        const qint64 parent = files::CurrentProcessId();
        process->setChildProcessModifier([parent] { files::EndWithParent(parent); });
#endif
        QObject::connect(process, &QProcess::readyReadStandardOutput, &owner_,
                         [this, worker] { takeOutput(*worker); });
        QObject::connect(process, &QProcess::readyReadStandardError, &owner_,
                         [this, worker] { forwardErrorLines(*worker, false); });
        QObject::connect(process, &QProcess::finished, &owner_,
                         [this, worker](int, QProcess::ExitStatus) { ended(*worker, nullptr); });
        QObject::connect(process, &QProcess::errorOccurred, &owner_,
                         [this, worker](QProcess::ProcessError error) {
                             // A process that did not start sends no "finished".
                             if (error == QProcess::FailedToStart) {
                                 const QString message = messages::BatchWorkerNotStarted(program_);
                                 ended(*worker, &message);
                             }
                         });
        return worker;
    }

    // Takes a worker's output apart at its marked lines; what comes before a mark is its
    // file's paths.
    void takeOutput(Worker& worker) {
        if (worker.overflowed || !worker.process) {
            return;
        }
        worker.output += worker.process->readAllStandardOutput();
        for (;;) {
            if (!worker.mark) {
                const qsizetype mark = worker.output.indexOf(WorkerMessage::kMark, worker.scanned);
                worker.scanned = mark < 0 ? worker.output.size() : mark;
                if (mark >= 0) {
                    worker.mark = mark;
                }
            }
            const qsizetype lineEnd =
                worker.mark ? worker.output.indexOf('\n', worker.scanned) : qsizetype(-1);
            if (lineEnd < 0) {
                worker.scanned = worker.output.size();
                if (worker.output.size() > maxMessageBytes_) {
                    overflow(worker);
                }
                return;
            }
            // A message that arrived whole in one read is held to the bound as one still
            // arriving is.
            if (lineEnd - *worker.mark > maxMessageBytes_) {
                overflow(worker);
                return;
            }
            if (!worker.file) {
                return;
            }
            const qsizetype i = *worker.file;
            const auto message = WorkerMessage::decode(
                QByteArrayView(worker.output).sliced(*worker.mark, lineEnd - *worker.mark));
            files_[i].output += worker.output.first(*worker.mark);
            worker.output.remove(0, lineEnd + 1);
            worker.mark.reset();
            worker.scanned = 0;
            if (message && !take(worker, i, *message)) {
                return;  // the file has failed with the worker
            }
            loop_.quit();
        }
    }

    // A worker's message about file `i`: the state the next file starts from, or the file's end.
    // Returns false when the worker has been stopped meanwhile.
    bool take(Worker& worker, qsizetype i, const WorkerMessage& message) {
        if (message.kind == WorkerMessage::Kind::Loaded) {
            handOn(i, message.carried);
        } else if (message.kind == WorkerMessage::Kind::Ended) {
            handOn(i, message.carried);
            forwardErrorLines(worker, false);
            if (worker.overflowed) {
                return false;
            }
            finishFile(i, OutcomeOfExitCode(message.exitCode));
            worker.file.reset();
            --busy_;
        }
        return true;
    }

    // A worker wrote more than one message may hold without ending it: it is stopped, and the
    // file it was building fails with a message.
    void overflow(Worker& worker) {
        worker.overflowed = true;
        worker.output.clear();
        worker.errorLine.clear();
        worker.process->kill();
        const QString message =
            messages::BatchWorkerMessageTooLong((maxMessageBytes_ + (1 << 20) - 1) >> 20);
        ended(worker, &message);
    }

    // The state the file after `i` starts from, unless it is known already. Without one from
    // the worker (a broken line, a worker that ended early) it is what the load step gives on
    // the file's own start state, as the worker would have found.
    void handOn(qsizetype i, std::optional<CarriedState> carried) {
        if (i + 1 >= request_.files.size() || files_[i + 1].start) {
            return;
        }
        if (!carried) {
            ProgramState state = StartState();
            RestoreCarriedState(state, *files_[i].start);
            // A failure's partial state is handed on.
            LoadStep(request_.files[i], state, PathCheck::MissingOrNotRegular);
            carried = CarriedStateOf(state);
        }
        files_[i + 1].start = carried;
    }

    // A worker's process ended (or never started, or was stopped, with `message`): a file it
    // was building has failed; later files go to another worker. A file whose new worker did
    // not start waits for a worker that runs, while there is one; no more are started then.
    void ended(Worker& worker, const QString* message) {
        if (!worker.process) {
            return;
        }
        takeOutput(worker);
        forwardErrorLines(worker, true);
        files::ForgetChildProcess(worker.processId);
        const bool notStarted = message && worker.processId == 0;
        const int others = static_cast<int>(
            std::count_if(workers_.begin(), workers_.end(),
                          [&worker](const auto& w) { return w.get() != &worker && w->process; }));
        if (notStarted && worker.file && others > 0) {
            capacity_ = others;
            retry_.push_back(*worker.file);
            worker.file.reset();
            --busy_;
        }
        if (worker.file) {
            const qsizetype i = *worker.file;
            files_[i].output += worker.output;
            PrintAboutFile(err_, request_.files[i],
                           message ? *message : messages::BatchWorkerCrashed);
            handOn(i, std::nullopt);
            finishFile(i, FileOutcome::Failed);
            --busy_;
        }
        QObject::disconnect(worker.process, nullptr, &owner_, nullptr);
        worker.process->deleteLater();
        worker.process = nullptr;
        loop_.quit();
    }

    void finishFile(qsizetype i, FileOutcome outcome) {
        outcome_.add(outcome);
        files_[i].done = true;
        printFinished();
    }

    // Passes on the whole lines a process wrote to its standard error; at its end also the
    // rest, ended by a line break.
    void forwardErrorLines(Worker& worker, bool ended) {
        if (worker.overflowed || !worker.process) {
            return;
        }
        const qsizetype before = worker.errorLine.size();
        worker.errorLine += worker.process->readAllStandardError();
        if (ended && !worker.errorLine.isEmpty() && !worker.errorLine.endsWith('\n')) {
            worker.errorLine += '\n';
        }
        // Only what came now is searched: the rest held no line end.
        const qsizetype found = QByteArrayView(worker.errorLine).sliced(before).lastIndexOf('\n');
        const qsizetype end = found < 0 ? found : before + found;
        if (end < 0) {
            if (worker.errorLine.size() > maxMessageBytes_) {
                overflow(worker);
            }
            return;
        }
        err_ << QString::fromUtf8(worker.errorLine.first(end + 1));
        err_.flush();
        worker.errorLine.remove(0, end + 1);
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
    qsizetype maxMessageBytes_;
    int capacity_;                 // workers at most: the jobs, fewer once one did not start
    std::deque<qsizetype> retry_;  // files whose new worker did not start
    std::vector<File> files_;
    CommandOutcome outcome_;
    qsizetype printed_ = 0;
    int busy_ = 0;  // workers building a file
    QEventLoop loop_;
    std::vector<std::unique_ptr<Worker>> workers_;
    QObject owner_;  // the processes and their connections; declared last, destroyed first
};

}  // namespace

int RunParallelBuild(const BuildRequest& request, const QString& program, QTextStream& out,
                     QTextStream& err, bool stepLines, qsizetype maxMessageBytes) {
    BuildRequest given = request;
    if (stepLines && !given.progressSteps) {
        given.optionArguments.prepend(QStringLiteral("--progress"));
    }
    return ParallelBatch(given, program, out, err, maxMessageBytes).run();
}

std::optional<BatchWorkerInput> ReadBatchWorkerInput(const QByteArray& bytes) {
    const auto given = WorkerInput::decode(bytes);
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

int RunBatchWorker(const std::optional<BatchWorkerInput>& first, std::istream& input,
                   QTextStream& out, QTextStream& err) {
    std::optional<BatchWorkerInput> next = first;
    for (;;) {
        if (next) {
            ProgramState state = StartState();
            RestoreCarriedState(state, next->carried);
            const auto afterLoad = [&out](const ProgramState& loaded, bool succeeded) {
                if (succeeded && RunMayChangeWhatIsCarried(loaded)) {
                    WriteMessage(out, {WorkerMessage::Kind::RunMayChangeState});
                } else {
                    WriteMessage(out, {WorkerMessage::Kind::Loaded, CarriedStateOf(loaded)});
                }
            };
            CommandOutcome outcome;
            const ProgressStyle progress =
                next->request.progressSteps ? ProgressStyle::Steps : ProgressStyle::None;
            outcome.add(BuildOne(next->request.files.first(), next->request.overrides, state, out,
                                 err, progress, outcome.outputError, afterLoad));
            const int code = outcome.finish(out, err);
            WriteMessage(out, {WorkerMessage::Kind::Ended, CarriedStateOf(state), code});
        } else {
            err << messages::BatchWorkerInputInvalid << '\n';
            err.flush();
            WriteMessage(
                out, {WorkerMessage::Kind::Ended, std::nullopt, ExitCodeOf(FileOutcome::Failed)});
        }
        out.flush();
        std::string line;
        if (!std::getline(input, line)) {
            return 0;
        }
        next = ReadBatchWorkerInput(QByteArray::fromStdString(line));
    }
}

}  // namespace qorv::cli
