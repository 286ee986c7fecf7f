#include "automation/print/AxisScale.h"

#include "automation/print/CellText.h"

#include "automation/Chart.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <cmath>

namespace qorv::automation {

namespace {

// Tolerance of "lies on a tick" in units of the tick distance: tick arithmetic in binary
// floating point misses 0.1 steps by a few ulps.
constexpr double kTickTolerance = 1e-9;
constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 1.0 / 1440;
constexpr double kHour = 1.0 / 24;

double floorTo(double value, double unit) {
    return std::floor(value / unit + kTickTolerance) * unit;
}

double ceilTo(double value, double unit) {
    return std::ceil(value / unit - kTickTolerance) * unit;
}

bool isWhole(double value) {
    return std::abs(value - std::round(value)) <= 1e-6 + 1e-12 * std::abs(value);
}

// Ticks of step `unit` counted from `origin` that fall into [minimum, maximum].
long long tickCount(double minimum, double maximum, double unit, double origin) {
    const double first = std::ceil((minimum - origin) / unit - kTickTolerance);
    const double last = std::floor((maximum - origin) / unit + kTickTolerance);
    return last < first ? 0 : (long long)(last - first) + 1;
}

// Whether an axis fixes its minimum, its maximum and its major unit.
struct FixedScale {
    explicit FixedScale(const Axis& axis)
        : minimum(axis.minimum.has_value()),
          maximum(axis.maximum.has_value()),
          unit(axis.majorUnit.has_value() && *axis.majorUnit > 0) {}

    bool minimum;
    bool maximum;
    bool unit;
};

// The axis' fixed ends in place of lo and hi.
void takeFixedEnds(const Axis& axis, double& lo, double& hi) {
    if (axis.minimum) {
        lo = *axis.minimum;
    }
    if (axis.maximum) {
        hi = *axis.maximum;
    }
}

// Fixed ends that leave no room: the automatic end, else the maximum, moves `room` away.
void openUp(const FixedScale& fixed, double& lo, double& hi, double room) {
    if (fixed.maximum && !fixed.minimum) {
        lo = hi - room;
    } else {
        hi = lo + room;
    }
}

// Ends of a value axis before they are rounded to the unit.
struct ValueEnds {
    double lo = 0;
    double hi = 1;
    bool loAtZero = true;  // no room is added beyond an end pinned to zero
    bool hiAtZero = false;
};

// The data's ends with the zero rule applied; 0 .. 1 without data.
ValueEnds dataEnds(const DataExtent& data, bool includeZero) {
    ValueEnds e;
    if (data.empty()) {
        return e;
    }
    e.lo = data.minimum;
    e.hi = data.maximum;
    e.loAtZero = false;
    if (includeZero) {
        e.lo = std::min(e.lo, 0.0);
        e.hi = std::max(e.hi, 0.0);
    }
    if (e.lo >= 0 && e.hi - e.lo > e.hi / 6) {
        e.lo = 0;
        e.loAtZero = true;
    } else if (e.hi <= 0 && e.hi - e.lo > -e.lo / 6) {
        e.hi = 0;
        e.hiAtZero = true;
    } else if (e.hi == e.lo) {
        // One value: the axis runs from zero to it.
        if (e.lo > 0) {
            e.lo = 0;
            e.loAtZero = true;
        } else if (e.lo < 0) {
            e.hi = 0;
            e.hiAtZero = true;
        } else {
            e.hi = 1;
            e.loAtZero = true;
        }
    }
    return e;
}

// 5 % room beyond the automatic ends not pinned to zero; the room does not cross zero.
void addRoom(ValueEnds& e, const DataExtent& data, const FixedScale& fixed) {
    const double room = 0.05 * (e.hi - e.lo);
    if (!fixed.maximum && !e.hiAtZero) {
        e.hi += room;
        if (data.maximum <= 0 && e.hi > 0) {
            e.hi = 0;
        }
    }
    if (!fixed.minimum && !e.loAtZero) {
        e.lo -= room;
        if (data.minimum >= 0 && e.lo < 0) {
            e.lo = 0;
        }
    }
}

// Ends for a step: an automatic end moves outward onto a tick; ticks count from a fixed
// minimum, so that the top tick closes the axis.
struct TickEnds {
    double lo;
    double hi;
    const FixedScale& fixed;

