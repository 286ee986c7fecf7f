#pragma once

#include "automation/Chart.h"
#include "report/ReportRun.h"

namespace qorv {

// The limit lines of the chart, for each plotted value channel whose chart settings ask for
// them and whose logger file gives limits: a block on the chart-data sheet to the right of the
// chart's table (a time column with the first and last plotted time, a column per limit
// holding it twice, the channel's name above its columns) and a dashed, thin two-point series
// per limit on that channel's value axis, red for the upper and blue for the lower. An axis of
// fixed scale keeps its scale; an automatic one takes the lines in. The chart's title stays as
// it was. No lines for an events channel or a chart without plotted rows.
//
//     DrawLimitLines(run, chart);   // after the chart's series are formatted
void DrawLimitLines(ReportRun& run, automation::Chart& chart);

}  // namespace qorv
