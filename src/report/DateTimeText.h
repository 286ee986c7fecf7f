#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace qorv {

// Reads "day<sep>month<sep>year[ hours:minutes[:seconds]]" in the process-wide format
// settings' date and time separators: day first, always. Day and month take one or two
// digits, the year four (or two: 00-29 is 20xx, 30-99 is 19xx, as the spreadsheet reads them);
// hours 0-23, minutes and seconds 0-59. Surrounding blanks are ignored. The result is a plain
// calendar value (UTC, so no daylight-saving gap can make a logged time invalid).
std::optional<QDateTime> TryReadDateTime(QStringView text);
// The same reading as milliseconds since 1970-01-01 00:00 of that calendar, without making a
// date-time: the form a pass over every sample line compares and subtracts.
std::optional<qint64> TryReadMSecsSinceEpoch(QStringView text);
// The date-time of such milliseconds.
inline QDateTime DateTimeOfMSecs(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}
inline std::optional<QDateTime> TryReadDateTime(const QString& text) {
    return TryReadDateTime(QStringView(text));
}
// As above; throws ConversionError naming the text when it does not read.
QDateTime ReadDateTime(const QString& text);

}  // namespace qorv