    double low(double step) const { return fixed.minimum ? lo : floorTo(lo, step); }
    double high(double step) const {
        return fixed.maximum ? hi : fixed.minimum ? lo + ceilTo(hi - lo, step) : ceilTo(hi, step);
    }
};

// The smallest 1, 2 or 5 x 10^n that divides the ends into at most `maxDivisions`.
double automaticUnit(const TickEnds& ends, int maxDivisions) {
    const double span = ends.hi - ends.lo;
    double base = std::pow(10.0, std::floor(std::log10(span / maxDivisions)));
    for (int decade = 0; decade < 40; ++decade, base *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * base;
            if (std::ceil((ends.high(step) - ends.low(step)) / step - kTickTolerance) <=
                maxDivisions) {
                return step;
            }
        }
    }
    return span;
}

// Time steps in days, ascending. Week multiples keep weekly ticks on Mondays.
const std::vector<double>& timeSteps() {
    static const std::vector<double> steps = [] {
        std::vector<double> s;
        for (double seconds : {1, 2, 5, 10, 15, 30}) {
            s.push_back(seconds * kSecond);
        }
        for (double minutes : {1, 2, 5, 10, 15, 30}) {
            s.push_back(minutes * kMinute);
        }
        for (double hours : {1, 2, 3, 6, 12}) {
            s.push_back(hours * kHour);
        }
        for (double days : {1, 2}) {
            s.push_back(days);
        }
        for (double weeks : {1, 2, 4, 8, 13, 26, 52, 104, 260, 520, 1040, 2600, 5200}) {
            s.push_back(weeks * 7);
        }
        return s;
    }();
    return steps;
}

// Date and clock parts of a serial day number, rounded to the second.
struct Moment {
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

Moment momentOf(double serial) {
    const DateTimeParts t = DateTimeOfSerial(serial);
    return {QDate(t.year, t.month, t.day), t.hour, t.minute, t.second};
}

QString twoDigits(int value) {
    return QString::number(value).rightJustified(2, u'0');
}

QString dateText(const QDate& date, QChar separator) {
    return twoDigits(date.day()) + separator + twoDigits(date.month()) + separator +
           twoDigits(date.year() % 100);
}

QString clockText(const Moment& m, bool seconds) {
    QString text = twoDigits(m.hour) + u':' + twoDigits(m.minute);
    if (seconds) {
        text += u':' + twoDigits(m.second);
    }
    return text;
}

// The first section of a format code with quoted texts, escaped characters and bracketed
// parts other than elapsed-time fields ([h], [mm], [ss]) taken out.
QString formatFields(const QString& code) {
    QString out;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u';') {
            break;
        }
        if (c == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            const QString inner = code.mid(i + 1, end < 0 ? -1 : end - i - 1).toLower();
            if (!inner.isEmpty() && inner.count(inner.front()) == inner.size() &&
                (inner.front() == u'h' || inner.front() == u'm' || inner.front() == u's')) {
                out += inner;
            }
            i = end < 0 ? code.size() : end;
        } else {
            out += c;
        }
    }
    return out;
}

QString withSeparator(QString text, QChar separator) {
    if (separator != u'.') {
        text.replace(u'.', separator);
    }
    return text;
}

}  // namespace

AxisRange valueAxisRange(const DataExtent& data, const Axis& axis, int maxDivisions,
                         bool includeZero) {
    maxDivisions = std::max(1, maxDivisions);
    const FixedScale fixed(axis);
    ValueEnds e = dataEnds(data, includeZero);
    takeFixedEnds(axis, e.lo, e.hi);
    if (e.hi <= e.lo) {
        // A fixed end beyond the data (or beyond the other fixed end): one unit of room.
        openUp(fixed, e.lo, e.hi,
               fixed.unit ? *axis.majorUnit : std::max(1.0, std::abs(fixed.minimum ? e.lo : e.hi)));
    } else if (!data.empty()) {
        addRoom(e, data, fixed);
    }
    const TickEnds ends{e.lo, e.hi, fixed};
    const double unit = fixed.unit ? *axis.majorUnit : automaticUnit(ends, maxDivisions);
    const double from = ends.low(unit);
    const double to = ends.high(unit);
    return AxisRange{from, to > from ? to : from + unit, unit, from};
}

double timeStepOrigin(double step) {
    // 1 January 1900, serial 2, was a Monday.
    return step >= 7 && isWhole(step / 7) ? 2.0 : 0.0;
}

double timeStep(double minimum, double maximum, int maxLabels) {
    maxLabels = std::max(2, maxLabels);
    for (double step : timeSteps()) {
        if (tickCount(minimum, maximum, step, timeStepOrigin(step)) <= maxLabels) {
            return step;
        }
    }
    return timeSteps().back();
}

