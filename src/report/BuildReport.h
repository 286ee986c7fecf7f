#pragma once

#include "automation/Workbook.h"
#include "report/LoadLogFile.h"
#include "report/ProgressListener.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace qorv {

// The files a report run saved.
struct ReportFiles {
    QString workbook;            // the .xlsx path as saved ("_2" ... when the name was taken)
    std::optional<QString> pdf;  // the PDF copy, when asked for and made
};

// One report run: a new workbook with the report sheet and the chart-data sheet, built from
// the loaded file, the report options and the chart settings as they stand, saved into the
// save directory as device number + "-" + "ddmmyy_hhmmss" of `startTime`. The empty workbook
// is saved first, to take its name; the final save replaces it, and a run that fails removes
// it.
// A failure ends the run with its error (ReportError, ConversionError or the spreadsheet
// component's AutomationError) after the clean-up; a failing PDF copy is only reported to the
// listener. The run changes the loaded file as the report always has: its sample lines become
// the selection, and an event report reduces the rate line to its number.
//
//     ReportFiles files = BuildReport(state, listener);
ReportFiles BuildReport(ProgramState& state, ProgressListener& progress,
                        const QDateTime& startTime = QDateTime::currentDateTime());

// The same run in a given spreadsheet application, whose workbook stays open in it afterwards
// (also after a failure), for callers that look at the built workbook.
ReportFiles BuildReport(ProgramState& state, ProgressListener& progress,
                        automation::Application& application, const QDateTime& startTime);

}  // namespace qorv
