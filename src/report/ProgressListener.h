#pragma once

#include <QString>
#include <QtGlobal>

namespace qorv {

// What a report run shows while it works: the window enlarges itself and shows two progress
// bars, the command line prints a progress line. Every method has an empty default.
class ProgressListener {
  public:
    virtual ~ProgressListener() = default;
    // The run begins: the window grows to show the bars; the main bar runs 0..maximum.
    virtual void runStarted(int /*maximum*/) {}
    // The main bar moved to `position`.
    virtual void runAdvanced(int /*position*/) {}
    // The printed table begins: the table bar runs 0..maximum.
    virtual void tableStarted(qsizetype /*maximum*/) {}
    virtual void tableAdvanced(qsizetype /*position*/) {}
    virtual void tableHidden() {}
    // The PDF copy failed; the run goes on. The window shows the message in a box.
    virtual void pdfFailed(const QString& /*message*/) {}
    // The run ended, successfully or not: the bars are hidden, the window shrinks back.
    virtual void runFinished() {}
};

}  // namespace qorv
