#include "report/MappingStudy.h"

#include "files/FileName.h"
#include "report/ChannelLimits.h"
#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"
#include "report/SampleConversion.h"
#include "report/SideBySide.h"
#include "report/UserMessage.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qorv {

namespace {

using R = ReportOptions;
namespace text = messages::mapping;

// A logger's file as loaded, and the times of its first and its last temperature sample in
// file order.
struct LoadedLogger {
    ProgramState state;
    QDateTime first, last;
};

// The study period, both ends included.
struct Period {
    QDateTime start, end;
};

// The acceptance range the study is measured against.
struct AcceptanceRange {
    std::optional<double> low, high;
    RangeSource source = RangeSource::None;
};

// A time as the messages show it, with the system's date separator as the statistics lines.
QString timeText(const QDateTime& time) {
    const QChar separator =
        FormatSettings::dateSeparatorOf(FormatSettings::instance().systemLocale());
    return time.toString(QStringLiteral("dd%1MM%1yyyy hh:mm:ss").arg(separator));
}

QString spanText(const QDateTime& first, const QDateTime& last) {
    return text::Span(timeText(first), timeText(last));
}

// A time of the request as the loggers' clock shows it: its calendar value to the second.
QDateTime clockTime(const QDateTime& time) {
    const QTime t = time.time();
    return QDateTime(time.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

// The time of a sample line with a temperature value; nothing for any other line, also for
// one that does not read (the statistics pass names such a line).
std::optional<QDateTime> temperatureTime(QStringView line) {
    const auto parts = SplitSampleLine(line, true);
    if (!parts || parts->channel1.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return TryReadDateTime(parts->time);
}

void loadLogger(const QString& file, LoadedLogger& logger) {
    try {
        LoadLogFile(logger.state, files::AbsoluteFileName(file));
    } catch (const FileReadError& e) {
        throw ReportError(text::NotMadeBecause(LoadFailureMessage(e)));  // it names the file
    } catch (const std::exception& e) {
        throw ReportError(text::FileFailed(file, UserMessage(e)));
    }
    const TextColumn& rows = logger.state.data.SampleRows;
    if (logger.state.data.hasTemperatureChannel()) {
        TextColumn::Reader read(rows);
        for (qsizetype i = 0; i < rows.size() && !logger.first.isValid(); ++i) {
            logger.first = temperatureTime(read[i]).value_or(QDateTime());
        }
        for (qsizetype i = rows.size() - 1; i >= 0 && !logger.last.isValid(); --i) {
            logger.last = temperatureTime(read[i]).value_or(QDateTime());
        }
    }
    if (!logger.first.isValid()) {
        throw ReportError(text::NoTemperature(file));
    }
}

bool shareTime(const LoadedLogger& a, const LoadedLogger& b) {
    return std::max(a.first, b.first) < std::min(a.last, b.last);
}

// Refuses loggers that were never all recording at once. Some logger then ended before another
// began; the file named is the logger that shares time with the fewest others (the first in
// file order among equals), the one placed at another time than the rest, together with the
// first logger it shares no time with. Such a one always exists: loggers that each share time
// with every other also share a time all together.
void checkCommonTime(const QStringList& files, const std::vector<LoadedLogger>& loggers) {
    const qsizetype n = files.size();
    qsizetype odd = 0;
    qsizetype fewest = n;
    for (qsizetype i = 0; i < n; ++i) {
        const auto shared = std::count_if(loggers.begin(), loggers.end(), [&](const auto& other) {
            return &other != &loggers[i] && shareTime(loggers[i], other);
        });
        if (shared < fewest) {
            fewest = shared;
            odd = i;
        }
    }
    const LoadedLogger& logger = loggers[odd];
    for (qsizetype j = 0; j < n; ++j) {
        if (j != odd && !shareTime(logger, loggers[j])) {
            throw ReportError(text::NoCommonTime(files[odd], spanText(logger.first, logger.last),
                                                 files[j],
                                                 spanText(loggers[j].first, loggers[j].last)));
        }
    }
    throw ReportError(text::SingleMoment(files[odd], timeText(logger.first)));  // a lone logger
}

// The latest first sample to the earliest last one, narrowed by the request.
Period studyPeriod(const MappingRequest& request, const std::vector<LoadedLogger>& loggers) {
    Period common{loggers.front().first, loggers.front().last};
    for (const LoadedLogger& logger : loggers) {
        common.start = std::max(common.start, logger.first);
        common.end = std::min(common.end, logger.last);
    }
    if (!(common.start < common.end)) {
        checkCommonTime(request.files, loggers);
    }
    Period period = common;
    if (request.from) {
        period.start = std::max(period.start, clockTime(*request.from));
    }
    if (request.to) {
        period.end = std::min(period.end, clockTime(*request.to));
    }
    if (!(period.start < period.end)) {
        const QDateTime from = request.from ? clockTime(*request.from) : common.start;
        const QDateTime to = request.to ? clockTime(*request.to) : common.end;
        throw ReportError(
            text::PeriodOutsideCommonTime(spanText(from, to), spanText(common.start, common.end)));
    }
    return period;
}

// The request's range when it gives one (one end alone bounds that side only); else the
// loggers' own temperature limits when every file has both and all files agree; else none.
AcceptanceRange acceptanceRange(const MappingRequest& request,
                                const std::vector<LoadedLogger>& loggers) {
    if (request.low || request.high) {
        return {request.low, request.high, RangeSource::Options};
    }
    const ChannelLimits first = LimitsOfChannel(loggers.front().state.summary, 1);
    if (!first.upper || !first.lower || *first.upper <= *first.lower) {
        return {};
    }
    for (const LoadedLogger& logger : loggers) {
        const ChannelLimits limits = LimitsOfChannel(logger.state.summary, 1);
        if (limits.upper != first.upper || limits.lower != first.lower) {
            return {};
        }
    }
    return {first.lower, first.upper, RangeSource::Loggers};
}

// The range lists of one end, as the command line's --from and --to put them.
void putRangeEnd(ReportOptions& options, const R::RangeFields& fields, const QDateTime& time) {
    options.ComboBoxText[fields.date] = time.toString(QStringLiteral("dd/MM/yyyy"));
    options.ComboBoxText[fields.hour] = time.toString(QStringLiteral("hh"));
    options.ComboBoxText[fields.minute] = time.toString(QStringLiteral("mm"));
    options.ComboBoxText[fields.second] = time.toString(QStringLiteral("ss"));
}

// The statistics of the loaded file over the period, as `stats --from --to --dh` computes
// them, and the samples they are computed from.
SelectionStatistics periodStatistics(const QString& file, ProgramState& state, const Period& period,
                                     const QString& deltaH, SelectedChannels& samples) {
    putRangeEnd(state.options, R::RangeStart, period.start);
    putRangeEnd(state.options, R::RangeEnd, period.end);
    if (!deltaH.isEmpty()) {
        state.options.Edit10 = deltaH;
    }
    try {
        if (auto refusal =
                ValidateReportOptions(state.options, state.data, ValidationPurpose::Statistics)) {
            throw ReportError(*refusal);
        }
        return ComputeStatistics(state, &samples);
    } catch (const std::exception& e) {
        throw ReportError(text::FileFailed(file, UserMessage(e)));
    }
}

// One logger over the period: its figures, its samples and how it kept to the range.
StudyLogger measureLogger(const QString& file, ProgramState& state, const Period& period,
                          const QString& deltaH, const AcceptanceRange& range) {
    SelectedChannels samples;
    const SelectionStatistics statistics = periodStatistics(file, state, period, deltaH, samples);
    StudyLogger logger;
    logger.file = file;
    logger.deviceNumber = state.data.DeviceNumber.value_or(QString());
    logger.place = LoggerPlace(state.data, file);
    logger.intervalSeconds = statistics.intervalSeconds;
    const bool humidity = state.data.hasDataChannel() && !state.data.hasEvents() &&
                          state.summary.Channel2Name == QStringLiteral("Влажность");
    for (const ChannelStatistics& channel : statistics.channels) {
        if (channel.channel == 1) {
            logger.temperature = channel;
        } else if (humidity) {
            logger.humidity = channel;
        }
    }
    if (logger.temperature.samples == 0) {
        throw ReportError(text::NoSamplesInPeriod(file, spanText(period.start, period.end)));
    }
    logger.temperatureSamples = std::move(samples.channel1);
    if (humidity) {
        logger.humiditySamples = std::move(samples.channel2);
    }

    for (const StudySample& sample : logger.temperatureSamples) {
        logger.samplesBelow += range.low && sample.value < *range.low ? 1 : 0;
        logger.samplesAbove += range.high && sample.value > *range.high ? 1 : 0;
    }
    if (range.low) {
        logger.secondsBelow = statistics.secondsOf(logger.samplesBelow);
    }
    if (range.high) {
        logger.secondsAbove = statistics.secondsOf(logger.samplesAbove);
    }
    return logger;
}

// Each logger's first sample in each step (its index from the period's start) with its value,
// in order of the steps; the first in file order when the clock ran back into a step.
std::vector<std::pair<qint64, double>> firstInSteps(const std::vector<StudySample>& samples,
                                                    const QDateTime& start, qint64 stepMsecs) {
    const qint64 startMsecs = start.toMSecsSinceEpoch();
    std::vector<std::pair<qint64, double>> firsts;
    for (const StudySample& sample : samples) {
        const qint64 step = (sample.msecs - startMsecs) / stepMsecs;
        if (firsts.empty() || firsts.back().first != step) {
            firsts.emplace_back(step, sample.value);
        }
    }
    const auto byStep = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(firsts.begin(), firsts.end(), byStep)) {
        std::stable_sort(firsts.begin(), firsts.end(), byStep);
        const auto sameStep = [](const auto& a, const auto& b) { return a.first == b.first; };
        firsts.erase(std::unique(firsts.begin(), firsts.end(), sameStep), firsts.end());
    }
    return firsts;
}

std::optional<PlaceDifference> largestDifference(const MappingStudy& study) {
    const auto stepMsecs = static_cast<qint64>(std::llround(study.stepSeconds * 1000));
    if (stepMsecs <= 0) {
        return std::nullopt;
    }
    std::vector<std::vector<std::pair<qint64, double>>> firsts(study.loggers.size());
    RunSideBySide(qsizetype(firsts.size()), [&](qsizetype i) {
        firsts[std::size_t(i)] =
            firstInSteps(study.loggers[std::size_t(i)].temperatureSamples, study.start, stepMsecs);
    });
    std::vector<std::size_t> next(firsts.size(), 0);
    std::optional<PlaceDifference> largest;
    for (;;) {
        qint64 step = std::numeric_limits<qint64>::max();
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            if (next[i] < firsts[i].size()) {
                step = std::min(step, firsts[i][next[i]].first);
            }
        }
        if (step == std::numeric_limits<qint64>::max()) {
            return largest;
        }
        PlaceDifference here;
        double high = 0, low = 0;
        int loggers = 0;
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            if (next[i] == firsts[i].size() || firsts[i][next[i]].first != step) {
                continue;
            }
            const double value = firsts[i][next[i]++].second;
            if (loggers++ == 0 || value > high) {
                high = value;
                here.warmer = qsizetype(i);
            }
            if (loggers == 1 || value < low) {
                low = value;
                here.colder = qsizetype(i);
            }
        }
        // The values have at most a few decimals: the difference is rounded to them, so that
        // equal differences compare equal (the earliest step wins) and print as they read.
        here.degrees = std::round((high - low) * 1e9) / 1e9;
        if (loggers >= 2 && (!largest || here.degrees > largest->degrees)) {
            here.stepStart = study.start.addMSecs(step * stepMsecs);
            largest = here;
        }
    }
}

// The index of the first logger whose `figure` is `better` than every other's.
template <typename Figure, typename Better>
qsizetype bestLogger(const std::vector<StudyLogger>& loggers, Figure figure, Better better) {
    qsizetype best = 0;
    for (qsizetype i = 1; i < qsizetype(loggers.size()); ++i) {
        if (better(figure(loggers[i]), figure(loggers[best]))) {
            best = i;
        }
    }
    return best;
}

// The warmest and coldest places, the study's own figures and the largest difference.
void summarize(MappingStudy& study) {
    const auto& loggers = study.loggers;
    const auto maximum = [](const StudyLogger& l) { return l.temperature.maximum; };
    const auto minimum = [](const StudyLogger& l) { return l.temperature.minimum; };
    const auto mean = [](const StudyLogger& l) { return l.temperature.mean; };
    study.warmestByMaximum = bestLogger(loggers, maximum, std::greater<>());
    study.warmestByMean = bestLogger(loggers, mean, std::greater<>());
    study.coldestByMinimum = bestLogger(loggers, minimum, std::less<>());
    study.coldestByMean = bestLogger(loggers, mean, std::less<>());
    study.maximum = maximum(loggers[std::size_t(study.warmestByMaximum)]);
    study.minimum = minimum(loggers[std::size_t(study.coldestByMinimum)]);

    long double sum = 0;
    for (const StudyLogger& logger : loggers) {
        study.samples += logger.temperature.samples;
        sum += static_cast<long double>(logger.temperature.mean) *
               static_cast<long double>(logger.temperature.samples);
        if (logger.intervalSeconds) {
            study.stepSeconds = std::max(study.stepSeconds, *logger.intervalSeconds);
        }
    }
    study.mean = static_cast<double>(sum / static_cast<long double>(study.samples));
    study.largestDifference = largestDifference(study);
}

}  // namespace

