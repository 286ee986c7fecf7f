#include "report/ChartStage.h"

#include "report/ChannelTitles.h"
#include "report/LimitLines.h"

namespace qorv {

namespace {

namespace xl = automation::xl;
using automation::Axis;
using automation::Chart;
using automation::Series;
using R = ReportOptions;

// The chart's rows on the report sheet: from ChartRow, 22 rows high.
constexpr int kChartRows = 22;
constexpr double kChartWidth = 430;
constexpr double kChartLeft = 1;
constexpr int kEventOffColor = 16711680;  // blue, "0 (Нет)"
constexpr int kEventOnColor = 255;        // red, "1 (Есть)"
constexpr int kMarkerSize = 5;

// Scale: a fixed minimum and maximum unless automatic; a fixed major unit unless 0.
void Scale(Axis& axis, const QString& automatic, int minimum, int maximum, int unit) {
    if (automatic == "OK") {
        axis.setMinimumScaleIsAuto(true);
        axis.setMaximumScaleIsAuto(true);
    } else {
        axis.setMinimumScale(double(minimum));
        axis.setMaximumScale(double(maximum));
    }
    if (unit != 0) {
        axis.setMajorUnit(double(unit));
    } else {
        axis.setMajorUnitIsAuto(true);
    }
}

// Line: the series' line, or the outline of its columns, in a colour and medium weight.
void Line(Series& series, int color) {
    series.border().setColor(color);
    series.border().setWeight(xl::Medium);
}

// Markers: none, or squares of size 5 in the series' colour.
void Markers(Series& series, const QString& marker, int color) {
    if (marker == "NO") {
        series.setMarkerStyle(xl::None);
        return;
    }
    series.setMarkerStyle(xl::MarkerSquare);
    series.setMarkerSize(kMarkerSize);
    series.setMarkerForegroundColor(color);
    series.setMarkerBackgroundColor(color);
}

// The name of channel 1's series: "Темпер.,°C" for a temperature channel.
QString Series1Title(const ProgramState& s) {
    if (s.data.TempChannelHeader.startsWith(QStringLiteral("Канал температуры"))) {
        return s.options.Edit12 + QStringLiteral(",°C");
    }
    return s.options.Edit13 + QStringLiteral(", ") + CleanChannelTitle(s.data.TempChannelHeader);
}

// The name of channel 2's series: its name and the unit of its caption ("Влажность, %").
QString Series2Title(const ProgramState& s) {
    if (s.data.DataChannelHeader.startsWith(QStringLiteral("Канал температуры"))) {
        return s.options.Edit12 + QStringLiteral(",°C");
    }
    return s.options.Edit13 + QStringLiteral(", ") +
           CleanChannelTitle(s.data.DataChannelCaption.value_or(QString()));
}

// The time axis: a fixed major unit in days, or everything automatic.
void TimeAxis(Chart& chart, const ChartSettings& settings, bool withDisplayUnit) {
    Axis& time = chart.axes(xl::Category, xl::Primary);
    if (settings.TimeUnitAuto == "NO") {
        time.setMinorUnitIsAuto(true);
        time.setMajorUnit(settings.TimeMajorUnit);
        time.setCrosses(xl::Automatic);
        return;
    }
    time.setMinimumScaleIsAuto(true);
    time.setMaximumScaleIsAuto(true);
    time.setMinorUnitIsAuto(true);
    time.setMajorUnitIsAuto(true);
    time.setCrosses(xl::Automatic);
    time.setReversePlotOrder(false);
    if (withDisplayUnit) {
        time.setDisplayUnit(xl::None);
    }
}

// Vertical grid lines: major on, minor off.
void Gridlines(Chart& chart) {
    Axis& time = chart.axes(xl::Category, xl::Primary);
    time.setHasMajorGridlines(true);
    time.setHasMinorGridlines(false);
}

// Creation, type and data on the data sheet; the chart stands on a chart sheet of its own
// until it is placed.
Chart& CreateChart(ReportRun& run) {
    ProgramState& s = run.program;
    const bool eventsOnly = run.channels.eventsOnly();
    run.select(*run.DataSheet);
    Chart& chart = run.workbook->charts().add(run.DataSheet);
    run.workbook->activeSheet().setName(QStringLiteral("Отчет 1"));
    if (eventsOnly) {
        s.data.DataSeriesKind = QStringLiteral("OK");
    }
    const int first = eventsOnly ? run.ChartDataHeaderRow : run.ChartDataHeaderRow + 1;
    chart.setChartType(eventsOnly ? xl::ColumnClustered : xl::XYScatterSmoothNoMarkers);
    // Columns A (time) to C (channel 2) of the chart-data table.
    chart.setSourceData(
        run.DataSheet->range(automation::RangeRef{{first, 1}, {run.ChartDataLastRow, 3}}),
        xl::Columns);
    return chart;
}

// Into the report sheet, which still has the new workbook's first sheet name.
Chart& PlaceChart(Chart& chart) {
    return chart.location(xl::LocationAsObject, QStringLiteral("Лист1"));
}

// The first formatting, for every kind but "NO": no title, and the series colours.
void FormatSeriesColours(Chart& chart, const ProgramState& s, const RunChannels& channels) {
    if (s.data.DataSeriesKind == "NO") {
        return;
    }
    chart.setHasTitle(false);
    if (channels.eventsOnly()) {
        const std::pair<int, int> columns[] = {{2, kEventOnColor}, {1, kEventOffColor}};
        for (const auto& [index, color] : columns) {
            Series& series = chart.seriesCollection(index);
            series.interior().setColor(color);
            series.interior().setPattern(xl::Solid);
            Line(series, color);
        }
        return;
    }
    if (channels.channel1) {
        Line(chart.seriesCollection(1), s.chart.TempColor);
    }
    if (channels.channel2) {
        // Without a second series channel 2's colour goes to the only one.
        Line(chart.seriesCollection(chart.seriesCount() >= 2 ? 2 : 1), s.chart.DataColor);
    }
}

// Both channels: series 2 on the secondary axis with the Data fields, series 1 and the
// primary axis with the Temp fields; the legend stays.
void FormatTwoChannels(ReportRun& run, Chart& chart) {
    const ProgramState& s = run.program;
    const ChartSettings& settings = s.chart;
    const QString& kind = s.data.DataSeriesKind;
    if (run.channel2HasValues && kind != "OK") {
        Series& second = chart.seriesCollection(2);
        second.setAxisGroup(xl::Secondary);
        if (kind == "XXX") {
            second.setName(s.options.Edit13 + QStringLiteral(", ") +
                           CleanChannelTitle(s.data.DataChannelCaption.value_or(QString())));
        } else if (kind == "NO") {
            Scale(chart.axes(xl::Value, xl::Secondary), settings.DataScaleAuto,
                  settings.DataScaleMin, settings.DataScaleMax, settings.DataMajorUnit);
            second.setName(Series2Title(s));
        }
        if (kind == "XXX" || kind == "NO") {
            Line(second, settings.DataColor);
            Markers(second, settings.DataMarker, settings.DataColor);
        }
    }
    if (kind == "OK") {
        return;
    }
    Scale(chart.axes(xl::Value, xl::Primary), settings.TempScaleAuto, settings.TempScaleMin,
          settings.TempScaleMax, settings.TempMajorUnit);
    Series& first = chart.seriesCollection(1);
    first.setName(Series1Title(s));
    Line(first, settings.TempColor);
    Markers(first, settings.TempMarker, settings.TempColor);
    if (settings.TimeGridlines == "OK") {
        Gridlines(chart);
    }
    TimeAxis(chart, settings, true);
}

// One channel: its axis, its series' name, colour and markers; no legend. The series of
// channel 2 alone is named as channel 2 is everywhere else ("Влажность, %"). A chart of
// channel 1 alone draws vertical grid lines when the time axis settings ask for them, as
// every other chart does.
void FormatOneChannel(ReportRun& run, Chart& chart) {
    const ProgramState& s = run.program;
    const RunChannels& channels = run.channels;
    const ChartSettings& settings = s.chart;
    const bool notOk = s.data.DataSeriesKind != "OK";
    Axis& values = chart.axes(xl::Value, xl::Primary);
    Scale(values, settings.TempScaleAuto, settings.TempScaleMin, settings.TempScaleMax,
          settings.TempMajorUnit);
    if (!channels.channel1) {
        Scale(values, settings.DataScaleAuto, settings.DataScaleMin, settings.DataScaleMax,
              settings.DataMajorUnit);
    }
    Series& series = chart.seriesCollection(1);
    series.setName(channels.channel1 ? Series1Title(s) : Series2Title(s));
    if (!channels.channel2) {
        Line(series, settings.TempColor);
        Markers(series, settings.TempMarker, settings.TempColor);
        if (settings.TimeGridlines == "OK") {
            Gridlines(chart);
        }
    }
    if (!channels.channel1 && notOk) {
        Line(series, settings.DataColor);
        Markers(series, settings.DataMarker, settings.DataColor);
        if (settings.TimeGridlines == "OK") {
            Gridlines(chart);
        }
    }
    TimeAxis(chart, settings, notOk);
    chart.legend().remove();
}

// Over rows P to P+22 of the report sheet, 430 points wide, 1 point from the left edge.
void SizeAndPosition(ReportRun& run) {
    automation::Worksheet& sheet = *run.ReportSheet;
    automation::Shape& shape = sheet.shapes().item(sheet.chartObjects().count());
    const double top = sheet.cells(run.ChartRow, 1).top();
    shape.setTop(top);
    shape.setWidth(kChartWidth);
    shape.setHeight(sheet.cells(run.ChartRow + kChartRows, 1).top() - top);
    shape.setLeft(kChartLeft);
}

}  // namespace

void BuildChart(ReportRun& run) {
    ProgramState& s = run.program;
    const RunChannels& channels = run.channels;
    // Without a channel, or with a range that selects no sample, the chart-data table has no
    // rows: there is nothing to plot, and a chart over its empty heading would draw nothing.
    const bool noRows = run.ChartDataLastRow <= run.ChartDataHeaderRow;
    if (!s.options.isChecked(R::CheckBox9) || (!channels.channel1 && !channels.channel2) ||
        noRows) {
        return;
    }
    Chart& created = CreateChart(run);
    Chart& chart = PlaceChart(created);
    FormatSeriesColours(chart, s, channels);
    run.select(*run.ReportSheet);
    if (channels.channel1 && channels.channel2) {
        FormatTwoChannels(run, chart);
    } else {
        FormatOneChannel(run, chart);
    }
    if (!channels.eventsOnly()) {
        DrawLimitLines(run, chart);
    }
    SizeAndPosition(run);
}

}  // namespace qorv
