// A mapping study against figures worked out by hand: three loggers, one of which starts later
// than the others, with the acceptance range from their own limits or from the request; the
// refused studies; each place's figures against the statistics of its file over the period.
#include "LocaleTestSupport.h"
#include "report/MappingStudy.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "support/LoggerFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace qorv {
namespace {

namespace text = messages::mapping;

// 01/02/2015 10:00:00 plus `minutes`, as the loggers' clock.
QDateTime at(int minutes) {
    return QDateTime(QDate(2015, 2, 1), QTime(10, 0), Qt::UTC).addSecs(60LL * minutes);
}

// A logger file: its samples from `start` minutes past 10:00, every `step` minutes.
struct Logger {
    QString name;
    QString place;   // the label's "Место установки" line, "" for none
    QString limits;  // "low high" of the temperature, "" for no limit rows
    int start = 0;
    int step = 10;
    std::vector<double> values;
    bool humidity = false;
};

QStringList linesOf(const Logger& logger) {
    QStringList lines = {"Устройство - Qorv-TH " + logger.name.toUpper() + "  Версия 2",
                         "Частота регистрации: 10 мин.", "Ярлык"};
    if (!logger.place.isEmpty()) {
        lines << "Место установки: " + logger.place;
    }
    lines << "Данные сохранены: 02/02/2015 10:00:00"
          << "Канал температуры - 2 байта (°C)";
    if (!logger.limits.isEmpty()) {
        const QStringList limits = logger.limits.split(' ');
        lines << "Верхний температурный предел: " + limits[1] + " °C"
              << "Нижний температурный предел: " + limits[0] + " °C";
    }
    lines << (logger.humidity ? "Канал данных - 2 байта (%RH)" : "Канал данных отсутствует") << ""
          << "Значения измеренных величин";
    for (std::size_t i = 0; i < logger.values.size(); ++i) {
        const QDateTime t = at(logger.start + logger.step * int(i));
        QString line = QString(" %1 - %2 °C")
                           .arg(t.toString("dd/MM/yyyy HH:mm:ss"))
                           .arg(logger.values[i], 0, 'f', 1);
        if (logger.humidity) {
            line += QString(" %1 %").arg(50.0 + double(i), 0, 'f', 1);
        }
        lines << line;
    }
    return lines;
}

// The hand-worked study. The period is 10:20 (C's first sample) to 11:00 (A's last); the
// samples outside it (A's 1.0, B's 12.0 and 0.0, C's 7.5) would change every extreme.
//          10:00 10:10 10:20 10:30 10:40 10:50 11:00 11:10 11:20
//   A       4.0   1.0   5.0   2.5   4.0   9.0   2.5                 mean 4.6, every 600 s
//   B      12.0   3.0   3.0   6.0   2.0   7.0   6.0   0.0           mean 4.8, every 600 s
//   C                   6.0         6.5         7.0         7.5     mean 6.5, every 1200 s
// Steps of 1200 s from 10:20, each logger's first sample in each: 10:20 (5, 3, 6) differ by 3;
// 10:40 (4, 2, 6.5) by 4.5, C above B; 11:00 (2.5, 6, 7) by 4.5 too, later. Taking all samples
// of a step would make 10:40 differ by 7 (9 − 2).
std::array<Logger, 3> handWorked(const std::array<QString, 3>& limits) {
    return {{{"a", "у двери", limits[0], 0, 10, {4.0, 1.0, 5.0, 2.5, 4.0, 9.0, 2.5}},
             {"b",
              "  стеллаж 4, полка 2 ",
              limits[1],
              0,
              10,
              {12.0, 3.0, 3.0, 6.0, 2.0, 7.0, 6.0, 0.0},
              true},
             {"c", "", limits[2], 20, 20, {6.0, 6.5, 7.0, 7.5}}}};
}

class MappingStudyTest : public test::OnEachSystem {
  protected:
    QString write(const Logger& logger) {
        const QString path =
            test::WriteLoggerFile(QDir(dir_.path()), logger.name + ".txt", linesOf(logger));
        EXPECT_FALSE(path.isEmpty());
        return path;
    }
    template <typename Loggers>
    MappingRequest requestOf(const Loggers& loggers) {
        MappingRequest request;
        for (const Logger& logger : loggers) {
            request.files << write(logger);
        }
        return request;
    }
    QString path(const char* name) const { return QDir(dir_.path()).filePath(name); }
    // A span of the loggers' clock in a message, in the system's date separator.
    static QString span(int first, int last) {
        const auto local = [](int minutes) {
            return at(minutes).toString("dd/MM/yyyy HH:mm:ss").replace('/', GetParam().date);
        };
        return text::Span(local(first), local(last));
    }
    static QString refusalOf(const MappingRequest& request) {
        try {
            ComputeMappingStudy(request);
        } catch (const ReportError& e) {
            return e.message();
        }
        ADD_FAILURE() << "the study was made";
        return {};
    }

