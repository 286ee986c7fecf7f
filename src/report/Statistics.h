#pragma once

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

    // Temperature channel: the mean kinetic temperature of the whole selection.
    std::optional<double> meanKineticTemperature;
    QString deltaH;  // the ΔH field's text it was computed with

    // The logger file's limits of the channel and the samples beyond them.
    struct Excursion {
        qsizetype samples = 0;
        QDateTime start;
    };
    std::optional<double> upperLimit, lowerLimit;
    qsizetype aboveUpper = 0, belowLower = 0;
    Excursion longestExcursion;  // the longest run of samples outside either limit

    // Events channel: changes of state and samples in each state (1 "Есть", 0 "Нет").
    qsizetype switches = 0;
    qsizetype samplesOn = 0, samplesOff = 0;
};

// The statistics of a report's selection: the logging interval (the median spacing of the
// selected samples, in seconds) and each included channel.
struct SelectionStatistics {
    qsizetype selected = 0;
    double intervalSeconds = 0;
    std::vector<ChannelStatistics> channels;
};

// Computes the statistics of the loaded file with the report options as they stand: the
// range, the included channels, the corrections and ΔH. A sample value or range end that does
// not read ends it with the run's message. The process-wide format settings are left at the
// program's conventions.
//
//     SelectionStatistics stats = ComputeStatistics(state);
SelectionStatistics ComputeStatistics(const ProgramState& state);

// The section's lines as the report and the command line show them, in the system's
// separators: per channel a heading line and its figures ("Нет данных" when the selection has
// no value of it).
QStringList StatisticsLines(const SelectionStatistics& statistics);

// A duration in seconds as the lines show it: "1 сут 2 ч 5 мин", "45 с", "0 мин".
QString DurationText(double seconds);

}  // namespace qorv
