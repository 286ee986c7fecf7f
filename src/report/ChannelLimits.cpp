#include "report/ChannelLimits.h"

#include "report/NumberText.h"

#include <cmath>

namespace qorv {

std::optional<double> LimitValue(const QString& row) {
    const qsizetype colon = row.lastIndexOf(':');
    if (row == QLatin1String("NO") || colon < 0) {
        return std::nullopt;
    }
    const QString word = row.mid(colon + 1).trimmed().section(' ', 0, 0);
    // A number beyond the double range is no limit, as the word "inf" is.
    if (const auto value = TryReadNumber(word); value && std::isfinite(double(*value))) {
        return static_cast<double>(*value);
    }
    return std::nullopt;
}

ChannelLimits LimitsOfChannel(const LoadSummary& summary, int channel) {
    const auto upper = channel == 1 ? LoadSummary::TempUpper : LoadSummary::DataUpper;
    const auto lower = channel == 1 ? LoadSummary::TempLower : LoadSummary::DataLower;
    return {LimitValue(summary.LimitRows[upper]), LimitValue(summary.LimitRows[lower])};
}

}  // namespace qorv
