#include "report/DateTimeText.h"

#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/ReportError.h"

#include <QStringView>

#include <array>

namespace qorv {

namespace {

// Cuts `text` at each `separator` into `parts`, empty parts kept; returns how many there are,
// or one more than `parts` holds when there are more. Nothing is allocated: every sample's
// time goes through here.
template <std::size_t N>
qsizetype splitInto(QStringView text, QChar separator, std::array<QStringView, N>& parts) {
    qsizetype count = 0;
    qsizetype start = 0;
    while (count < qsizetype(N)) {
        const qsizetype at = text.indexOf(separator, start);
        parts[std::size_t(count++)] = at < 0 ? text.sliced(start) : text.sliced(start, at - start);
        if (at < 0) {
            return count;
        }
        start = at + 1;
    }
    return count + 1;
}

std::optional<QDate> readDate(QStringView text, QChar separator) {
    std::array<QStringView, 3> parts;
    if (splitInto(text, separator, parts) != 3) {
        return std::nullopt;
    }
    const auto day = ReadDigits(parts[0], 2);
    const auto month = ReadDigits(parts[1], 2);
    auto year = ReadDigits(parts[2], 4);
    if (!day || !month || !year || (parts[2].size() != 2 && parts[2].size() != 4)) {
        return std::nullopt;
    }
    if (parts[2].size() == 2) {
        *year += *year < 30 ? 2000 : 1900;
    }
    const QDate date(*year, *month, *day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QTime> readTime(QStringView text, QChar separator) {
    std::array<QStringView, 3> parts;
    const qsizetype count = splitInto(text, separator, parts);
    if (count < 2 || count > 3) {
        return std::nullopt;
    }
    const auto hour = ReadDigits(parts[0], 2);
    const auto minute = ReadDigits(parts[1], 2);
    const auto second = count == 3 ? ReadDigits(parts[2], 2) : std::optional<int>(0);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return QTime(*hour, *minute, *second);
}

constexpr qint64 kJulianDayOf1970 = 2440588;
constexpr qint64 kMSecsPerDay = 86400000;

qint64 msecsOf(const QDate& date, const QTime& time) {
    return (date.toJulianDay() - kJulianDayOf1970) * kMSecsPerDay + time.msecsSinceStartOfDay();
}

// A time in the shape every logger writes, "dd.mm.yyyy hh:mm:ss" with nothing around it, read
// at its fixed places: true, with the time (none for a day or hour that does not exist), when
// `text` has that shape. Any other text is for the general reading, which reads this shape the
// same.
bool readLoggerShape(QStringView text, QChar dateSeparator, QChar timeSeparator,
                     std::optional<qint64>& result) {
    static constexpr char kShape[] = "00.00.0000 00:00:00";
    if (text.size() != qsizetype(sizeof kShape - 1)) {
        return false;
    }
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digit(dateSeparator) || digit(timeSeparator) || dateSeparator == u' ' ||
        timeSeparator == u' ') {
        return false;
    }
    int numbers[6] = {};
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (kShape[i]) {
            case '0':
                if (!digit(c)) {
                    return false;
                }
                numbers[n] = numbers[n] * 10 + (c.unicode() - u'0');
                continue;
            case '.':
                if (c != dateSeparator) {
                    return false;
                }
                break;
            case ':':
                if (c != timeSeparator) {
                    return false;
                }
                break;
            default:
                if (c != u' ') {
                    return false;
                }
        }
        ++n;
    }
    const QDate date(numbers[2], numbers[1], numbers[0]);
    if (!date.isValid() || numbers[3] > 23 || numbers[4] > 59 || numbers[5] > 59) {
        result = std::nullopt;
    } else {
        result = msecsOf(date, QTime(numbers[3], numbers[4], numbers[5]));
    }
    return true;
}

}  // namespace

std::optional<qint64> TryReadMSecsSinceEpoch(QStringView text) {
    const FormatSettings& settings = FormatSettings::instance();
    std::optional<qint64> usual;
    if (readLoggerShape(text, settings.dateSeparator(), settings.timeSeparator(), usual)) {
        return usual;
    }
    const QStringView trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QChar(' '));
    const QStringView datePart = blank < 0 ? trimmed : trimmed.left(blank);
    const auto date = readDate(datePart, settings.dateSeparator());
    if (!date) {
        return std::nullopt;
    }
    QTime time(0, 0, 0);
    if (blank >= 0) {
        const auto parsed = readTime(trimmed.mid(blank + 1).trimmed(), settings.timeSeparator());
        if (!parsed) {
            return std::nullopt;
        }
        time = *parsed;
    }
    return msecsOf(*date, time);
}

std::optional<QDateTime> TryReadDateTime(QStringView text) {
    if (const auto msecs = TryReadMSecsSinceEpoch(text)) {
        return DateTimeOfMSecs(*msecs);
    }
    return std::nullopt;
}

QDateTime ReadDateTime(const QString& text) {
    if (const auto value = TryReadDateTime(text)) {
        return *value;
    }
    throw ConversionError(messages::NotADateTime(text), text);
}

}  // namespace qorv
