#pragma once

#include "report/MappingStudy.h"

#include <algorithm>

namespace qorv::test {

// A study of three loggers worked out by hand: four samples each, every five minutes from
// 01.02.2026 10:00, the range 2 to 8 °C. The second is the warmest (maximum 9.0 at 10:05,
// mean 8.25, ten minutes above), the third the coldest (minimum 1.5 at 10:00, mean 2.25, five
// minutes below) and has humidity; the places differ most at 10:00, by 7.0 (8.5 − 1.5).
inline StudyLogger HandLogger(const QString& device, const QString& place,
                              std::vector<double> values) {
    const QDateTime start(QDate(2026, 2, 1), QTime(10, 0));
    StudyLogger logger;
    logger.file = place;
    logger.deviceNumber = device;
    logger.place = place;
    logger.intervalSeconds = 300;
    ChannelStatistics& t = logger.temperature;
    t.kind = ChannelStatistics::Kind::Temperature;
    t.samples = qsizetype(values.size());
    t.first = start;
    t.last = start.addSecs(300 * (t.samples - 1));
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        logger.temperatureSamples.push_back(
            {start.addSecs(300 * qint64(i)).toMSecsSinceEpoch(), values[i]});
        sum += values[i];
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    t.minimum = *low;
    t.maximum = *high;
    t.minimumTime = start.addSecs(300 * (low - values.begin()));
    t.maximumTime = start.addSecs(300 * (high - values.begin()));
    t.mean = sum / double(values.size());
    t.standardDeviation = 0.5;
    t.meanKineticTemperature = t.mean + 0.25;
    for (const double v : values) {
        logger.samplesBelow += v < 2;
        logger.samplesAbove += v > 8;
    }
    logger.secondsBelow = 300.0 * double(logger.samplesBelow);
    logger.secondsAbove = 300.0 * double(logger.samplesAbove);
    return logger;
}

inline MappingStudy HandStudy() {
    MappingStudy study;
    study.start = QDateTime(QDate(2026, 2, 1), QTime(10, 0));
    study.end = QDateTime(QDate(2026, 2, 1), QTime(10, 15));
    study.low = 2;
    study.high = 8;
    study.rangeSource = RangeSource::Options;
    study.loggers = {HandLogger("0A0001", "Стеллаж 1, низ", {2.0, 3.5, 4.0, 3.0}),
                     HandLogger("0A0002", "Стеллаж 2, верх", {8.5, 9.0, 7.5, 8.0}),
                     HandLogger("0033", "humid.txt", {1.5, 2.5, 3.0, 2.0})};
    StudyLogger& humid = study.loggers[2];
    humid.humidity = ChannelStatistics{};
    for (int i = 0; i < 4; ++i) {
        humid.humiditySamples.push_back(
            {study.start.addSecs(300 * i).toMSecsSinceEpoch(), 50.0 + i});
    }
    study.samples = 12;
    study.warmestByMaximum = study.warmestByMean = 1;
    study.coldestByMinimum = study.coldestByMean = 2;
    study.minimum = 1.5;
    study.maximum = 9.0;
    study.mean = 54.5 / 12;
    study.stepSeconds = 300;
    study.largestDifference = PlaceDifference{7.0, study.start, 1, 2};
    return study;
}

}  // namespace qorv::test