    QTemporaryDir dir_;
};
QORV_ON_EACH_SYSTEM(MappingStudyTest);

struct RangeCase {
    const char* name;
    std::array<QString, 3> limits;    // each file's "low high"
    std::optional<double> low, high;  // the request's
    RangeSource source;
    std::optional<double> expectedLow, expectedHigh;
    std::array<qsizetype, 3> below, above;
    std::array<std::optional<double>, 3> secondsBelow, secondsAbove;
};

TEST_P(MappingStudyTest, HandWorkedThreeLoggerStudy) {
    const std::optional<double> none;
    const RangeCase cases[] = {
        // Below 2.5: B's 2.0; above 8: A's 9.0; each one interval long.
        {"own limits",
         {"2.5 8.0", "2.5 8.0", "2.5 8.0"},
         none,
         none,
         RangeSource::Loggers,
         2.5,
         8.0,
         {0, 1, 0},
         {1, 0, 0},
         {0.0, 600.0, 0.0},
         {600.0, 0.0, 0.0}},
        // The request's range wins: A's two 2.5 below 3; 7.0 is not above 7.
        {"request",
         {"2.5 8.0", "2.5 8.0", "2.5 8.0"},
         3.0,
         7.0,
         RangeSource::Options,
         3.0,
         7.0,
         {2, 1, 0},
         {1, 0, 0},
         {1200.0, 600.0, 0.0},
         {600.0, 0.0, 0.0}},
        // One end bounds its side only.
        {"request's high only",
         {"2.5 8.0", "2.5 8.0", "2.5 8.0"},
         none,
         7.0,
         RangeSource::Options,
         none,
         7.0,
         {0, 0, 0},
         {1, 0, 0},
         {none, none, none},
         {600.0, 0.0, 0.0}},
        {"limits that differ",
         {"2.5 8.0", "2.5 8.0", "2.5 9.0"},
         none,
         none,
         RangeSource::None,
         none,
         none,
         {0, 0, 0},
         {0, 0, 0},
         {none, none, none},
         {none, none, none}},
        {"a file without limits",
         {"2.5 8.0", "", "2.5 8.0"},
         none,
         none,
         RangeSource::None,
         none,
         none,
         {0, 0, 0},
         {0, 0, 0},
         {none, none, none},
         {none, none, none}},
    };
    for (const RangeCase& row : cases) {
        SCOPED_TRACE(row.name);
        MappingRequest request = requestOf(handWorked(row.limits));
        request.low = row.low;
        request.high = row.high;
        const MappingStudy study = ComputeMappingStudy(request);

        EXPECT_EQ(study.start, at(20));
        EXPECT_EQ(study.end, at(60));
        ASSERT_EQ(study.loggers.size(), 3u);
        const StudyLogger& a = study.loggers[0];
        const StudyLogger& b = study.loggers[1];
        const StudyLogger& c = study.loggers[2];
        EXPECT_EQ(a.place, "у двери");
        EXPECT_EQ(b.place, "стеллаж 4, полка 2");
        EXPECT_EQ(c.place, "c.txt");
        EXPECT_EQ(b.deviceNumber, "Qorv-TH B");
        EXPECT_EQ(a.temperature.samples, 5);
        EXPECT_EQ(a.temperature.minimum, 2.5);
        EXPECT_EQ(a.temperature.minimumTime, at(30));
        EXPECT_EQ(b.temperature.maximum, 7.0);
        EXPECT_EQ(b.temperature.maximumTime, at(50));
        EXPECT_DOUBLE_EQ(a.temperature.mean, 4.6);
        EXPECT_DOUBLE_EQ(c.temperature.mean, 6.5);
        EXPECT_EQ(a.intervalSeconds, 600.0);
        EXPECT_EQ(c.intervalSeconds, 1200.0);
        ASSERT_EQ(a.temperatureSamples.size(), 5u);
        EXPECT_EQ(a.temperatureSamples.front().time(), at(20));
        EXPECT_EQ(a.temperatureSamples.front().value, 5.0);
        EXPECT_FALSE(a.humidity);
        ASSERT_TRUE(b.humidity);
        EXPECT_EQ(b.humidity->samples, 5);
        EXPECT_EQ(b.humiditySamples.size(), 5u);

        EXPECT_EQ(study.warmestByMaximum, 0);
        EXPECT_EQ(study.warmestByMean, 2);
        EXPECT_EQ(study.coldestByMinimum, 1);
        EXPECT_EQ(study.coldestByMean, 0);
        EXPECT_EQ(study.samples, 13);
        EXPECT_EQ(study.minimum, 2.0);
        EXPECT_EQ(study.maximum, 9.0);
        EXPECT_DOUBLE_EQ(study.mean, 66.5 / 13);
        EXPECT_EQ(study.stepSeconds, 1200.0);
        ASSERT_TRUE(study.largestDifference);
        EXPECT_EQ(study.largestDifference->degrees, 4.5);
        EXPECT_EQ(study.largestDifference->stepStart, at(40));
        EXPECT_EQ(study.largestDifference->warmer, 2);
        EXPECT_EQ(study.largestDifference->colder, 1);

        EXPECT_EQ(study.rangeSource, row.source);
        EXPECT_EQ(study.low, row.expectedLow);
        EXPECT_EQ(study.high, row.expectedHigh);
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const StudyLogger& logger = study.loggers[i];
            EXPECT_EQ(logger.samplesBelow, row.below[i]);
            EXPECT_EQ(logger.samplesAbove, row.above[i]);
            EXPECT_EQ(logger.secondsBelow, row.secondsBelow[i]);
            EXPECT_EQ(logger.secondsAbove, row.secondsAbove[i]);
        }
    }
}

