#pragma once

#include "report/ReportRun.h"

namespace qorv {

// Column widths: A to F of the report sheet 13.57, of the chart-data sheet 15, each set
// through its cell in row 1, the report sheet first; the report sheet is current afterwards.
void SetColumnWidths(ReportRun& run);

// The top of the report: the page-1 heading, the heading and parameter block (titles, device
// line, label, status, the report's own parameters), the page break after it, the chart's
// rows; leaves ReportRow at the first row of the tables and the chart-data sheet current.
// A block too long for page 1 continues on the next pages, each begun in its first row.
void WriteHeadingBlock(ReportRun& run);

}  // namespace qorv
