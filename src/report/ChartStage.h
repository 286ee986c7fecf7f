#pragma once

#include "report/ReportRun.h"

namespace qorv {

// The report's chart, when `CheckBox9` is ticked, a channel is included and the range selects a
// sample: made from the
// chart-data table on the data sheet, placed into the report sheet over the 22 rows the
// heading block kept free from ChartRow on, and formatted from the chart settings, the
// channel choices and names and the loaded file's flags. A chart of on/off events alone is a
// column chart and sets DataSeriesKind to "OK" (kept until the next load); every other chart
// is a scatter chart of smooth lines. Leaves the report sheet current.
void BuildChart(ReportRun& run);

}  // namespace qorv
