#include "report/MappingSheets.h"
#include "report/Messages.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace qorv::mapping {

namespace {

namespace text = messages::mapping;
namespace xl = automation::xl;
using automation::Chart;
using automation::RangeRef;
using automation::Series;
using automation::Worksheet;

// Series colours, packed RGB with red in the low byte; after the twelfth the colours come
// round again with dashes, then with dash-dots. Pure red and blue stay the range lines'.
constexpr std::array<int, 12> kPalette = {
    0xb4771f,  // blue
    0x0e7fff,  // orange
    0x2ca02c,  // green
    0x2827d6,  // red
    0xbd6794,  // purple
    0x4b568c,  // brown
    0xc277e3,  // pink
    0x7f7f7f,  // grey
    0x22bdbc,  // olive
    0xcfbe17,  // cyan
    0x000000,  // black
    0x8b008b,  // dark magenta
};
constexpr std::array<int, 3> kLineStyles = {xl::Continuous, xl::Dash, xl::DashDot};
constexpr int kHighColor = 255;      // red
constexpr int kLowColor = 16711680;  // blue
constexpr int kManyLoggers = 12;     // more lines than this are drawn thin

// Each chart fills the printable part of a landscape A4 page, one page per chart.
constexpr double kMargin = 36;
constexpr double kPageWidth = 842 - 2 * kMargin;
constexpr double kPageHeight = 595 - 2 * kMargin;
constexpr int kRowsPerChart = 41;  // rows of the default height a page holds
constexpr double kChartHeight = kRowsPerChart * automation::Worksheet::kDefaultRowHeight - 10;

void StyleLoggerSeries(Series& series, std::size_t index, std::size_t loggers) {
    const int color = kPalette[index % kPalette.size()];
    series.border().setColor(color);
    series.border().setWeight(loggers > std::size_t(kManyLoggers) ? xl::Thin : xl::Medium);
    series.border().setLineStyle(kLineStyles[(index / kPalette.size()) % kLineStyles.size()]);
    series.setMarkerStyle(xl::None);
}

// The series of one channel: one per logger that has a pair on the data sheet.
void AddLoggerSeries(MappingRun& run, Chart& chart, const std::vector<int>& columns,
                     bool humidity) {
    const std::vector<StudyLogger>& loggers = run.study.loggers;
    for (std::size_t i = 0; i < loggers.size(); ++i) {
        const int column = columns[i];
        const std::size_t samples =
            humidity ? loggers[i].humiditySamples.size() : loggers[i].temperatureSamples.size();
        if (column == 0 || samples == 0) {
            continue;
        }
        const int last = DataColumns::kFirstRow + int(samples) - 1;
        Series& series = chart.newSeries();
        series.setXValues(
            run.data->range(RangeRef{{DataColumns::kFirstRow, column}, {last, column}}));
        series.setValues(
            run.data->range(RangeRef{{DataColumns::kFirstRow, column + 1}, {last, column + 1}}));
        series.setName(LoggerName(loggers[i]));
        StyleLoggerSeries(series, i, loggers.size());
    }
}

// The acceptance range: a dashed line per limit over the study period, blue below, red above.
void AddRangeLines(MappingRun& run, Chart& chart) {
    const int time = run.columns.rangeTime;
    if (time == 0) {
        return;
    }
    const RangeRef times{{DataColumns::kFirstRow, time}, {DataColumns::kFirstRow + 1, time}};
    const std::tuple<const std::optional<double>*, int, QString> limits[] = {
        {&run.study.low, kLowColor, text::RangeLowLine},
        {&run.study.high, kHighColor, text::RangeHighLine}};
    int column = time + 1;
    for (const auto& [limit, color, name] : limits) {
        if (!*limit) {
            continue;
        }
        Series& series = chart.newSeries();
        series.setXValues(run.data->range(times));
        series.setValues(run.data->range(
            RangeRef{{DataColumns::kFirstRow, column}, {DataColumns::kFirstRow + 1, column}}));
        series.setName(name);
        series.border().setColor(color);
        series.border().setWeight(xl::Medium);
        series.border().setLineStyle(xl::Dash);
        series.setMarkerStyle(xl::None);
        ++column;
    }
}

// A chart on the chart sheet from `topRow`, titled, with a time axis like the protocol's
// (automatic, vertical grid lines) and the legend at its right.
Chart& PlaceChart(MappingRun& run, const QString& title, int topRow) {
    Chart& created = run.book->charts().add(run.data);
    created.setChartType(xl::XYScatterSmoothNoMarkers);
    Chart& chart = created.location(xl::LocationAsObject, text::ChartSheet);
    chart.setHasTitle(true);
    chart.setTitleText(title);
    automation::Axis& time = chart.axes(xl::Category, xl::Primary);
    time.setCrosses(xl::Automatic);
    time.setHasMajorGridlines(true);
    Worksheet& sheet = *run.charts;
    automation::Shape& shape = sheet.shapes().item(sheet.shapes().count());
    shape.setTop(sheet.cells(topRow, 1).top());
    shape.setLeft(0);
    shape.setWidth(std::min(kPageWidth, sheet.columnWidthPoints(1)) - 4);
    shape.setHeight(kChartHeight);
    return chart;
}

}  // namespace

void WriteChartSheet(MappingRun& run) {
    Worksheet& sheet = *run.charts;
    // One column as wide as the page: the charts stand in it, and the page is not cut across.
    sheet.cells(1, 1).setColumnWidth((kPageWidth / 0.75 - 5) / 7);
    Chart& temperature = PlaceChart(run, text::TemperatureChart, 1);
    AddLoggerSeries(run, temperature, run.columns.temperature, false);
    AddRangeLines(run, temperature);
    int lastRow = kRowsPerChart;
    if (HasHumidity(run.study)) {
        const int top = kRowsPerChart + 1;
        sheet.hPageBreaks().add(sheet.cells(top, 1));
        Chart& humidity = PlaceChart(run, text::HumidityChart, top);
        AddLoggerSeries(run, humidity, run.columns.humidity, true);
        lastRow = top + kRowsPerChart - 1;
    }
    SetUpLandscapeA4(sheet, kMargin, 100, RangeRef{{1, 1}, {lastRow, 1}});
    static_assert(kRowsPerChart * automation::Worksheet::kDefaultRowHeight <= kPageHeight);
}

}  // namespace qorv::mapping
