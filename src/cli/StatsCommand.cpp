#include "cli/StatsCommand.h"

#include "cli/FileSteps.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"
#include "report/NumberText.h"
#include "report/ReportValidation.h"
#include "report/UserMessage.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace qorv::cli {

QJsonValue JsonTime(const QDateTime& time) {
    return time.isValid() ? QJsonValue(time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
                          : QJsonValue();
}

QJsonValue JsonNumber(const std::optional<double>& x) {
    return x && std::isfinite(*x) ? QJsonValue(*x) : QJsonValue();
}

namespace {

QJsonObject limitsObject(const ChannelStatistics& c, const SelectionStatistics& statistics) {
    if (!c.upperLimit && !c.lowerLimit) {
        return {};
    }
    QJsonObject o{{"upper", JsonNumber(c.upperLimit)},
                  {"lower", JsonNumber(c.lowerLimit)},
                  {"reversed", c.limitsReversed()}};
    if (c.limitsReversed()) {
        for (const char* key : {"above_upper", "below_lower", "seconds_above_upper",
                                "seconds_below_lower", "longest_excursion"}) {
            o[key] = QJsonValue();
        }
        return o;
    }
    o["above_upper"] = c.aboveUpper;
    o["below_lower"] = c.belowLower;
    o["seconds_above_upper"] = JsonNumber(statistics.secondsOf(c.aboveUpper));
    o["seconds_below_lower"] = JsonNumber(statistics.secondsOf(c.belowLower));
    const ChannelStatistics::Excursion& longest = c.longestExcursion;
    o["longest_excursion"] =
        longest.samples == 0
            ? QJsonValue()
            : QJsonValue(QJsonObject{{"samples", longest.samples},
                                     {"seconds", JsonNumber(statistics.secondsOf(longest.samples))},
                                     {"start", JsonTime(longest.start)}});
    return o;
}

}  // namespace

QJsonObject ChannelStatisticsObject(const ChannelStatistics& c,
                                    const SelectionStatistics& statistics) {
    static const char* const kinds[] = {"temperature", "values", "events"};
    QJsonObject o{{"channel", c.channel},
                  {"name", c.name},
                  {"kind", kinds[static_cast<int>(c.kind)]},
                  {"samples", c.samples},
                  {"first", JsonTime(c.first)},
                  {"last", JsonTime(c.last)}};
    if (c.kind == ChannelStatistics::Kind::Events) {
        o["events"] = QJsonObject{
            {"switches", c.switches}, {"seconds_on", c.secondsOn}, {"seconds_off", c.secondsOff}};
        return o;
    }
    const bool any = c.samples > 0;
    o["minimum"] =
        any ? QJsonValue(QJsonObject{{"value", c.minimum}, {"time", JsonTime(c.minimumTime)}})
            : QJsonValue();
    o["maximum"] =
        any ? QJsonValue(QJsonObject{{"value", c.maximum}, {"time", JsonTime(c.maximumTime)}})
            : QJsonValue();
    o["mean"] = any ? QJsonValue(c.mean) : QJsonValue();
    o["standard_deviation"] = JsonNumber(c.standardDeviation);
    o["mean_kinetic_temperature"] =
        c.deltaH.isEmpty()
            ? QJsonValue()
            : QJsonValue(QJsonObject{
                  {"value", JsonNumber(c.meanKineticTemperature)},
                  {"delta_h", JsonNumber(static_cast<double>(ReadNumber(c.deltaH.trimmed())))}});
    const QJsonObject limits = limitsObject(c, statistics);
    o["limits"] = limits.isEmpty() ? QJsonValue() : QJsonValue(limits);
    return o;
}

QJsonObject StatisticsObject(const SelectionStatistics& statistics) {
    QJsonArray channels;
    for (const ChannelStatistics& c : statistics.channels) {
        channels.append(ChannelStatisticsObject(c, statistics));
    }
    return QJsonObject{{"selected", statistics.selected},
                       {"interval_seconds", JsonNumber(statistics.intervalSeconds)},
                       {"non_increasing_spacings", statistics.nonIncreasingSpacings},
                       {"channels", channels}};
}

namespace {

// The statistics of one file on `state`: printed on `out`, or for JSON put into `result`.
std::optional<FileFailure> ComputeForFile(const QString& file, const StatsRequest& request,
                                          ProgramState& state, QJsonObject& result,
                                          QTextStream& out) {
    // A load that fails fails the file, whatever refused it.
    if (auto failure = LoadStep(file, state, PathCheck::Missing)) {
        return FileFailure{FileOutcome::Failed, failure->message};
    }
    try {
        ApplyOverrides(request.overrides, state);
        if (auto refusal =
                ValidateReportOptions(state.options, state.data, ValidationPurpose::Statistics)) {
            return FileFailure{FileOutcome::Refused, *std::move(refusal)};
        }
        const SelectionStatistics statistics = ComputeStatistics(state);
        if (request.json) {
            const QJsonObject figures = StatisticsObject(statistics);
            for (auto it = figures.begin(); it != figures.end(); ++it) {
                result.insert(it.key(), it.value());
            }
        } else {
            out << Printable(file) << ":\n";
            for (const QString& line : StatisticsLines(statistics)) {
                out << "  " << Printable(line) << '\n';
            }
        }
    } catch (const std::exception& e) {
        return FileFailure{FileOutcome::Failed, UserMessage(e)};
    }
    return std::nullopt;
}

}  // namespace

int RunStats(const StatsRequest& request, QTextStream& out, QTextStream& err) {
    ProgramState state = StartState();
    CommandOutcome outcome;
    QJsonArray results;
    for (const QString& file : request.files) {
        QJsonObject result{{"file", files::DisplayFileName(file)}};
        if (const auto failure = ComputeForFile(file, request, state, result, out)) {
            outcome.add(failure->outcome);
            result["error"] = failure->message;
            if (!request.json) {
                PrintAboutFile(err, file, failure->message);
            }
        }
        results.append(result);
    }
    if (request.json) {
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    }
    const int exitCode = outcome.finish(out, err);
    // Output that was lost ends the statistics with 1, also after a refused file.
    return outcome.outputError != 0 ? ExitCodeOf(FileOutcome::Failed) : exitCode;
}

}  // namespace qorv::cli
