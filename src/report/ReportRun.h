#pragma once

#include "automation/Workbook.h"
#include "report/LoadLogFile.h"
#include "report/ProgressListener.h"
#include "report/SampleConversion.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qorv {

// The report's channels as the stages ask about them, settled once when a run starts: the two
// channel boxes and whether the file's channel 2 records on/off events.
struct RunChannels {
    bool channel1 = false;  // "1 канал"
    bool channel2 = false;  // "2 канал"
    bool events = false;    // channel 2 of the file records on/off events

    // Channel 2's events are reported: the chart-data table has their heading row.
    bool eventTable() const { return channel2 && events; }
    // Channel 2's events alone: a column chart and the table of state durations.
    bool eventsOnly() const { return eventTable() && !channel1; }
};

inline RunChannels ChannelsOf(const ReportOptions& options, const LogData& data) {
    return {options.isChecked(ReportOptions::CheckBox6),
            options.isChecked(ReportOptions::CheckBox7), data.hasEvents()};
}

// The state one report run keeps while its stages build the workbook; it lives for one run.
// The stages read the program-wide records (the loaded file, the report options, the chart
// settings) through `program`, as the run reads the window's controls at the moment it needs
// them.
struct ReportRun {
    ReportRun(ProgramState& programState, ProgressListener& listener,
              automation::Application& spreadsheet)
        : program(programState),
          progress(listener),
          application(spreadsheet),
          channels(ChannelsOf(programState.options, programState.data)) {}

    ProgramState& program;
    ProgressListener& progress;

    // The spreadsheet application, the report workbook and the two worksheets; `sheet` is the
    // current one, which every cell operation of a stage addresses.
    automation::Application& application;
    automation::Workbook* workbook = nullptr;
    automation::Worksheet* ReportSheet = nullptr;
    automation::Worksheet* DataSheet = nullptr;
    automation::Worksheet* sheet = nullptr;

    const RunChannels channels;

    QDateTime startTime;  // local time at the start of the run
    QString RunStamp;     // "ddmmyy_hhmmss"
    QString ReportPath;   // directory + device number + "-" + stamp, without extension
    QString savedPath;    // the workbook's path as saved (with "_2" ... when the name was taken)
    std::optional<QString> pdfPath;

    int ReportRow = 1;
    int DataSheetRow = 1;
    int PageNumber = 1;
    int ChartRow = 0;
    std::vector<int> PageHeadRows;  // the first row of each page after the first
    int ChartDataHeaderRow = 0;
    int ChartDataLastRow = 0;
    QChar decimalSeparator;

    // The sample lines with their time texts, Channel1Texts and Channel2Texts. The channels'
    // texts go when the printed table has read them; the lines then give way to their times
    // in a run that does not keep its selection; the rest goes once the tables are written,
    // before the chart and the save.
    SampleColumns columns;
    bool channel2HasValues = false;  // Channel2Texts had entries when the tables were written

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
