#include "cli/BuildCommand.h"

#include "cli/ParallelBuild.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"
#include "report/BuildReport.h"
#include "report/ReportValidation.h"
#include "report/UserMessage.h"

#include <algorithm>
#include <optional>

namespace qorv::cli {

namespace {

// Progress on standard error in one of the styles: a line redrawn in place, a line per step of
// the run, or nothing.
class ProgressLine : public ProgressListener {
  public:
    ProgressLine(QTextStream& err, const QString& name, ProgressStyle style)
        : err_(err), name_(name), style_(style) {}

    void runStarted(int maximum) override {
        maximum_ = maximum;
        draw();
    }
    void runAdvanced(int position) override {
        position_ = position;
        draw();
    }
    void tableStarted(qsizetype maximum) override { tableMaximum_ = maximum; }
    void tableAdvanced(qsizetype position) override {
        // Redraw about a hundred times over the table, not per row.
        if (tableMaximum_ > 0 && position % std::max<qsizetype>(1, tableMaximum_ / 100) == 0) {
            tablePosition_ = position;
            draw();
        }
    }
    void tableHidden() override { tableMaximum_ = 0; }
    // A PDF copy that could not be made; printed about the file when the run has finished.
    void pdfFailed(const QString& message) override { pdfMessage_ = message; }
    void runFinished() override { clear(); }
    const std::optional<QString>& pdfMessage() const { return pdfMessage_; }

  private:
    void draw() {
        if (maximum_ == 0 || style_ == ProgressStyle::None) {
            return;
        }
        if (style_ == ProgressStyle::Steps) {
            if (position_ != printed_) {
                err_ << name_ << ": " << position_ << '/' << maximum_ << '\n';
                err_.flush();
                printed_ = position_;
            }
            return;
        }
        const int width = 20;
        const int done = position_ * width / maximum_;
        QString line = QStringLiteral("\r%1 [%2%3] %4/%5")
                           .arg(name_)
                           .arg(QString(done, '#'))
                           .arg(QString(width - done, ' '))
                           .arg(position_)
                           .arg(maximum_);
        if (tableMaximum_ > 0) {
            line += QStringLiteral("  таблица %1/%2").arg(tablePosition_).arg(tableMaximum_);
        }
        err_ << line;
        err_.flush();
        drawn_ = true;
    }
    void clear() {
        if (drawn_) {
            err_ << "\r\x1b[K";
            err_.flush();
            drawn_ = false;
        }
    }

    QTextStream& err_;
    QString name_;
    ProgressStyle style_;
    bool drawn_ = false;
    int printed_ = -1;
    int maximum_ = 0;
    int position_ = 0;
    qsizetype tableMaximum_ = 0;
    qsizetype tablePosition_ = 0;
    std::optional<QString> pdfMessage_;
};

}  // namespace

FileOutcome BuildOne(const QString& file, const ReportOverrides& overrides, ProgramState& state,
                     QTextStream& out, QTextStream& err, ProgressStyle progressStyle,
                     int& outputError, const LoadStepListener& afterLoad) {
    const std::optional<FileFailure> failure =
        LoadStep(file, state, PathCheck::MissingOrNotRegular);
    if (afterLoad) {
        afterLoad(state, !failure);
    }
    if (failure) {
        PrintAboutFile(err, file, failure->message);
        return failure->outcome;
    }
    ApplyOverrides(overrides, state);
    if (const auto message = ValidateReportOptions(state.options, state.data)) {
        PrintAboutFile(err, file, *message);
        return FileOutcome::Refused;
    }
    ProgressLine progress(err, Printable(files::LastNameOf(file)), progressStyle);
    ReportFiles files;
    try {
        files = BuildReport(state, progress);
    } catch (const std::exception& e) {
        PrintAboutFile(err, file, UserMessage(e));
        return FileOutcome::Failed;
    }
    for (const std::optional<QString>& path : {std::optional<QString>(files.workbook), files.pdf}) {
        if (path && outputError == 0) {
            outputError = PrintPath(out, *path);
        }
    }
    if (progress.pdfMessage()) {
        PrintAboutFile(err, file, *progress.pdfMessage());
        return FileOutcome::Failed;
    }
    return FileOutcome::Done;
}

int BuildInTurn(const QStringList& files, const ReportOverrides& overrides, ProgramState& state,
                QTextStream& out, QTextStream& err, ProgressStyle progress) {
    CommandOutcome batch;
    for (const QString& file : files) {
        batch.add(BuildOne(file, overrides, state, out, err, progress, batch.outputError));
    }
    return batch.finish(out, err);
}

int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err,
             bool progressToTerminal) {
    if (request.jobs > 1 && request.files.size() > 1) {
        // Files built side by side cannot share one redrawn line: a terminal gets their steps.
        return RunParallelBuild(request, files::ProgramPath(), out, err,
                                request.progressSteps || progressToTerminal);
    }
    const ProgressStyle progress = request.progressSteps ? ProgressStyle::Steps
                                   : progressToTerminal  ? ProgressStyle::Bar
                                                         : ProgressStyle::None;
    ProgramState state = StartState();
    return BuildInTurn(request.files, request.overrides, state, out, err, progress);
}

}  // namespace qorv::cli
