#include "report/LimitLines.h"

#include "report/ChannelLimits.h"
#include "report/Messages.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace qorv {

namespace {

namespace xl = automation::xl;
namespace text = messages::limits;
using automation::Range;

constexpr int kUpperColor = 255;       // red
constexpr int kLowerColor = 16711680;  // blue
constexpr int kBlockFirstColumn = 5;   // E: one empty column after the chart's table
constexpr double kColumnWidth = 15;
// Limits a cell takes as a number in plain digits; a file may hold any word as its limit.
constexpr double kLargestLimit = 1e15;
constexpr double kSmallestLimit = 1e-15;

bool Drawable(const std::optional<double>& limit) {
    const double size = limit ? std::abs(*limit) : 0;
    return limit && std::isfinite(size) && size < kLargestLimit &&
           (size == 0 || size >= kSmallestLimit);
}

// One line to draw: its limit, its name, the axis group and colour of its channel's series, and
// whether it is the upper line.
struct LimitLine {
    double value = 0;
    QString name;
    int channel = 1;
    QString channelName;
    bool upper = true;
    int axisGroup = xl::Primary;
    int channelColor = 0;
};

// The lines of one channel when its settings ask for them and its series is on the chart.
void AddChannelLines(std::vector<LimitLine>& lines, const automation::Chart& chart, int seriesIndex,
                     int channel, const ChannelLimits& limits, const QString& channelName,
                     int settingsColor) {
    if (seriesIndex > chart.seriesCount()) {
        return;
    }
    const automation::Series& series = chart.series()[std::size_t(seriesIndex - 1)];
    const int group = series.axisGroup();
    const int color = static_cast<int>(series.lineColor.value_or(std::uint32_t(settingsColor)));
    if (Drawable(limits.upper)) {
        lines.push_back({*limits.upper, text::Upper, channel, channelName, true, group, color});
    }
    if (Drawable(limits.lower)) {
        lines.push_back({*limits.lower, text::Lower, channel, channelName, false, group, color});
    }
}

std::vector<LimitLine> LinesToDraw(const ReportRun& run, const automation::Chart& chart) {
    const ProgramState& s = run.program;
    std::vector<LimitLine> lines;
    const bool channel1 = run.channels.channel1;
    const bool channel2 = run.channels.channel2;
    if (channel1 && s.chart.TempLimitLines) {
        AddChannelLines(lines, chart, 1, 1, LimitsOfChannel(s.summary, 1), s.options.Edit12,
                        s.chart.TempColor);
    }
    if (channel2 && s.chart.DataLimitLines && !run.channels.events) {
        AddChannelLines(lines, chart, channel1 ? 2 : 1, 2, LimitsOfChannel(s.summary, 2),
                        s.options.Edit13, s.chart.DataColor);
    }
    return lines;
}

// A number as the cell takes it: the shortest text that reads back as the same number.
QString NumberInput(double value) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, end.ptr - buffer);
}

void HeaderCell(Range cell, const QString& text) {
    cell.setValue2(text);
    cell.font().setSize(10);
    cell.font().setBold(true);
    cell.borders().setLineStyle(xl::Continuous);
}

void ValueCell(Range cell, const QString& number, const QString& numberFormat) {
    cell.setValue2(number);
    if (!numberFormat.isEmpty()) {
        cell.setNumberFormat(numberFormat);
    }
    cell.borders().setLineStyle(xl::Continuous);
}

}  // namespace

void DrawLimitLines(ReportRun& run, automation::Chart& chart) {
    const int header = run.ChartDataHeaderRow;
    if (chart.chartType() != xl::XYScatterSmoothNoMarkers || chart.seriesCount() == 0 ||
        run.ChartDataLastRow <= header) {
        return;
    }
    const std::vector<LimitLine> lines = LinesToDraw(run, chart);
    if (lines.empty()) {
        return;
    }

    // The time span: the first and the last plotted time, as the chart's table holds them.
    automation::Worksheet& data = *run.DataSheet;
    const automation::RangeRef& times = chart.series().front().xValues;
    const Range firstTime = data.range(automation::RangeRef{times.first, times.first});
    const Range lastTime = data.range(automation::RangeRef{times.last, times.last});
    const int time = kBlockFirstColumn;
    HeaderCell(data.cells(header, time), text::Time);
    ValueCell(data.cells(header + 1, time), firstTime.text(), firstTime.numberFormat());
    ValueCell(data.cells(header + 2, time), lastTime.text(), lastTime.numberFormat());
    data.cells(1, time).setColumnWidth(kColumnWidth);

    // A chart showing both channels' lines tells them apart by name in the legend, and on the
    // chart itself by colour: each channel's lines take its series' colour, the upper line
    // dashed and the lower one dash-dotted. One channel's lines are red and blue dashes.
    bool bothChannels = false;
    for (const LimitLine& line : lines) {
        bothChannels = bothChannels || line.channel != lines.front().channel;
    }

    // Added series would change a title the chart takes from its only series.
    const bool titled = chart.hasTitle();
    const QString title = chart.titleText();
    chart.setHasTitle(titled);
    if (titled) {
        chart.setTitleText(title);
    }

    int column = time + 1;
    int previousChannel = 0;
    for (const LimitLine& line : lines) {
        if (line.channel != previousChannel) {
            Range channel = data.cells(header - 1, column);
            channel.setValue2(line.channelName);
            channel.font().setSize(10);
            channel.font().setBold(true);
            previousChannel = line.channel;
        }
        const Range name = data.cells(header, column);
        HeaderCell(name, line.name);
        const QString value = NumberInput(line.value);
        ValueCell(data.cells(header + 1, column), value, QString());
        ValueCell(data.cells(header + 2, column), value, QString());
        data.cells(1, column).setColumnWidth(kColumnWidth);

        automation::Series& series = chart.newSeries();
        // The line's two points: the first and the last time, each with the limit.
        series.setXValues(data.range(automation::RangeRef{{header + 1, time}, {header + 2, time}}));
        series.setValues(
            data.range(automation::RangeRef{{header + 1, column}, {header + 2, column}}));
        if (bothChannels) {
            series.setName(text::OfChannel(line.name, line.channelName));
        } else {
            series.setNameFrom(name);
        }
        series.setAxisGroup(line.axisGroup);
        series.border().setColor(bothChannels ? line.channelColor
                                              : (line.upper ? kUpperColor : kLowerColor));
        series.border().setWeight(xl::Thin);
        series.border().setLineStyle(bothChannels && !line.upper ? xl::DashDot : xl::Dash);
        series.setMarkerStyle(xl::None);
        ++column;
    }
}

}  // namespace qorv
