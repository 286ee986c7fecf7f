#pragma once

#include "report/ReportRun.h"

namespace qorv {

// The row of the chart-data sheet's column headings: 5 for the on/off event heading (channel 2
// with events included), 4 otherwise. The samples follow it, one per row.
int ChartDataHeadingRow(const ReportOptions& options, const LogData& data);

// How many samples the chart-data sheet holds below its headings.
qsizetype ChartDataCapacity(const ReportOptions& options, const LogData& data);

// The title and column-heading rows of the chart-data sheet ("График температуры", "Время"
// and the channel-1 name, or the on/off event heading); sets ChartDataHeaderRow.
void WriteChartDataHeading(ReportRun& run);

// The chart-data columns below the heading: times (read as dates), channel 1, channel 2, one
// call per column, each with borders and its progress advance.
void WriteChartDataColumns(ReportRun& run);

// For an on/off event channel shown alone: the chart data becomes the table of state changes
// with the time spent in the state that ended (the rate line gives the sampling interval). The
// loaded rate line is replaced by its reduction.
void WriteStateDurationTable(ReportRun& run);

// The rate line as the state-duration table reads its interval: the unit words ("сек.",
// "мин."), the line's caption and every blank removed, in that order.
QString ReducedRateText(const QString& rateLine);

// The printed value table of the report sheet, in blocks of up to 57 rows, two (two channels)
// or three (one channel) side by side, with a page break and page heading before each further
// page. The channels' texts are read as numbers before the first block and let go.
void WritePrintedTable(ReportRun& run);

}  // namespace qorv
