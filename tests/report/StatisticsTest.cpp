// The statistics of a selection against figures worked out by hand: a short two-channel file
// with limit crossings and a gap in its sampling, an events file, an empty selection; the
// whole-selection mean kinetic temperature against the running one; the lines on a comma and
// a point system.
#include "LocaleTestSupport.h"
#include "report/NumberText.h"
#include "report/SampleConversion.h"
#include "report/Statistics.h"
#include "support/LoggerFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace qorv {
namespace {

// Six samples, 10 minutes apart but for one 30-minute gap (median spacing 600 s). Channel 1:
// 20, 25, 26, 18, 16, 21 °C against the limits 24 and 17; channel 2: 50..75 % against 70 and 45.
const QStringList kTwoChannels = {
    "Устройство - Qorv-TH 0A00000012345678  Версия ПО 2.3",
    "Данные сохранены: 12/05/2023 09:20:00",
    "Канал температуры - 2 байта, разрешение 0.1 (°C)",
    "Верхний температурный предел: 24.0 °C",
    "Нижний температурный предел: 17.0 °C",
    "Канал данных - 2 байта (%RH)",
    "Верхний предел канала данных: 70.0 %",
    "Нижний предел канала данных: 45.0 %",
    "",
    "Значения измеренных величин",
    " 12/05/2023 08:00:00 - 20.0 °C 50.0 %",
    " 12/05/2023 08:10:00 - 25.0 °C 55.0 %",
    " 12/05/2023 08:20:00 - 26.0 °C 60.0 %",
    " 12/05/2023 08:50:00 - 18.0 °C 65.0 %",
    " 12/05/2023 09:00:00 - 16.0 °C 70.0 %",
    " 12/05/2023 09:10:00 - 21.0 °C 75.0 %",
};

const QStringList kEvents = {
    "Устройство - Qorv-E 0C00000034567890  Версия ПО 2.1",
    "Данные сохранены: 10/06/2023 12:30:00",
    "Канал температуры отсутствует",
    "Канал данных - 1 байт ()",
    "",
    "Значения измеренных величин",
    " 10/06/2023 12:00:00 - 0 (Нет)",
    " 10/06/2023 12:05:00 - 0 (Нет)",
    " 10/06/2023 12:10:00 - 1 (Есть)",
    " 10/06/2023 12:15:00 - 1 (Есть)",
    " 10/06/2023 12:20:00 - 0 (Нет)",
    " 10/06/2023 12:25:00 - 1 (Есть)",
};

class StatisticsTest : public test::OnEachSystem {
  protected:
    ProgramState load(const QStringList& lines) {
        const QString path = test::WriteLoggerFile(QDir(dir_.path()), "logger.txt", lines);
        ProgramState state;
        LoadLogFile(state, path);
        return state;
    }
    QTemporaryDir dir_;
};

struct CorrectionCase {
    const char* a;
    const char* b;
    double minimum, maximum, mean;
    qsizetype above, below, longest;  // longest run outside, in samples
    const char* longestStart;
};

TEST_P(StatisticsTest, FiguresOfAShortFileWithAGap) {
    const CorrectionCase cases[] = {
        // 25 and 26 above 24, 16 below 17; the run 25, 26 is the longest.
        {"1", "0", 16.0, 26.0, 21.0, 2, 1, 2, "12.05.2023 08:10:00"},
        // Shifted by one: 26 and 27 above, nothing below 17 (17 is not), the run 26, 27.
        {"1", "1", 17.0, 27.0, 22.0, 2, 0, 2, "12.05.2023 08:10:00"},
        // Halved: 10..13, all below 17: one run of six from the first sample.
        {"0,5", "0", 8.0, 13.0, 10.5, 0, 6, 6, "12.05.2023 08:00:00"},
    };
    for (const CorrectionCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + "·t + " + c.b);
        ProgramState state = load(kTwoChannels);
        state.options.Edit7 = QString::fromUtf8(c.a);
        state.options.Edit8 = QString::fromUtf8(c.b);
        const SelectionStatistics s = ComputeStatistics(state);
        EXPECT_EQ(s.selected, 6);
        EXPECT_EQ(s.intervalSeconds, std::optional<double>(600));
        ASSERT_EQ(s.channels.size(), 2u);
        const ChannelStatistics& t = s.channels[0];
        EXPECT_EQ(t.samples, 6);
        EXPECT_DOUBLE_EQ(t.minimum, c.minimum);
        EXPECT_DOUBLE_EQ(t.maximum, c.maximum);
        EXPECT_DOUBLE_EQ(t.mean, c.mean);
        EXPECT_EQ(t.aboveUpper, c.above);
        EXPECT_EQ(t.belowLower, c.below);
        EXPECT_EQ(t.longestExcursion.samples, c.longest);
        EXPECT_EQ(t.longestExcursion.start.toString("dd.MM.yyyy hh:mm:ss"), c.longestStart);
    }