void expectSameFigures(const ChannelStatistics& study, const ChannelStatistics& stats) {
    EXPECT_EQ(study.samples, stats.samples);
    EXPECT_EQ(study.first, stats.first);
    EXPECT_EQ(study.last, stats.last);
    EXPECT_EQ(study.minimum, stats.minimum);
    EXPECT_EQ(study.minimumTime, stats.minimumTime);
    EXPECT_EQ(study.maximum, stats.maximum);
    EXPECT_EQ(study.maximumTime, stats.maximumTime);
    EXPECT_EQ(study.mean, stats.mean);
    EXPECT_EQ(study.standardDeviation, stats.standardDeviation);
    EXPECT_EQ(study.meanKineticTemperature, stats.meanKineticTemperature);
    EXPECT_EQ(study.upperLimit, stats.upperLimit);
    EXPECT_EQ(study.aboveUpper, stats.aboveUpper);
    EXPECT_EQ(study.belowLower, stats.belowLower);
}

// A place's figures are those of `stats --from 10:30 --to 10:50 --dh` on its file alone.
TEST_P(MappingStudyTest, FiguresOfAPlaceAreTheStatisticsOfItsFileOverThePeriod) {
    MappingRequest request = requestOf(handWorked({"2.5 8.0", "2.5 8.0", "2.5 8.0"}));
    request.from = at(30);
    request.to = at(50);
    request.deltaH = "83.144";
    const MappingStudy study = ComputeMappingStudy(request);
    EXPECT_EQ(study.start, at(30));
    EXPECT_EQ(study.end, at(50));

    ProgramState state;
    LoadLogFile(state, request.files[1]);
    auto& range = state.options.ComboBoxText;
    range[ReportOptions::ComboBox1] = range[ReportOptions::ComboBox2] = "01/02/2015";
    range[ReportOptions::ComboBox3] = range[ReportOptions::ComboBox4] = "10";
    range[ReportOptions::ComboBox5] = "30";
    range[ReportOptions::ComboBox7] = "50";
    range[ReportOptions::ComboBox6] = range[ReportOptions::ComboBox8] = "00";
    state.options.Edit10 = "83.144";
    const SelectionStatistics stats = ComputeStatistics(state);

    const StudyLogger& b = study.loggers[1];
    ASSERT_EQ(stats.channels.size(), 2u);
    EXPECT_EQ(b.temperature.samples, 3);
    EXPECT_TRUE(b.temperature.meanKineticTemperature);
    expectSameFigures(b.temperature, stats.channels[0]);
    ASSERT_TRUE(b.humidity);
    expectSameFigures(*b.humidity, stats.channels[1]);
    EXPECT_EQ(b.intervalSeconds, stats.intervalSeconds);
}

