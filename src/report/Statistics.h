#pragma once

#include "report/DateTimeText.h"
#include "report/LoadLogFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qorv {

// The figures of one channel over the selected samples, after the corrections T = a·t + b and
// M = c·m + d and before the running mean kinetic temperature, the smoothing, the step and the
// compression: the values as measured and corrected, as the tables print them.
struct ChannelStatistics {
    enum class Kind { Temperature, Values, Events };

    int channel = 1;  // 1 or 2
    QString name;     // the channel's name in the window (Edit12, Edit13)
    Kind kind = Kind::Values;
    int decimals = 1;  // of the channel's printed-table column

    qsizetype samples = 0;  // samples with a value of this channel
    QDateTime first, last;
    double minimum = 0, maximum = 0;
    QDateTime minimumTime, maximumTime;  // first occurrences
    double mean = 0;
    std::optional<double> standardDeviation;  // sample (n − 1); none for one sample

    // Temperature channel: the mean kinetic temperature of the whole selection; none when a
    // corrected temperature lies at or below absolute zero (`belowAbsoluteZero`).
    std::optional<double> meanKineticTemperature;
    bool belowAbsoluteZero = false;
    QString deltaH;  // the ΔH field's text it was computed with

    // The logger file's limits of the channel and the samples beyond them.
    struct Excursion {
        qsizetype samples = 0;
        QDateTime start;
    };
    std::optional<double> upperLimit, lowerLimit;
    // An upper limit at or below the lower one (a damaged file): no figures are counted.
    bool limitsReversed() const { return upperLimit && lowerLimit && *upperLimit <= *lowerLimit; }
    qsizetype aboveUpper = 0, belowLower = 0;
    Excursion longestExcursion;  // the longest run of samples outside either limit

    // Events channel: changes of state, samples in each state (1 "Есть", 0 "Нет") and the time
    // in each: every increasing spacing between consecutive samples counts for the state of the
    // earlier sample, as in the state-duration table, so both add up to the channel's span.
    qsizetype switches = 0;
    qsizetype samplesOn = 0, samplesOff = 0;
    double secondsOn = 0, secondsOff = 0;
};

// The statistics of a report's selection: the logging interval (the median of the increasing
// spacings of the selected samples, in seconds; none without such a spacing), the spacings left
// out because the time did not increase, and each included channel.
struct SelectionStatistics {
    qsizetype selected = 0;
    std::optional<double> intervalSeconds;
    qsizetype nonIncreasingSpacings = 0;
    std::vector<ChannelStatistics> channels;

    // n samples × the interval; unknown for samples without an interval, 0 for none.
    std::optional<double> secondsOf(qsizetype n) const {
        if (n == 0) {
            return 0.0;
        }
        if (!intervalSeconds) {
            return std::nullopt;
        }
        return static_cast<double>(n) * *intervalSeconds;
    }
};

// One selected sample of a channel: its time, as milliseconds since 1970-01-01 00:00 of the
// file's calendar (a plain number, so that a million of them are moved and compared as such),
// and its corrected value.
struct SelectedSample {
    qint64 msecs;
    double value;

    QDateTime time() const { return DateTimeOfMSecs(msecs); }
};

// The selected samples of each channel, in file order, that the figures are computed from.
struct SelectedChannels {
    std::vector<SelectedSample> channel1, channel2;
};

// Computes the statistics of the loaded file with the report options as they stand: the
// range, the included channels, the corrections and ΔH. A sample value or range end that does
// not read ends it with the run's message. The process-wide format settings are left at the
// program's conventions. `samples`, when given, receives the selected samples of both
// channels, also of one that is not included.
//
//     SelectionStatistics stats = ComputeStatistics(state);
SelectionStatistics ComputeStatistics(const ProgramState& state,
                                      SelectedChannels* samples = nullptr);

// The section's lines as the report and the command line show them, in the system's
// separators: per channel a heading line and its figures ("Нет данных" when the selection has
// no value of it).
QStringList StatisticsLines(const SelectionStatistics& statistics);

// A duration in seconds as the lines show it: "1 сут 2 ч 5 мин", "45 с", "0 мин"; an unknown
// one as "время неизвестно".
QString DurationText(double seconds);
QString DurationText(const std::optional<double>& seconds);

}  // namespace qorv