    // Uncorrected: first occurrences, the sample standard deviation sqrt(76 / 5), humidity.
    ProgramState state = load(kTwoChannels);
    const SelectionStatistics s = ComputeStatistics(state);
    const ChannelStatistics& t = s.channels[0];
    EXPECT_EQ(t.minimumTime.toString("hh:mm"), "09:00");
    EXPECT_EQ(t.maximumTime.toString("hh:mm"), "08:20");
    ASSERT_TRUE(t.standardDeviation);
    EXPECT_NEAR(*t.standardDeviation, std::sqrt(76.0 / 5.0), 1e-12);
    const ChannelStatistics& h = s.channels[1];
    EXPECT_DOUBLE_EQ(h.mean, 62.5);
    EXPECT_EQ(h.aboveUpper, 1);  // 75 > 70; 70 itself is not above
    EXPECT_EQ(h.belowLower, 0);

    // The lines: the table column's decimals, one more for the mean, the system's separators.
    const QStringList lines = StatisticsLines(s);
    const QChar sep(GetParam().date);
    const QString date =
        QStringLiteral("12") + sep + QStringLiteral("05") + sep + QStringLiteral("2023");
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Минимальное значение: %1 (%2 09:00:00)").arg(local("16.0"), date)))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Среднее значение: %1").arg(local("21.00"))));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Выше верхнего предела %1: 2 отсч., 20 мин").arg(local("24.0"))));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Наибольший непрерывный выход за пределы: 20 мин, начало %1 08:10:00")
            .arg(date)));
}

TEST_P(StatisticsTest, MeanKineticTemperatureOfTheWholeSelection) {
    ProgramState state = load(kTwoChannels);
    const SelectionStatistics s = ComputeStatistics(state);
    ASSERT_TRUE(s.channels[0].meanKineticTemperature);
    const double mkt = *s.channels[0].meanKineticTemperature;

    // By hand: ΔH/R over the logarithm of the mean of exp(−ΔH / (R·T)).
    const double dHOverR = 83144.72 / 8.314472;
    double sum = 0;
    for (double t : {20.0, 25.0, 26.0, 18.0, 16.0, 21.0}) {
        sum += std::exp(-dHOverR / (t + 273.15));
    }
    EXPECT_NEAR(mkt, dHOverR / -std::log(sum / 6) - 273.15, 1e-6);

    // The running mean kinetic temperature's last value, without the text rounding of terms.
    SampleColumns columns;
    columns.Channel1Texts = {"20.0", "25.0", "26.0", "18.0", "16.0", "21.0"};
    ApplyMeanKineticTemperature(columns, "83,14472", /*roundTerms=*/false);
    EXPECT_EQ(columns.Channel1Texts.copyAt(columns.Channel1Texts.size() - 1), ValueText(mkt));
}

