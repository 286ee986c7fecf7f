#pragma once

#include "cli/CommandLine.h"
#include "report/Statistics.h"

#include <QJsonObject>
#include <QTextStream>

namespace qorv::cli {

// The statistics of one file as the JSON object of `stats --json`; the keys are documented in
// the README and stay stable.
QJsonObject StatisticsObject(const SelectionStatistics& statistics);

// Loads every file in turn (one program state, as the build form), applies the options, checks
// them as the "Excel" button does and prints the statistics of the selection. Returns the exit
// code: 0, 1 when a file could not be read or computed, 2 when its options were refused.
int RunStats(const StatsRequest& request, QTextStream& out, QTextStream& err);

}  // namespace qorv::cli
