#include "cli/BuildCommand.h"

#include "report/BuildReport.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace qorv::cli {

namespace {

// Progress on standard error: on a terminal one line redrawn in place; otherwise a line per
// step of the run, so that logs and callers reading the stream see it too.
class ProgressLine : public ProgressListener {
  public:
    ProgressLine(QTextStream& err, const QString& name, bool terminal)
        : err_(err), name_(name), terminal_(terminal) {}

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
    void pdfFailed(const QString& message) override {
        clear();
        err_ << message << '\n';
        err_.flush();
    }
    void runFinished() override { clear(); }

  private:
    void draw() {
        if (maximum_ == 0) {
            return;
        }
        if (!terminal_) {
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
    bool terminal_;
    bool drawn_ = false;
    int printed_ = -1;
    int maximum_ = 0;
    int position_ = 0;
    qsizetype tableMaximum_ = 0;
    qsizetype tablePosition_ = 0;
};

}  // namespace

int RunBuild(const BuildRequest& request, QTextStream& out, QTextStream& err, bool terminal) {
    ProgramState state;
    state.options.Edit2 = QDir::currentPath() + '/';
    bool validationFailed = false;
    bool runFailed = false;

    for (const QString& file : request.files) {
        // The file must exist, as the report button checks; one that exists but cannot be
        // read fails its load.
        if (!QFileInfo(file).isFile()) {
            err << messages::FileMissing(file) << '\n';
            validationFailed = true;
            continue;
        }
        try {
            LoadLogFile(state, QFileInfo(file).absoluteFilePath());
        } catch (const FileReadError& e) {
            err << messages::FileReadFailed(e.path(), e.reason()) << '\n';
            runFailed = true;
            continue;
        }
        ApplyOverrides(request.overrides, state);
        if (const auto message = ValidateReportOptions(state.options)) {
            err << *message << '\n';
            validationFailed = true;
            continue;
        }
        ProgressLine progress(err, QFileInfo(file).fileName(), terminal);
        try {
            const ReportFiles files = BuildReport(state, progress);
            out << files.workbook << '\n';
            if (files.pdf) {
                out << *files.pdf << '\n';
            }
            out.flush();
        } catch (const std::exception& e) {
            err << file << ": " << QString::fromUtf8(e.what()) << '\n';
            runFailed = true;
        }
        err.flush();
    }
    return validationFailed ? 2 : runFailed ? 1 : 0;
}

}  // namespace qorv::cli
