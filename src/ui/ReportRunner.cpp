#include "ui/ReportRunner.h"

#include "files/Precision.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QProgressBar>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace qorv::ui {

namespace {

// The run's progress as the worker thread reports it; the window's thread reads it on a timer
// instead of being sent an event per table row.
class SharedProgress final : public ProgressListener {
  public:
    void runStarted(int maximum) override {
        maximum_ = maximum;
        position_ = 0;
        running_ = true;
    }
    void runAdvanced(int position) override { position_ = position; }
    void tableStarted(qsizetype maximum) override {
        tableMaximum_ = maximum;
        tablePosition_ = 0;
        tableShown_ = true;
    }
    void tableAdvanced(qsizetype position) override { tablePosition_ = position; }
    void tableHidden() override { tableShown_ = false; }
    void pdfFailed(const QString& message) override {
        QMutexLocker lock(&mutex_);
        pdfFailure_ = message;
    }
    void runFinished() override {
        running_ = false;
        tableShown_ = false;
    }

    // Puts the reported state onto the bars.
    void show(QProgressBar& overall, QProgressBar& table) const {
        overall.setVisible(running_);
        if (running_) {
            overall.setRange(0, maximum_);
            overall.setValue(std::min<int>(position_, maximum_));
        }
        table.setVisible(tableShown_);
        if (tableShown_) {
            // The bar counts in int; a table of more rows is shown in proportion.
            const qsizetype maximum = tableMaximum_;
            const int scale = maximum > 1'000'000 ? static_cast<int>(maximum / 1'000'000 + 1) : 1;
            table.setRange(0, static_cast<int>(maximum / scale));
            table.setValue(static_cast<int>(std::min<qsizetype>(tablePosition_, maximum) / scale));
        }
    }

    std::optional<QString> pdfFailure() const {
        QMutexLocker lock(&mutex_);
        return pdfFailure_;
    }

  private:
    std::atomic<int> maximum_{0};
    std::atomic<int> position_{0};
    std::atomic<bool> running_{false};
    std::atomic<qsizetype> tableMaximum_{0};
    std::atomic<qsizetype> tablePosition_{0};
    std::atomic<bool> tableShown_{false};
    mutable QMutex mutex_;
    std::optional<QString> pdfFailure_;
};

}  // namespace

ReportRunner::ReportRunner(QProgressBar& overall, QProgressBar& table)
    : overall_(overall), table_(table) {}

ReportFiles ReportRunner::run(ProgramState& state) {
    ReportFiles files;
    runWork([&](ProgressListener& progress) { files = BuildReport(state, progress); });
    return files;
}

void ReportRunner::runWork(const std::function<void(ProgressListener&)>& work) {
    pdfFailure_.reset();
    SharedProgress progress;
    std::exception_ptr failure;

    QEventLoop loop;
    QTimer refresh;
    refresh.setInterval(40);
    QObject::connect(&refresh, &QTimer::timeout, &loop, [&] { progress.show(overall_, table_); });
    refresh.start();

    std::thread worker([&] {
        files::UseFullLongDoublePrecision();
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Paint, move the bars, and leave when the worker is done; user input reaches only what is
    // enabled, and the window is disabled by the caller.
    loop.exec();
    worker.join();
    refresh.stop();

    progress.show(overall_, table_);
    overall_.hide();
    table_.hide();
    pdfFailure_ = progress.pdfFailure();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace qorv::ui
