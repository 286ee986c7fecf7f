#pragma once

#include "import/LogData.h"
#include "report/Statistics.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A mapping study: several loggers placed through one space (a warehouse, a cold room) over the
// same days, and what they say together: each place's figures over the common period, the
// warmest and the coldest place, whether every place stayed within the acceptance range, and
// how far the places differ at one moment.
namespace qorv {

// What the user asks of a study.
struct MappingRequest {
    QStringList files;                  // the loggers' text files, in the order given
    std::optional<QDateTime> from, to;  // narrow the common period (inclusive)
    std::optional<double> low, high;    // the acceptance range of the temperature, °C
    QString deltaH;  // ΔH of the mean kinetic temperature, kJ/mol; empty: the window's default
};

// Where the acceptance range came from.
enum class RangeSource {
    None,     // no range: neither given nor the same in every file
    Options,  // given by the user
    Loggers,  // the loggers' own limits, the same in every file
};

// One sample of one channel: the logger's clock time (milliseconds since the epoch, UTC) and
// the value as measured.
using StudySample = SelectedSample;

// One logger of a study: where it was and what it recorded in the study period.
struct StudyLogger {
    QString file;          // the path as given
    QString deviceNumber;  // the device line's number, "" when the file has none
    QString place;         // the label's "Место установки" text, else the file's name
    std::optional<double> intervalSeconds;  // the median spacing of its samples in the period

    ChannelStatistics temperature;                // channel 1 over the period
    std::optional<ChannelStatistics> humidity;    // channel 2 when it is humidity
    std::vector<StudySample> temperatureSamples;  // in the period, in file order
    std::vector<StudySample> humiditySamples;     // empty without humidity

    // Against the acceptance range: samples below and above it and their time (samples × the
    // logger's interval; unknown without an interval). A side the range does not have (no range,
    // or one end only) counts no samples and has no time.
    qsizetype samplesBelow = 0, samplesAbove = 0;
    std::optional<double> secondsBelow, secondsAbove;
    bool withinRange() const { return samplesBelow == 0 && samplesAbove == 0; }
};

// The largest difference between places at one moment: the study period cut into steps of the
// longest logging interval, from the period's start; in each step each logger's first sample;
// the highest minus the lowest of those, over the steps where at least two loggers have one.
struct PlaceDifference {
    double degrees = 0;
    QDateTime stepStart;
    qsizetype warmer = -1, colder = -1;  // the loggers (indices) of the highest and the lowest
};

// A finished study.
struct MappingStudy {
    QDateTime start, end;  // the study period: every logger recording, narrowed by the request
    std::optional<double> low, high;
    RangeSource rangeSource = RangeSource::None;
    std::vector<StudyLogger> loggers;  // in the order of the request's files
    qsizetype samples = 0;             // temperature samples of all loggers in the period

    // Indices into `loggers`; the first in file order on a tie.
    qsizetype warmestByMaximum = -1, warmestByMean = -1;
    qsizetype coldestByMinimum = -1, coldestByMean = -1;

    // Over every temperature sample of every logger in the period.
    double minimum = 0, maximum = 0, mean = 0;

    double stepSeconds = 0;  // the longest logging interval of the loggers
    std::optional<PlaceDifference> largestDifference;  // none when no step has two loggers
};

// Where a logger was: its label's "Место установки" text, else the name of its file.
QString LoggerPlace(const LogData& data, const QString& file);

// Reads every file of the request, side by side on the cores, and works out the study. A file
// that cannot be read, a file without temperature samples and a file with no time in common
// with the others end it with a ReportError whose message names the file; no study is made.
//
//     MappingStudy study = ComputeMappingStudy(request);
MappingStudy ComputeMappingStudy(const MappingRequest& request);

}  // namespace qorv
