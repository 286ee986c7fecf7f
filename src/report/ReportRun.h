#pragma once

#include "automation/Workbook.h"
#include "report/LoadLogFile.h"
#include "report/ProgressListener.h"
#include "report/SampleConversion.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace qorv {

// The state one report run keeps while its stages build the workbook; it lives for one run.
// The stages read the program-wide records (the loaded file, the report options, the chart
// settings) through `program`, as the run reads the window's controls at the moment it needs
// them.
struct ReportRun {
    ReportRun(ProgramState& programState, ProgressListener& listener,
              automation::Application& spreadsheet)
        : program(programState), progress(listener), application(spreadsheet) {}

    ProgramState& program;
    ProgressListener& progress;

    // The spreadsheet application, the report workbook and the two worksheets; `sheet` is the
    // current one, which every cell operation of a stage addresses.
    automation::Application& application;
    automation::Workbook* workbook = nullptr;
    automation::Worksheet* ReportSheet = nullptr;
    automation::Worksheet* DataSheet = nullptr;
    automation::Worksheet* sheet = nullptr;

    QDateTime startTime;  // local time at the start of the run
    QString RunStamp;     // "ddmmyy_hhmmss"
    QString ReportPath;   // directory + device number + "-" + stamp, without extension
    QString savedPath;    // the workbook's path as saved (with "_2" ... when the name was taken)
    std::optional<QString> pdfPath;

    int ReportRow = 1;
    int DataSheetRow = 1;
    int PageNumber = 1;
    int ChartRow = 0;
    QStringList PageHeadRows;
    int ChartDataHeaderRow = 0;
    int ChartDataLastRow = 0;
    QChar decimalSeparator;

    // TimeTexts, Channel1Texts, Channel2Texts with their sample lines.
    SampleColumns columns;

    int progressPosition = 0;
    static constexpr int kProgressMaximum = 14;

    // ProgressBar1 moves on by one; it stays full once it reaches its maximum.
    void advance() {
        progressPosition = std::min(progressPosition + 1, kProgressMaximum);
        progress.runAdvanced(progressPosition);
    }
    // Makes a worksheet the current sheet.
    void select(automation::Worksheet& worksheet) { sheet = &worksheet; }
};

}  // namespace qorv
