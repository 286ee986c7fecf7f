#pragma once

#include "import/LogData.h"

#include <QString>

#include <optional>

namespace qorv {

// The logger file's limits of one channel, as numbers; a limit without a row, or whose row
// holds no number, has none.
struct ChannelLimits {
    std::optional<double> upper;
    std::optional<double> lower;

    bool any() const { return upper || lower; }
};

// The number of a limit row ("Верхний температурный предел: 24.0 °C"): the first word after
// its last ':'.
std::optional<double> LimitValue(const QString& row);

// Channel 1's limits (the temperature limit rows) or channel 2's (the data channel's).
ChannelLimits LimitsOfChannel(const LoadSummary& summary, int channel);

}  // namespace qorv