TEST_P(StatisticsTest, EventsAndEmptySelections) {
    ProgramState events = load(kEvents);
    const SelectionStatistics e = ComputeStatistics(events);
    ASSERT_EQ(e.channels.size(), 1u);
    EXPECT_EQ(e.channels[0].kind, ChannelStatistics::Kind::Events);
    EXPECT_EQ(e.channels[0].switches, 3);
    EXPECT_EQ(e.channels[0].samplesOn, 3);
    EXPECT_EQ(e.channels[0].samplesOff, 3);
    // Each 5-minute spacing counts for the state of its earlier sample, as the state-duration
    // table counts it: "Есть" 12:10-12:20, "Нет" 12:00-12:10 and 12:20-12:25, 25 min in all.
    EXPECT_EQ(e.channels[0].secondsOn, 600);
    EXPECT_EQ(e.channels[0].secondsOff, 900);
    const QStringList lines = StatisticsLines(e);
    EXPECT_TRUE(lines.contains(QStringLiteral("Время в состоянии «Есть»: 10 мин")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Время в состоянии «Нет»: 15 мин")));

    // A range with no sample in it: each channel says so instead of figures.
    ProgramState state = load(kTwoChannels);
    state.options.ComboBoxText[ReportOptions::ComboBox3] = "09";
    state.options.ComboBoxText[ReportOptions::ComboBox5] = "11";
    const SelectionStatistics empty = ComputeStatistics(state);
    EXPECT_EQ(empty.selected, 0);
    EXPECT_EQ(StatisticsLines(empty), (QStringList{"1 - Канал - Темпер.", "Нет данных",
                                                   "2 - Канал - Влажность", "Нет данных"}));
}

// One sample has no spacing: no interval, and a time of samples beyond a limit is unknown, not
// 0; an events sample alone spends no time in its state.
TEST_P(StatisticsTest, OneSampleHasNoInterval) {
    ProgramState state = load(kTwoChannels);
    state.options.ComboBoxText[ReportOptions::ComboBox3] = "09";  // 09:00:00 to 09:05:00
    state.options.ComboBoxText[ReportOptions::ComboBox5] = "00";
    state.options.ComboBoxText[ReportOptions::ComboBox4] = "09";
    state.options.ComboBoxText[ReportOptions::ComboBox7] = "05";
    const SelectionStatistics s = ComputeStatistics(state);
    EXPECT_EQ(s.selected, 1);
    EXPECT_FALSE(s.intervalSeconds);
    EXPECT_EQ(s.secondsOf(0), std::optional<double>(0));
    const QStringList lines = StatisticsLines(s);
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Ниже нижнего предела %1: 1 отсч., время неизвестно").arg(local("17.0"))))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Выше верхнего предела %1: 0 отсч., 0 мин").arg(local("24.0"))));

    ProgramState events = load(kEvents.mid(0, 7));
    const SelectionStatistics e = ComputeStatistics(events);
    EXPECT_EQ(e.channels[0].secondsOff, 0);
    EXPECT_TRUE(StatisticsLines(e).contains(QStringLiteral("Время в состоянии «Нет»: 0 мин")));
}

// A clock that ran back or repeated a time: those spacings count for neither the interval nor
// the state times, and the section says how many there were.
TEST_P(StatisticsTest, TimesThatDoNotIncreaseAreLeftOut) {
    QStringList lines = kEvents.mid(0, 6);
    lines << " 10/06/2023 12:00:00 - 0 (Нет)"
          << " 10/06/2023 12:10:00 - 1 (Есть)"  // +600 for "Нет"
          << " 10/06/2023 12:05:00 - 1 (Есть)"  // back: left out
          << " 10/06/2023 12:05:00 - 0 (Нет)"   // the same time: left out
          << " 10/06/2023 12:20:00 - 0 (Нет)";  // +900 for "Нет"
    ProgramState state = load(lines);
    const SelectionStatistics s = ComputeStatistics(state);
    EXPECT_EQ(s.nonIncreasingSpacings, 2);
    EXPECT_EQ(s.intervalSeconds, std::optional<double>(750));  // the median of 600 and 900
    ASSERT_EQ(s.channels.size(), 1u);
    EXPECT_EQ(s.channels[0].secondsOn, 0);
    EXPECT_EQ(s.channels[0].secondsOff, 1500);
    const QStringList text = StatisticsLines(s);
    EXPECT_EQ(text.value(0), QStringLiteral("Время отсчётов не возрастает: 2 раз; эти промежутки "
                                            "не учтены в интервале и длительностях"));
    EXPECT_TRUE(text.contains(QStringLiteral("Время в состоянии «Есть»: 0 мин")));
}

// Temperatures at or below absolute zero have no mean kinetic temperature; an upper limit not
// above the lower one gives no limit figures; a limit beyond the double range is none.
TEST_P(StatisticsTest, ImpossibleFiguresAreLeftOutWithTheirReason) {
    for (const char* b : {"-289.15", "-400"}) {  // the lowest at exactly −273.15, then below
        SCOPED_TRACE(b);
        ProgramState state = load(kTwoChannels);
        state.options.Edit8 = QString::fromLatin1(b);
        const SelectionStatistics s = ComputeStatistics(state);
        EXPECT_FALSE(s.channels[0].meanKineticTemperature);
        EXPECT_TRUE(StatisticsLines(s).contains(
            QStringLiteral("Средняя кинетическая температура (ΔH = %1 кДж/моль): не определена, "
                           "есть температура не выше %2 °C")
                .arg(local("83.14472"), local("-273.15"))))
            << StatisticsLines(s).join('\n').toStdString();
    }

    QStringList reversed = kTwoChannels;
    reversed[3] = "Верхний температурный предел: 17.0 °C";
    reversed[4] = "Нижний температурный предел: 24.0 °C";
    reversed[6] = "Верхний предел канала данных: 1e400 %";
    ProgramState state = load(reversed);
    const SelectionStatistics s = ComputeStatistics(state);
    const ChannelStatistics& t = s.channels[0];
    EXPECT_TRUE(t.limitsReversed());
    EXPECT_EQ(t.aboveUpper, 0);
    EXPECT_EQ(t.belowLower, 0);
    EXPECT_FALSE(s.channels[1].upperLimit);
    EXPECT_EQ(s.channels[1].lowerLimit, std::optional<double>(45));
    const QStringList lines = StatisticsLines(s);
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Пределы не учтены: верхний предел %1 не выше нижнего %2 (файл повреждён?)")
            .arg(local("17.0"), local("24.0"))))
        << lines.join('\n').toStdString();
    EXPECT_FALSE(lines.join('\n').contains(QStringLiteral("INF"), Qt::CaseInsensitive));
    EXPECT_EQ(lines.filter(QStringLiteral("Выше верхнего предела")).size(), 0);
}

