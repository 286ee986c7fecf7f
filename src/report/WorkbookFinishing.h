#pragma once

#include "report/ReportRun.h"

namespace qorv {

// The last formatting of the report sheet: font name, row heights and vertical alignment down
// to 110 rows below the tables, "Arial Narrow" back on the page headings' device numbers, A4
// paper and margins; then the sheet names "График" and "Данные". The report sheet is current
// afterwards.
void FinishWorkbook(ReportRun& run);

}  // namespace qorv
