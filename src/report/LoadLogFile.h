#pragma once

#include "import/LogData.h"
#include "import/PuskFile.h"
#include "report/ChartSettings.h"
#include "report/ReportOptions.h"

namespace qorv {

// The program-wide records: the loaded file, the reader's display results, the report options
// and the chart settings. The window owns one; the command line owns one for all its files, so
// the fields a load keeps carry over from one file to the next as they do in the window.
struct ProgramState {
    LogData data;
    LoadSummary summary;
    ReportOptions options;
    ChartSettings chart;
    // Whether a report run leaves its selection in `data` as the file's sample lines, for the
    // next run on the same file (the window). The command line loads each file anew; there a
    // run lets the lines go once its last table has read them, before the save.
    bool keepsSelection = true;
};

// Loads a logger file as the window does: the program's date and time conventions, the reset
// of the chart settings and the report options, the reader, then the window's steps after the
// read. `observer`, when given, sees the reader's events too (a window repaints on them).
// A FileReadError leaves the state as the reset and the partial read left it.
//
//     ProgramState state;
//     LoadLogFile(state, "examples/temperature_humidity.txt");
void LoadLogFile(ProgramState& state, const QString& path, LoadListener* observer = nullptr);

}  // namespace qorv