TimeAxisRange timeAxisRange(const DataExtent& data, const Axis& axis, int maxLabels) {
    const FixedScale fixed(axis);
    double lo = data.empty() ? 0 : data.minimum;
    double hi = data.empty() ? 1 : data.maximum;
    if (hi == lo) {
        lo -= kHour;
        hi += kHour;
    }
    takeFixedEnds(axis, lo, hi);
    if (hi <= lo) {
        openUp(fixed, lo, hi, fixed.unit ? *axis.majorUnit : kHour);
    }
    TimeAxisRange result;
    AxisRange& r = result.range;
    if (fixed.unit) {
        r.majorUnit = *axis.majorUnit;
        if (!fixed.minimum) {
            lo = floorTo(lo, r.majorUnit);
        }
        if (!fixed.maximum) {
            hi = ceilTo(hi, r.majorUnit);
        }
        r.origin = fixed.minimum ? lo : 0;
    } else {
        r.majorUnit = timeStep(lo, hi, maxLabels);
        r.origin = timeStepOrigin(r.majorUnit);
    }
    r.minimum = lo;
    r.maximum = hi;
    if (isWhole(r.majorUnit) && isWhole(r.origin)) {
        result.form = TimeLabelForm::Date;
    } else if (isWhole(r.majorUnit / kMinute) && isWhole(r.origin / kMinute)) {
        result.form = TimeLabelForm::DateTime;
    } else {
        result.form = TimeLabelForm::DateTimeSeconds;
    }
    return result;
}

std::vector<double> tickValues(const AxisRange& range, int stride, int limit) {
    std::vector<double> ticks;
    const double unit = range.majorUnit;
    if (!(unit > 0) || !(range.maximum >= range.minimum) || stride < 1) {
        return ticks;
    }
    double first = std::ceil((range.minimum - range.origin) / unit - kTickTolerance);
    const double last = std::floor((range.maximum - range.origin) / unit + kTickTolerance);
    // Start on a multiple of the stride, so that thinned ticks keep to round values.
    first = std::ceil(first / stride) * stride;
    for (double k = first; k <= last && int(ticks.size()) < limit; k += stride) {
        double value = range.origin + k * unit;
        if (std::abs(value) < unit * kTickTolerance) {
            value = 0;
        }
        ticks.push_back(value);
    }
    return ticks;
}

long long tickIndex(const AxisRange& range, double value) {
    return std::llround((value - range.origin) / range.majorUnit);
}

int labelStride(double tickSpacing, double labelExtent) {
    if (!(tickSpacing > 0)) {
        return 1000000000;
    }
    for (int base = 1; base <= 100000000; base *= 10) {
        for (int m : {1, 2, 5}) {
            if (m * base * tickSpacing >= labelExtent) {
                return m * base;
            }
        }
    }
    return 1000000000;
}

int timeLabelStride(double unitDays, double tickSpacing, double labelExtent) {
    if (tickSpacing > 0 && unitDays > 0) {
        for (double step : timeSteps()) {
            const double ratio = step / unitDays;
            if (ratio > 0.5 && isWhole(ratio) && std::round(ratio) * tickSpacing >= labelExtent) {
                return int(std::round(ratio));
            }
        }
    }
    return labelStride(tickSpacing, labelExtent);
}

int decimalsFor(const AxisRange& range) {
    double scale = 1;
    for (int decimals = 0; decimals < 10; ++decimals, scale *= 10) {
        if (isWhole(range.majorUnit * scale) && isWhole(range.origin * scale)) {
            return decimals;
        }
    }
    return 10;
}

QString valueLabel(double value, int decimals, QChar decimalSeparator) {
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals)) {
        value = 0;
    }
    if (std::abs(value) >= 1e11) {
        return withSeparator(QString::number(value, 'E', 2), decimalSeparator);
    }
    return withSeparator(QString::number(value, 'f', decimals), decimalSeparator);
}

QString timeLabel(double serial, TimeLabelForm form, QChar dateSeparator) {
    const Moment m = momentOf(serial);
    QString text = dateText(m.date, dateSeparator);
    if (form != TimeLabelForm::Date) {
        text += u'\n' + clockText(m, form == TimeLabelForm::DateTimeSeconds);
    }
    return text;
}

bool isDateTimeFormat(const QString& code) {
    return NumberFormatter(code).isDateTime();
}

QString formattedNumber(double value, const QString& formatCode, const DisplayLocale& locale) {
    const NumberFormatter formatter(formatCode);
    if (!formatter.isDateTime()) {
        return formatter.format(value, locale);
    }
    // Dates and times in the axis' short form, on two lines.
    const QString fields = formatFields(formatCode).toLower();
    const bool time = fields.contains(u'h') || fields.contains(u's');
    const bool seconds = fields.contains(u's');
    const bool date = fields.contains(u'd') || fields.contains(u'y') || !time;
    if (!date) {
        return clockText(momentOf(value), seconds);
    }
    return timeLabel(value,
                     !time     ? TimeLabelForm::Date
                     : seconds ? TimeLabelForm::DateTimeSeconds
                               : TimeLabelForm::DateTime,
                     locale.dateSeparator);
}

}  // namespace qorv::automation
