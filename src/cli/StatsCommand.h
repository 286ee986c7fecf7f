#pragma once

#include "cli/CommandLine.h"
#include "report/Statistics.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>

#include <QTextStream>
#include <optional>

namespace qorv::cli {

// The JSON forms of the figures: a time of the logger's own clock, without a zone, as ISO 8601
// local time ("2023-05-12T08:00:00"); a number, null when unknown or not finite.
QJsonValue JsonTime(const QDateTime& time);
QJsonValue JsonNumber(const std::optional<double>& x);

// The statistics of one file as the JSON object of `stats --json`; the keys are documented in
// the README and stay stable.
QJsonObject StatisticsObject(const SelectionStatistics& statistics);

// One channel's figures, as an element of the "channels" array of that object; the times of
// samples beyond the limits are counted with the selection's interval.
QJsonObject ChannelStatisticsObject(const ChannelStatistics& channel,
                                    const SelectionStatistics& statistics);

// Loads every file in turn (one program state, as the build form), applies the options, checks
// them as the "Excel" button does and prints the statistics of the selection. Returns the exit
// code: 0, 1 when a file could not be read or computed, 2 when its options were refused.
int RunStats(const StatsRequest& request, QTextStream& out, QTextStream& err);

}  // namespace qorv::cli
