#pragma once

#include "report/BuildReport.h"

#include <QString>

#include <functional>
#include <optional>

class QProgressBar;

namespace qorv::ui {

// Runs one report on a worker thread while the window's thread keeps the window painted and
// moves the two progress bars: the run's steps on `overall`, the rows of the printed table on
// `table`. The caller's state must not change while the run lasts (the window is disabled).
//
//     ReportRunner runner(*ui->ProgressBar1, *ui->ProgressBar2);
//     ReportFiles files = runner.run(state);   // throws what the run threw
class ReportRunner {
  public:
    ReportRunner(QProgressBar& overall, QProgressBar& table);

    // Builds the report; returns the saved files or rethrows the run's failure. The bars are
    // shown while the run shows them and hidden at its end, also after a failure.
    ReportFiles run(ProgramState& state);

    // Runs `work` on the worker thread in the same way, with the listener that moves the bars;
    // rethrows what it threw. A mapping study runs through here.
    void runWork(const std::function<void(ProgressListener&)>& work);

    // The message of a PDF copy that could not be made in the last run.
    const std::optional<QString>& pdfFailure() const { return pdfFailure_; }

  private:
    QProgressBar& overall_;
    QProgressBar& table_;
    std::optional<QString> pdfFailure_;
};

}  // namespace qorv::ui
