#pragma once

#include "report/ReportRun.h"

namespace qorv {

// The sample work up to the chart data, each stage followed by its progress advance: the selection
// by range (which replaces the loaded file's sample lines by the selection), the splitting into
// columns (after which the run's formats are the system's), the corrections, the running mean
// kinetic temperature and the smoothing.
void SelectAndConvertSamples(ReportRun& run);

// The thinning after the chart data is written: the step in samples and the compression.
void ThinSamples(ReportRun& run);

}  // namespace qorv
