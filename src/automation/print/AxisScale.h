#pragma once

#include "automation/print/DisplayLocale.h"

#include <QString>
#include <limits>
#include <vector>

namespace qorv::automation {

class Axis;

// Scaling of chart axes as a spreadsheet program chooses it when the axis leaves minimum,
// maximum or major unit automatic, and the texts of the axis labels.

// Smallest and largest finite value seen; empty until the first one.
struct DataExtent {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();

    bool empty() const { return !(minimum <= maximum); }
    void add(double value) {
        if (value < minimum) {
            minimum = value;
        }
        if (value > maximum) {
            maximum = value;
        }
    }
    void add(const DataExtent& other) {
        if (!other.empty()) {
            add(other.minimum);
            add(other.maximum);
        }
    }
};

// A linear axis: its ends and the distance of its major ticks, which sit at
// origin + k * majorUnit.
struct AxisRange {
    double minimum = 0;
    double maximum = 1;
    double majorUnit = 0.2;
    double origin = 0;
};

// Value axis. Automatic ends follow the data with 5 % room, rounded outward to the major unit;
// the minimum becomes 0 when all data are >= 0 and spread over more than a sixth of the
// maximum (mirrored for data <= 0), or always when `includeZero` (columns grow from 0). An
// automatic major unit is the smallest 1, 2 or 5 x 10^n that gives at most `maxDivisions`
// divisions. Fixed ends and unit of `axis` are kept as they are, even when data lie outside.
AxisRange valueAxisRange(const DataExtent& data, const Axis& axis, int maxDivisions,
                         bool includeZero = false);

// How the labels of a time axis read: the date alone (whole-day steps), the date and hh:mm,
// or the date and hh:mm:ss (steps under a minute).
enum class TimeLabelForm { Date, DateTime, DateTimeSeconds };

struct TimeAxisRange {
    AxisRange range;
    TimeLabelForm form = TimeLabelForm::DateTime;
};

// Smallest step out of 1 .. 30 s, 1 .. 30 min, 1, 2, 3, 6, 12 h, 1, 2, 7, 14 ... days that
// puts at most `maxLabels` ticks into [minimum, maximum] (serial days). Weekly steps start on
// Mondays; the others at midnight.
double timeStep(double minimum, double maximum, int maxLabels);
// Where the ticks of a time step are counted from (serial days).
double timeStepOrigin(double step);

// Time axis of serial days (days since 30.12.1899, the fraction the time of day). Automatic
// ends are the data's span; a fixed major unit rounds them outward to it. An automatic unit
// comes from timeStep.
TimeAxisRange timeAxisRange(const DataExtent& data, const Axis& axis, int maxLabels);

// Tick values of a range, origin + k * majorUnit within [minimum, maximum], only every
// stride-th (k a multiple of `stride`), at most `limit`.
std::vector<double> tickValues(const AxisRange& range, int stride = 1, int limit = 100000);
// Index k of a tick value, origin + k * majorUnit.
long long tickIndex(const AxisRange& range, double value);

// Label thinning: the smallest stride out of 1, 2, 5, 10, 20, 50 ... such that labels on
// every stride-th tick, `tickSpacing` apart, leave `labelExtent` (label size and gap) free.
int labelStride(double tickSpacing, double labelExtent);
// The same for time ticks of `unitDays`: strides that land on whole clock steps (6 x 10 min =
// 1 h) come first.
int timeLabelStride(double unitDays, double tickSpacing, double labelExtent);

// Fewest decimals that show every tick of the range exactly (up to 10).
int decimalsFor(const AxisRange& range);
// A value label with `decimals` decimals and the given decimal separator; never "-0".
QString valueLabel(double value, int decimals, QChar decimalSeparator);
// A time label: "dd.mm.yy", then on a second line "hh:mm" or "hh:mm:ss", the date separator
// being the locale's.
QString timeLabel(double serial, TimeLabelForm form, QChar dateSeparator);

// Whether a number format code shows a date or time (d, m, y, h or s outside quotes).
bool isDateTimeFormat(const QString& code);
// A number cell as its format shows it, in short, for category labels: dates and times as
// timeLabel does, fixed decimals as the format asks, anything else in general form.
QString formattedNumber(double value, const QString& formatCode, const DisplayLocale& locale);

}  // namespace qorv::automation
