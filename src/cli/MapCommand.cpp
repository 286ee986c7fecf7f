#include "cli/MapCommand.h"

#include "cli/FileSteps.h"
#include "cli/StatsCommand.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"
#include "report/MappingWorkbook.h"
#include "report/UserMessage.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace qorv::cli {

namespace {

QJsonValue loggerIndex(const MappingStudy& study, qsizetype index) {
    return index >= 0 && index < qsizetype(study.loggers.size()) ? QJsonValue(index) : QJsonValue();
}

QJsonValue rangeObject(const MappingStudy& study) {
    if (study.rangeSource == RangeSource::None) {
        return QJsonValue();
    }
    return QJsonObject{
        {"low", JsonNumber(study.low)},
        {"high", JsonNumber(study.high)},
        {"source", study.rangeSource == RangeSource::Options ? "options" : "loggers"}};
}

QJsonValue differenceObject(const MappingStudy& study) {
    if (!study.largestDifference) {
        return QJsonValue();
    }
    const PlaceDifference& d = *study.largestDifference;
    return QJsonObject{{"degrees", JsonNumber(d.degrees)},
                       {"step_start", JsonTime(d.stepStart)},
                       {"warmer", loggerIndex(study, d.warmer)},
                       {"colder", loggerIndex(study, d.colder)}};
}

QJsonObject loggerObject(const StudyLogger& logger, bool withRange) {
    SelectionStatistics interval;  // the logger's interval counts the time beyond limits
    interval.intervalSeconds = logger.intervalSeconds;
    QJsonObject o{{"file", files::DisplayFileName(logger.file)},
                  {"device", logger.deviceNumber},
                  {"place", logger.place},
                  {"interval_seconds", JsonNumber(logger.intervalSeconds)},
                  {"temperature", ChannelStatisticsObject(logger.temperature, interval)},
                  {"humidity", logger.humidity
                                   ? QJsonValue(ChannelStatisticsObject(*logger.humidity, interval))
                                   : QJsonValue()}};
    if (!withRange) {
        o["range"] = QJsonValue();
        return o;
    }
    o["range"] = QJsonObject{{"samples_below", logger.samplesBelow},
                             {"samples_above", logger.samplesAbove},
                             {"seconds_below", JsonNumber(logger.secondsBelow)},
                             {"seconds_above", JsonNumber(logger.secondsAbove)},
                             {"within", logger.withinRange()}};
    return o;
}

}  // namespace

QJsonObject MappingObject(const MappingStudy& study) {
    const bool withRange = study.rangeSource != RangeSource::None;
    QJsonArray loggers;
    for (const StudyLogger& logger : study.loggers) {
        loggers.append(loggerObject(logger, withRange));
    }
    return QJsonObject{
        {"start", JsonTime(study.start)},
        {"end", JsonTime(study.end)},
        {"range", rangeObject(study)},
        {"samples", study.samples},
        {"minimum", study.minimum},
        {"maximum", study.maximum},
        {"mean", study.mean},
        {"warmest", QJsonObject{{"by_maximum", loggerIndex(study, study.warmestByMaximum)},
                                {"by_mean", loggerIndex(study, study.warmestByMean)}}},
        {"coldest", QJsonObject{{"by_minimum", loggerIndex(study, study.coldestByMinimum)},
                                {"by_mean", loggerIndex(study, study.coldestByMean)}}},
        {"step_seconds", study.stepSeconds},
        {"largest_difference", differenceObject(study)},
        {"loggers", loggers}};
}

namespace {

// A PDF copy that could not be made; the study's workbook stays.
class PdfFailure : public ProgressListener {
  public:
    void pdfFailed(const QString& message) override { message_ = message; }
    const std::optional<QString>& message() const { return message_; }

  private:
    std::optional<QString> message_;
};

}  // namespace

int RunMap(const MapRequest& request, QTextStream& out, QTextStream& err) {
    CommandOutcome outcome;
    try {
        const MappingStudy study = ComputeMappingStudy(request.study);
        if (request.json) {
            out << QJsonDocument(MappingObject(study)).toJson(QJsonDocument::Indented);
            return outcome.finish(out, err);
        }
        PdfFailure pdf;
        const MappingFiles saved = BuildMappingWorkbook(study, request.folder, request.pdf, pdf);
        for (const std::optional<QString>& path : {std::optional(saved.workbook), saved.pdf}) {
            if (path && outcome.outputError == 0) {
                outcome.outputError = PrintPath(out, *path);
            }
        }
        if (pdf.message()) {
            err << Printable(*pdf.message()) << '\n';
            outcome.add(FileOutcome::Failed);
        }
    } catch (const std::exception& e) {
        err << Printable(UserMessage(e)) << '\n';
        outcome.add(FileOutcome::Failed);
    }
    return outcome.finish(out, err);
}

}  // namespace qorv::cli