QString LoggerPlace(const LogData& data, const QString& file) {
    for (const QString& row : data.LabelRows) {
        const QString line = row.trimmed();
        if (line.startsWith(QStringLiteral("Место установки"))) {
            const qsizetype colon = line.indexOf(':');
            const QString place = colon < 0 ? QString() : line.mid(colon + 1).trimmed();
            if (!place.isEmpty()) {
                return place;
            }
        }
    }
    return QFileInfo(file).fileName();
}

MappingStudy ComputeMappingStudy(const MappingRequest& request) {
    if (request.files.isEmpty()) {
        throw ReportError(text::NoFiles);
    }
    if (request.low && request.high && *request.low >= *request.high) {
        throw ReportError(text::ReversedRange);
    }
    // Set here once, the loads and statistics passes in the threads find the conventions
    // standing and only read the settings.
    FormatSettings::instance().applyProgramConventions();

    const qsizetype n = request.files.size();
    std::vector<LoadedLogger> loaded(std::size_t(n), LoadedLogger{});
    RunSideBySide(n, [&](qsizetype i) { loadLogger(request.files[i], loaded[std::size_t(i)]); });

    MappingStudy study;
    const Period period = studyPeriod(request, loaded);
    study.start = period.start;
    study.end = period.end;
    const AcceptanceRange range = acceptanceRange(request, loaded);
    study.low = range.low;
    study.high = range.high;
    study.rangeSource = range.source;

    study.loggers.resize(std::size_t(n));
    RunSideBySide(n, [&](qsizetype i) {
        LoadedLogger& logger = loaded[std::size_t(i)];
        study.loggers[std::size_t(i)] =
            measureLogger(request.files[i], logger.state, period, request.deltaH, range);
        logger = LoadedLogger{};  // the file's lines are no longer needed
    });
    summarize(study);
    return study;
}

}  // namespace qorv