// A selection large enough to be read in parts side by side gives the figures of one pass,
// and a line that does not read is reported as the first such line in the file.
TEST_P(StatisticsTest, LargeSelectionReadInParts) {
    constexpr int kSamples = 300000;
    QStringList lines = kTwoChannels.mid(0, 10);
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < kSamples; ++i) {
        lines << start.addSecs(60 * i).toString(" dd/MM/yyyy hh:mm:ss") +
                     QStringLiteral(" - %1.0 °C 50.0 %").arg(i % 10);
    }
    ProgramState state = load(lines);
    const SelectionStatistics s = ComputeStatistics(state);
    ASSERT_EQ(s.channels.size(), 2u);
    const ChannelStatistics& t = s.channels[0];
    EXPECT_EQ(t.samples, kSamples);
    EXPECT_EQ(t.last, start.addSecs(60 * (kSamples - 1)));
    EXPECT_EQ(t.maximumTime, start.addSecs(60 * 9));
    EXPECT_DOUBLE_EQ(t.mean, 4.5);
    EXPECT_EQ(t.belowLower, kSamples);  // all below 17 °C: one run from the first sample
    EXPECT_EQ(t.longestExcursion.samples, kSamples);
    EXPECT_EQ(t.longestExcursion.start, start);
    EXPECT_EQ(s.intervalSeconds, std::optional<double>(60));

    // The range leaves out the first hour and every third line has no humidity: each part's
    // samples move up behind the previous part's.
    QStringList gapped = kTwoChannels.mid(0, 10);
    long double humiditySum = 0;
    int humidityCount = 0;
    for (int i = 0; i < kSamples; ++i) {
        const bool blank = i % 3 == 0;
        gapped << start.addSecs(60 * i).toString(" dd/MM/yyyy hh:mm:ss") +
                      QStringLiteral(" - %1.0 °C %2")
                          .arg(i % 10)
                          .arg(blank ? QString() : QStringLiteral("%1.0 %").arg(i % 100));
        if (i >= 60 && !blank) {
            humiditySum += i % 100;
            humidityCount += 1;
        }
    }
    ProgramState cut = load(gapped);
    cut.options.ComboBoxText[ReportOptions::ComboBox3] = "01";
    const SelectionStatistics g = ComputeStatistics(cut);
    ASSERT_EQ(g.channels.size(), 2u);
    EXPECT_EQ(g.selected, kSamples - 60);
    EXPECT_EQ(g.channels[0].samples, kSamples - 60);
    EXPECT_EQ(g.channels[0].first, start.addSecs(3600));
    EXPECT_EQ(g.channels[1].samples, humidityCount);
    EXPECT_EQ(g.channels[1].first, start.addSecs(3600 + 60));
    EXPECT_EQ(g.channels[1].last, start.addSecs(60 * (kSamples - 1)));
    EXPECT_EQ(g.channels[1].mean, static_cast<double>(humiditySum / humidityCount));
    EXPECT_EQ(g.nonIncreasingSpacings, 0);

    QStringList rows = state.data.SampleRows.toList();
    const QString early = rows[100].replace(QStringLiteral("0.0 °C"), "x °C");
    rows[250000].replace(u':', u'x');
    state.data.SampleRows = rows;
    try {
        ComputeStatistics(state);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains(early.trimmed())) << e.what();
    }
}

TEST(DurationText, WholeUnitsFromDaysToSeconds) {
    const std::pair<double, const char*> cases[] = {
        {0, "0 мин"}, {45, "45 с"}, {600, "10 мин"}, {3600, "1 ч"}, {93900, "1 сут 2 ч 5 мин"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(DurationText(seconds), QString::fromUtf8(text));
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, StatisticsTest,
                         ::testing::Values(test::kCommaSystem, test::kPointSystem),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qorv
