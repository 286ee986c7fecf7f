#include "report/BuildReport.h"

#include "ReportTestSupport.h"

namespace qorv {
namespace {

using automation::Chart;
using automation::Series;
using R = ReportOptions;
namespace xl = automation::xl;
using test::ReportFixture;

// A logger export with a temperature channel and/or a data channel recording humidity ("%")
// or on/off events; 12 samples every 5 minutes.
QStringList logger(bool temperature, const char* data, bool limits = false) {
    QStringList lines = {"Устройство - Qorv-X 0A0000009  Версия 2", "Частота регистрации: 5 мин.",
                         "Данные сохранены: 02/02/2015 10:00:00"};
    if (limits) {
        lines << "Верхний температурный предел: 21.5 °C"
              << "Нижний температурный предел: 19.0 °C"
              << "Верхний предел канала данных: 70.0 %"
              << "Нижний предел канала данных: 45.5 %";
    }
    lines << (temperature ? "Канал температуры - 2 байта (°C)" : "Канал температуры отсутствует");
    lines << (QString(data) == "events" ? "Канал данных - 1 байт ()"
                                        : "Канал данных - 2 байта (%RH)");
    lines << "Значения измеренных величин";
    const QDateTime start(QDate(2015, 2, 1), QTime(10, 0, 0));
    for (int i = 0; i < 12; ++i) {
        QString line = start.addSecs(300 * i).toString("dd/MM/yyyy HH:mm:ss") + " -";
        if (temperature) {
            line += QString(" %1 °C").arg(20.0 + i * 0.1, 0, 'f', 1);
        }
        if (QString(data) == "events") {
            line += i % 4 < 2 ? " 0 (Нет)" : " 1 (Есть)";
        } else {
            line += QString(" %1 %").arg(50.0 + i, 0, 'f', 1);
        }
        lines << line;
    }
    return lines;
}

// Chart settings unlike the defaults, so that each field shows where it went.
void distinctSettings(ChartSettings& c) {
    c.TempColor = 32768;
    c.TempMarker = "OK";
    c.TempScaleAuto = "NO";
    c.TempScaleMin = 0;
    c.TempScaleMax = 40;
    c.TempMajorUnit = 5;
    c.DataColor = 8421504;
    c.DataMarker = "NO";
    c.DataScaleAuto = "NO";
    c.DataScaleMin = 10;
    c.DataScaleMax = 90;
    c.DataMajorUnit = 20;
    c.TimeGridlines = "OK";
    c.TimeUnitAuto = "NO";
    c.TimeMajorUnit = 10.0 / 60 / 24;
}

// Every kind of chart the report makes, by channels and data series kind; the names of
// series 1 for a channel-2 chart follow the channel-2 rule ("Влажность, %RH").
TEST(ChartStage, EachCaseIsTypedNamedAndFormatted) {
    struct Case {
        const char* name;
        bool temperature;
        const char* data;
        bool channel1;
        bool channel2;
        QString kindAfter;
        int type;
        int series;
        QString title;  // empty: no title
        bool legend;
        QString name1;
        int color1;
        int marker1;
        std::optional<double> axisMin, axisMax;  // primary value axis; nothing: automatic
        bool gridlines;
        bool secondary;
    };
    const Case cases[] = {
        {"1 alone, NO", true, "%", true, false, "NO", xl::XYScatterSmoothNoMarkers, 1, "Темпер.,°C",
         false, "Темпер.,°C", 32768, xl::MarkerSquare, 0, 40, true, false},
        {"1 alone, XXX", true, "events", true, false, "XXX", xl::XYScatterSmoothNoMarkers, 1, "",
         false, "Темпер.,°C", 32768, xl::MarkerSquare, 0, 40, true, false},
        {"1 and 2, NO", true, "%", true, true, "NO", xl::XYScatterSmoothNoMarkers, 2, "", true,
         "Темпер.,°C", 32768, xl::MarkerSquare, 0, 40, true, true},
        {"1 and 2, XXX", true, "events", true, true, "XXX", xl::XYScatterSmoothNoMarkers, 2, "",
         true, "Темпер.,°C", 32768, xl::MarkerSquare, 0, 40, true, true},
        {"2 alone, events", false, "events", false, true, "OK", xl::ColumnClustered, 2, "", false,
         "Событие, Есть/Нет", 16711680, xl::None, 10, 90, false, false},
        {"2 alone, OK", false, "%", false, true, "OK", xl::XYScatterSmoothNoMarkers, 1, "", false,
         "Влажность, %RH", 8421504, xl::None, 10, 90, false, false},
        {"2 alone, NO", true, "%", false, true, "NO", xl::XYScatterSmoothNoMarkers, 1,
         "Влажность, %RH", false, "Влажность, %RH", 8421504, xl::None, 10, 90, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportFixture f;
        f.load(logger(c.temperature, c.data));
        f.state.options.setChecked(R::CheckBox6, c.channel1);
        f.state.options.setChecked(R::CheckBox7, c.channel2);
        distinctSettings(f.state.chart);
        f.run();
        EXPECT_EQ(f.state.data.DataSeriesKind, c.kindAfter);
        ASSERT_EQ(f.report().shapes().count(), 1);
        Chart& chart = f.report().shapes().item(1).chart();
        EXPECT_EQ(chart.chartType(), c.type);
        ASSERT_EQ(chart.seriesCount(), c.series);
        EXPECT_EQ(chart.titleText(), c.title);
        EXPECT_EQ(chart.hasTitle(), !c.title.isEmpty());
        EXPECT_EQ(chart.hasLegend(), c.legend);
        Series& first = chart.seriesCollection(1);
        EXPECT_EQ(first.name(), c.name1);
        EXPECT_EQ(first.border().color(), c.color1);
        EXPECT_EQ(first.border().weight(), xl::Medium);
        EXPECT_EQ(first.markerStyle(), c.marker1);
        const automation::Axis& values = chart.axis(xl::Value, xl::Primary);
        EXPECT_EQ(values.minimum, c.axisMin);
        EXPECT_EQ(values.maximum, c.axisMax);
        const automation::Axis& time = chart.axis(xl::Category, xl::Primary);
        EXPECT_EQ(time.majorGridlines, c.gridlines);
        EXPECT_DOUBLE_EQ(time.majorUnit.value_or(0), 10.0 / 1440);
        EXPECT_EQ(chart.hasSecondaryAxes(), c.secondary);
        if (c.secondary) {
            Series& second = chart.seriesCollection(2);
            EXPECT_EQ(second.border().color(), 8421504);
            const automation::Axis& right = chart.axis(xl::Value, xl::Secondary);
            // The Data scale is for a measured channel 2; an event channel's axis stays free.
            const bool events = QString(c.data) == "events";
            EXPECT_EQ(right.minimum, events ? std::nullopt : std::optional<double>(10));
            EXPECT_EQ(second.name(),
                      events ? QString("Событие, Есть/Нет") : QString("Влажность, %RH"));
        }
        if (c.type == xl::ColumnClustered) {
            EXPECT_EQ(first.interior().color(), 16711680);
            EXPECT_EQ(chart.seriesCollection(2).interior().color(), 255);
            EXPECT_EQ(chart.seriesCollection(2).name(), QString("1 (Есть)"));
        }
    }
}

// The limit lines of the plotted value channels: one dashed thin series per limit after the
// channels' series, on its channel's axis group, reading the block right of the chart's table;
// the title stays, events get none, and nothing changes with the flags off.
TEST(ChartStage, LimitLinesFollowTheirChannels) {
    struct Line {
        QString name;
        QString values;  // the block's cells of the limit
        double value;
        int group;
        int color;  // one channel's lines red and blue; both channels' their series' colours
        int style;  // and then upper and lower by their dashes
    };
    constexpr int red = 255, blue = 16711680, green = 32768, grey = 8421504;
    struct Case {
        const char* name;
        bool temperature;
        const char* data;
        bool channel1;
        bool channel2;
        bool flags;
        QString title;
        std::vector<Line> lines;
    };
    const QString upper = QStringLiteral("Верхний предел");
    const QString lower = QStringLiteral("Нижний предел");
    const Case cases[] = {
        {.name = "1 alone",
         .temperature = true,
         .data = "%",
         .channel1 = true,
         .channel2 = false,
         .flags = true,
         .title = "Темпер.,°C",
         .lines = {{upper, "F5:F6", 21.5, 1, red, xl::Dash},
                   {lower, "G5:G6", 19, 1, blue, xl::Dash}}},
        {.name = "1 and 2",
         .temperature = true,
         .data = "%",
         .channel1 = true,
         .channel2 = true,
         .flags = true,
         .title = "",
         .lines = {{upper + " (Темпер.)", "F5:F6", 21.5, 1, green, xl::Dash},
                   {lower + " (Темпер.)", "G5:G6", 19, 1, green, xl::DashDot},
                   {upper + " (Влажность)", "H5:H6", 70, 2, grey, xl::Dash},
                   {lower + " (Влажность)", "I5:I6", 45.5, 2, grey, xl::DashDot}}},
        {.name = "1 and events",
         .temperature = true,
         .data = "events",
         .channel1 = true,
         .channel2 = true,
         .flags = true,
         .title = "",
         .lines = {{upper, "F6:F7", 21.5, 1, red, xl::Dash},
                   {lower, "G6:G7", 19, 1, blue, xl::Dash}}},
        {.name = "2 alone",
         .temperature = true,
         .data = "%",
         .channel1 = false,
         .channel2 = true,
         .flags = true,
         .title = "Влажность, %RH",
         .lines = {{upper, "F5:F6", 70, 1, red, xl::Dash},
                   {lower, "G5:G6", 45.5, 1, blue, xl::Dash}}},
        {.name = "events alone",
         .temperature = false,
         .data = "events",
         .channel1 = false,
         .channel2 = true,
         .flags = true,
         .title = "",
         .lines = {}},
        {.name = "flags off",
         .temperature = true,
         .data = "%",
         .channel1 = true,
         .channel2 = true,
         .flags = false,
         .title = "",
         .lines = {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportFixture f;
        f.load(logger(c.temperature, c.data, true));
        f.state.options.setChecked(R::CheckBox6, c.channel1);
        f.state.options.setChecked(R::CheckBox7, c.channel2);
        if (QString(c.data) == "events") {
            f.state.options.Edit13 = QStringLiteral("Событие");
        }
        distinctSettings(f.state.chart);
        f.state.chart.TempLimitLines = c.flags;
        f.state.chart.DataLimitLines = c.flags;
        f.run();
        Chart& chart = f.report().shapes().item(1).chart();
        const int channels = (c.channel1 ? 1 : 0) + (c.channel2 ? 1 : 0);
        const int before = QString(c.name) == "events alone" ? 2 : channels;
        ASSERT_EQ(chart.seriesCount(), before + int(c.lines.size()));
        EXPECT_EQ(chart.titleText(), c.title);
        automation::Worksheet& data = f.data();
        if (c.lines.empty()) {
            EXPECT_FALSE(data.range("E4").value2().isValid());
            EXPECT_FALSE(data.range("E5").value2().isValid());
            continue;
        }
        const int header = QString(c.data) == "events" ? 5 : 4;
        const automation::RangeRef& times = chart.seriesCollection(1).xValues;
        EXPECT_EQ(data.range(QString("E%1").arg(header)).text(), QString("Время"));
        EXPECT_EQ(data.range(QString("E%1").arg(header + 1)).value2(),
                  data.range(automation::RangeRef{times.first, times.first}).value2());
        EXPECT_EQ(data.range(QString("E%1").arg(header + 2)).value2(),
                  data.range(automation::RangeRef{times.last, times.last}).value2());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            const Line& line = c.lines[i];
            SCOPED_TRACE(line.name.toStdString());
            Series& series = chart.seriesCollection(before + int(i) + 1);
            EXPECT_EQ(series.name(), line.name);
            EXPECT_EQ(automation::rangeName(series.yValues), line.values);
            EXPECT_EQ(automation::rangeName(series.xValues),
                      QString("E%1:E%2").arg(header + 1).arg(header + 2));
            EXPECT_EQ(data.range(line.values).value2(), QVariant(line.value));
            EXPECT_EQ(series.axisGroup(), line.group);
            EXPECT_EQ(series.border().color(), line.color);
            EXPECT_EQ(series.border().weight(), xl::Thin);
            EXPECT_EQ(series.lineStyle, line.style);
            EXPECT_EQ(series.markerStyle(), xl::None);
        }
    }
}

// A fixed scale keeps its ends when a limit lies outside it.
TEST(ChartStage, FixedScaleKeepsItsEndsAroundLimitLines) {
    ReportFixture f;
    f.load(logger(true, "%", true));
    f.state.options.setChecked(R::CheckBox7, false);
    f.state.chart.TempScaleAuto = "NO";
    f.state.chart.TempScaleMin = 19;
    f.state.chart.TempScaleMax = 21;
    f.state.chart.TempLimitLines = true;
    f.run();
    Chart& chart = f.report().shapes().item(1).chart();
    ASSERT_EQ(chart.seriesCount(), 3);
    EXPECT_EQ(chart.axis(xl::Value, xl::Primary).minimum, std::optional<double>(19));
    EXPECT_EQ(chart.axis(xl::Value, xl::Primary).maximum, std::optional<double>(21));
}

// Over the 22 rows from ChartRow, 430 points wide, 1 point from the left edge, also after the
// finishing changed the row heights.
TEST(ChartStage, CoversTwentyTwoRowsFromTheChartRow) {
    ReportFixture f;
    f.load(logger(true, "%"));
    f.run();
    automation::Worksheet& sheet = f.report();
    automation::Shape& shape = sheet.shapes().item(1);
    const int p = shape.from().row;
    EXPECT_DOUBLE_EQ(shape.top(), sheet.range(QString("A%1").arg(p)).top());
    EXPECT_DOUBLE_EQ(shape.height(), 22 * 12.5);
    EXPECT_DOUBLE_EQ(shape.width(), 430);
    EXPECT_DOUBLE_EQ(shape.left(), 1);
    EXPECT_EQ(f.report().pageSetup().zoom, 97);
}

// No chart without the option, and none without a channel to plot; the flags stay.
TEST(ChartStage, NothingToPlotMakesNoChart) {
    for (const bool chartOn : {false, true}) {
        ReportFixture f;
        f.load(logger(false, "events"));
        f.state.options.setChecked(R::CheckBox9, chartOn);
        if (chartOn) {
            f.state.options.setChecked(R::CheckBox7, false);
        }
        f.run();
        EXPECT_EQ(f.report().shapes().count(), 0);
        EXPECT_EQ(f.book().sheetCount(), 2);
        EXPECT_EQ(f.state.data.DataSeriesKind, QString("NO"));
    }
}

}  // namespace
}  // namespace qorv