struct OverlapCase {
    const char* name;
    std::vector<Logger> loggers;
    const char* named;
    int first, last;  // its span
    const char* other;
    int otherFirst, otherLast;
};

// No time in common: the logger that shares time with the fewest others is named, with the
// first one it shares none with; the first in file order when they are equal.
TEST_P(MappingStudyTest, LoggersWithoutCommonTimeAreRefusedNamingTheOddOne) {
    const Logger a{"a", "", "", 0, 10, {5, 5, 5}};
    const Logger b{"b", "", "", 10, 10, {5, 5, 5}};
    const OverlapCase cases[] = {
        {"one later", {a, b, {"d", "", "", 120, 10, {5, 5}}}, "d.txt", 120, 130, "a.txt", 0, 20},
        {"one earlier",
         {a, {"d", "", "", -120, 10, {5, 5}}, b},
         "d.txt",
         -120,
         -110,
         "a.txt",
         0,
         20},
        {"two apart", {{"d", "", "", 120, 10, {5, 5}}, a}, "d.txt", 120, 130, "a.txt", 0, 20},
        {"touching ends", {a, {"d", "", "", 20, 10, {5, 5}}}, "a.txt", 0, 20, "d.txt", 20, 30},
    };
    for (const OverlapCase& c : cases) {
        SCOPED_TRACE(c.name);
        const MappingRequest request = requestOf(c.loggers);
        EXPECT_EQ(refusalOf(request),
                  text::NoCommonTime(path(c.named), span(c.first, c.last), path(c.other),
                                     span(c.otherFirst, c.otherLast)));
    }
}

struct FileRefusalCase {
    const char* name;
    std::function<void(MappingRequest&)> spoil;
    std::function<QString(const MappingRequest&)> expected;
};

// A study with a file that cannot be used is not made; the first such file in order is named.
TEST_P(MappingStudyTest, AFileThatCannotBeUsedIsNamed) {
    const FileRefusalCase cases[] = {
        {"missing, then a folder",
         [this](MappingRequest& r) {
             r.files[1] = path("missing.txt");
             r.files[2] = dir_.path();
         },
         [this](const MappingRequest&) {
             return text::NotMadeBecause(messages::FileMissing(path("missing.txt")));
         }},
        {"a folder", [this](MappingRequest& r) { r.files[2] = dir_.path(); },
         [this](const MappingRequest&) {
             return text::NotMadeBecause(
                 messages::NotARegularFile(dir_.path(), files::FileKind::Directory));
         }},
        {"no temperature channel",
         [this](MappingRequest& r) {
             r.files[1] = test::WriteLoggerFile(
                 QDir(dir_.path()), "e.txt",
                 {"Данные сохранены: 02/02/2015 10:00:00", "Канал температуры отсутствует",
                  "Канал данных - 2 байта (%RH)", "", "Значения измеренных величин",
                  " 01/02/2015 10:30:00 - 50.0 %"});
         },
         [](const MappingRequest& r) { return text::NoTemperature(r.files[1]); }},
        {"no sample in the narrowed period",
         [](MappingRequest& r) {
             r.from = at(41);
             r.to = at(59);
         },
         [](const MappingRequest& r) { return text::NoSamplesInPeriod(r.files[2], span(41, 59)); }},
        {"a narrowing outside the common time", [](MappingRequest& r) { r.from = at(61); },
         [](const MappingRequest&) {
             return text::PeriodOutsideCommonTime(span(61, 60), span(20, 60));
         }},
    };
    for (const FileRefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        MappingRequest request = requestOf(handWorked({"", "", ""}));
        c.spoil(request);
        EXPECT_EQ(refusalOf(request), c.expected(request));
    }
}

// A sample line that does not read: the statistics' message, with the file named.
TEST_P(MappingStudyTest, ASampleThatDoesNotReadNamesItsFile) {
    std::array<Logger, 3> loggers = handWorked({"", "", ""});
    MappingRequest request = requestOf(loggers);
    QStringList lines = linesOf(loggers[1]);
    lines.insert(lines.size() - 2, " 32/01/2015 10:55:00 - 5.0 °C 50.0 %");
    request.files[1] = test::WriteLoggerFile(QDir(dir_.path()), "b.txt", lines);
    EXPECT_TRUE(refusalOf(request).startsWith(text::FileFailed(request.files[1], "")));
}

}  // namespace
}  // namespace qorv
