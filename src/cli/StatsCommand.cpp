#include "cli/StatsCommand.h"

#include "cli/TerminalText.h"
#include "files/FileKind.h"
#include "files/FileName.h"
#include "report/Messages.h"
#include "report/ReportValidation.h"
#include "report/UserMessage.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace qorv::cli {

namespace {

// The logger's own clock time, without a zone: ISO 8601 local time.
QJsonValue timeValue(const QDateTime& time) {
    return time.isValid() ? QJsonValue(time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
                          : QJsonValue();
}

QJsonValue numberValue(const std::optional<double>& x) {
    return x && std::isfinite(*x) ? QJsonValue(*x) : QJsonValue();
}

QJsonObject channelObject(const ChannelStatistics& c, double interval) {
    static const char* const kinds[] = {"temperature", "values", "events"};
    QJsonObject o{{"channel", c.channel},
                  {"name", c.name},
                  {"kind", kinds[static_cast<int>(c.kind)]},
                  {"samples", c.samples},
                  {"first", timeValue(c.first)},
                  {"last", timeValue(c.last)}};
    if (c.kind == ChannelStatistics::Kind::Events) {
        o["events"] = QJsonObject{{"switches", c.switches},
                                  {"seconds_on", c.samplesOn * interval},
                                  {"seconds_off", c.samplesOff * interval}};
        return o;
    }
    const bool any = c.samples > 0;
    o["minimum"] =
        any ? QJsonValue(QJsonObject{{"value", c.minimum}, {"time", timeValue(c.minimumTime)}})
            : QJsonValue();
    o["maximum"] =
        any ? QJsonValue(QJsonObject{{"value", c.maximum}, {"time", timeValue(c.maximumTime)}})
            : QJsonValue();
    o["mean"] = any ? QJsonValue(c.mean) : QJsonValue();
    o["standard_deviation"] = numberValue(c.standardDeviation);
    o["mean_kinetic_temperature"] =
        c.meanKineticTemperature
            ? QJsonValue(QJsonObject{{"value", numberValue(c.meanKineticTemperature)},
                                     {"delta_h", c.deltaH}})
            : QJsonValue();
    if (c.upperLimit || c.lowerLimit) {
        o["limits"] = QJsonObject{
            {"upper", numberValue(c.upperLimit)},
            {"lower", numberValue(c.lowerLimit)},
            {"above_upper", c.aboveUpper},
            {"below_lower", c.belowLower},
            {"seconds_above_upper", c.aboveUpper * interval},
            {"seconds_below_lower", c.belowLower * interval},
            {"longest_excursion",
             c.longestExcursion.samples == 0
                 ? QJsonValue()
                 : QJsonValue(QJsonObject{{"samples", c.longestExcursion.samples},
                                          {"seconds", c.longestExcursion.samples * interval},
                                          {"start", timeValue(c.longestExcursion.start)}})}};
    } else {
        o["limits"] = QJsonValue();
    }
    return o;
}

}  // namespace

QJsonObject StatisticsObject(const SelectionStatistics& statistics) {
    QJsonArray channels;
    for (const ChannelStatistics& c : statistics.channels) {
        channels.append(channelObject(c, statistics.intervalSeconds));
    }
    return QJsonObject{{"selected", statistics.selected},
                       {"interval_seconds", statistics.intervalSeconds},
                       {"channels", channels}};
}

int RunStats(const StatsRequest& request, QTextStream& out, QTextStream& err) {
    ProgramState state;
    state.options.Edit2 = files::CurrentDirectory() + '/';
    int exitCode = 0;
    QJsonArray results;
    for (const QString& file : request.files) {
        QJsonObject result{{"file", files::DisplayFileName(file)}};
        std::optional<QString> failure;
        int failureCode = 1;
        try {
            int error = 0;
            const files::FileKind kind = files::KindOf(file, &error);
            if (kind == files::FileKind::Missing && error == ENOENT) {
                failure = messages::FileMissing(file);
            } else {
                LoadLogFile(state, files::AbsoluteFileName(file));
                ApplyOverrides(request.overrides, state);
                if (const auto refusal = ValidateReportOptions(state.options, state.data,
                                                               ValidationPurpose::Statistics)) {
                    failure = refusal;
                    failureCode = 2;
                } else {
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
                }
            }
        } catch (const std::exception& e) {
            failure = UserMessage(e);
        }
        if (failure) {
            exitCode = std::max(exitCode, failureCode);
            result["error"] = *failure;
            if (!request.json) {
                PrintAboutFile(err, file, *failure);
            }
        }
        results.append(result);
    }
    if (request.json) {
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    }
    out.flush();
    if (out.status() != QTextStream::Ok) {
        return 1;
    }
    return exitCode;
}

}  // namespace qorv::cli
