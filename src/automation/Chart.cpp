#include "automation/Chart.h"

#include "automation/AutomationError.h"
#include "automation/Range.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"

#include <cmath>

namespace qorv::automation {

namespace {

void checkColor(const char* property, int color) {
    if (color < 0 || color > 0xFFFFFF) {
        throw errors::badValue(QString::fromLatin1(property), QString::number(color));
    }
}

void checkFinite(const char* property, double value) {
    if (!std::isfinite(value)) {
        throw errors::badValue(QString::fromLatin1(property), value);
    }
}

void checkPositive(const char* property, double value) {
    if (!(std::isfinite(value) && value > 0)) {
        throw errors::badValue(QString::fromLatin1(property), value);
    }
}

// A scale setting made automatic (emptied), or fixed: at `fixed` when it was automatic, else
// at the value it has.
void setAutomatic(std::optional<double>& setting, bool automatic, double fixed) {
    if (automatic) {
        setting.reset();
    } else if (!setting) {
        setting = fixed;
    }
}

}  // namespace

double SeriesLineWidth(int weight) {
    switch (weight) {
        case xl::Hairline:
            return 0.25;
        case xl::Medium:
            return 1.5;
        case xl::Thick:
            return 2.25;
        default:
            return 0.75;
    }
}

// Series

QString Series::name() const {
    if (literalName) {
        return *literalName;
    }
    if (nameCell && sheet) {
        return sheet->range(RangeRef{*nameCell, *nameCell}).text();
    }
    return QString();
}

void Series::setName(const QString& name) {
    literalName = name;
}

void Series::setAxisGroup(int group) {
    if (group != xl::Primary && group != xl::Secondary) {
        throw errors::badValue(QStringLiteral("Series.AxisGroup"), QString::number(group));
    }
    axisGroup_ = group;
}

void Series::Border::setColor(int color) {
    checkColor("Series.Border.Color", color);
    series_.lineColor = std::uint32_t(color);
    series_.lineNone = false;
}

void Series::Border::setWeight(int weight) {
    if (weight != xl::Hairline && weight != xl::Thin && weight != xl::Medium &&
        weight != xl::Thick) {
        throw errors::badValue(QStringLiteral("Series.Border.Weight"), QString::number(weight));
    }
    series_.lineWeight = weight;
    series_.lineNone = false;
}

void Series::Border::setLineStyle(int lineStyle) {
    if (lineStyle != xl::Continuous && lineStyle != xl::Dash && lineStyle != xl::DashDot &&
        lineStyle != xl::None) {
        throw errors::badValue(QStringLiteral("Series.Border.LineStyle"),
                               QString::number(lineStyle));
    }
    series_.lineNone = lineStyle == xl::None;
    series_.lineStyle = lineStyle == xl::None ? xl::Continuous : lineStyle;
}

namespace {

// The cells of a series range: one column of the sheet the series reads from (the first
// range set chooses it).
RangeRef seriesRange(const Series& series, const Range& range, const char* property) {
    const RangeRef& r = range.ref();
    if ((series.sheet && &range.worksheet() != series.sheet) || r.columnCount() != 1) {
        throw errors::badValue(QString::fromLatin1(property), rangeName(r));
    }
    return r;
}

}  // namespace

void Series::setXValues(const Range& range) {
    xValues = seriesRange(*this, range, "Series.XValues");
    sheet = &range.worksheet();
}

void Series::setValues(const Range& range) {
    yValues = seriesRange(*this, range, "Series.Values");
    sheet = &range.worksheet();
}

void Series::setNameFrom(const Range& cell) {
    const RangeRef& r = seriesRange(*this, cell, "Series.Name");
    if (!r.isSingleCell()) {
        throw errors::badValue(QStringLiteral("Series.Name"), rangeName(r));
    }
    sheet = &cell.worksheet();
    nameCell = r.first;
    literalName.reset();
}

int Series::Border::color() const {
    return int(series_.lineColor.value_or(0));
}
int Series::Border::weight() const {
    return series_.lineWeight.value_or(xl::Thin);
}

void Series::Interior::setColor(int color) {
    checkColor("Series.Interior.Color", color);
    series_.fillColor = std::uint32_t(color);
    if (!series_.fillPattern) {
        series_.fillPattern = xl::Solid;
    }
}

void Series::Interior::setPattern(int pattern) {
    if (pattern != xl::Solid && pattern != xl::None) {
        throw errors::badValue(QStringLiteral("Series.Interior.Pattern"), QString::number(pattern));
    }
    series_.fillPattern = pattern;
}

int Series::Interior::color() const {
    return int(series_.fillColor.value_or(0));
}
int Series::Interior::pattern() const {
    return series_.fillPattern.value_or(xl::Solid);
}

void Series::setMarkerStyle(int style) {
    static const int kKnown[] = {1, 2, 3, 8, xl::None, xl::Automatic};
    if (std::find(std::begin(kKnown), std::end(kKnown), style) == std::end(kKnown)) {
        throw errors::badValue(QStringLiteral("Series.MarkerStyle"), QString::number(style));
    }
    markerStyle_ = style;
}

int Series::markerStyle() const {
    return markerStyle_.value_or(xl::None);
}

void Series::setMarkerSize(int size) {
    if (size < 2 || size > 72) {
        throw errors::badValue(QStringLiteral("Series.MarkerSize"), QString::number(size));
    }
    markerSize_ = size;
}

void Series::setMarkerForegroundColor(int color) {
    checkColor("Series.MarkerForegroundColor", color);
    markerForeground = std::uint32_t(color);
}

void Series::setMarkerBackgroundColor(int color) {
    checkColor("Series.MarkerBackgroundColor", color);
    markerBackground = std::uint32_t(color);
}

// Axis

void Axis::setMinimumScale(double value) {
    checkFinite("Axis.MinimumScale", value);
    minimum = value;
}

void Axis::setMaximumScale(double value) {
    checkFinite("Axis.MaximumScale", value);
    maximum = value;
}

void Axis::setMinimumScaleIsAuto(bool automatic) {
    setAutomatic(minimum, automatic, 0);
}

void Axis::setMaximumScaleIsAuto(bool automatic) {
    setAutomatic(maximum, automatic, 1);
}

void Axis::setMajorUnit(double value) {
    checkPositive("Axis.MajorUnit", value);
    majorUnit = value;
}

void Axis::setMajorUnitIsAuto(bool automatic) {
    setAutomatic(majorUnit, automatic, 1);
}

void Axis::setMinorUnit(double value) {
    checkPositive("Axis.MinorUnit", value);
    minorUnit = value;
}

void Axis::setMinorUnitIsAuto(bool automatic) {
    setAutomatic(minorUnit, automatic, majorUnit.value_or(1) / 5);
}

void Axis::setCrosses(int value) {
    if (value != xl::Automatic && value != xl::Minimum && value != xl::Maximum) {
        throw errors::badValue(QStringLiteral("Axis.Crosses"), QString::number(value));
    }
    crosses = value;
}

void Axis::setReversePlotOrder(bool reverse) {
    reversePlotOrder = reverse;
}

void Axis::setDisplayUnit(int unit) {
    if (unit != xl::None && (unit > -2 || unit < -10)) {
        throw errors::badValue(QStringLiteral("Axis.DisplayUnit"), QString::number(unit));
    }
    displayUnit = unit;
}

// Chart

Chart::Chart(Workbook& workbook) : workbook_(workbook) {
    // The value axis shows horizontal grid lines from the start; the secondary category
    // axis sits where the secondary value axis crosses at the right.
    axes_[1].majorGridlines = true;
    axes_[2].crosses = xl::Maximum;
}

void Chart::setChartType(int type) {
    if (type != xl::XYScatterSmoothNoMarkers && type != xl::ColumnClustered) {
        throw errors::badValue(QStringLiteral("Chart.ChartType"), QString::number(type));
    }
    chartType_ = type;
}

void Chart::setSourceData(const Range& source, int plotBy) {
    if (plotBy != xl::Columns) {
        throw errors::badValue(QStringLiteral("Chart.SetSourceData PlotBy"),
                               QString::number(plotBy));
    }
    Worksheet& sheet = source.worksheet();
    if (&sheet.workbook() != &workbook_) {
        throw errors::noSourceData(QStringLiteral("диапазон из другой книги"));
    }
    const RangeRef& r = source.ref();
    if (r.columnCount() < 2) {
        throw errors::noSourceData(
            QStringLiteral("в диапазоне %1 нужны столбец X и хотя бы один столбец значений")
                .arg(rangeName(r)));
    }
    const CellStore& cells = sheet.cellStore();
    auto type = [&](int row, int column) { return CellStore::typeOf(cells.meta(row, column)); };
    bool header = false;
    if (r.rowCount() > 1) {
        for (int c = r.first.column + 1; c <= r.last.column; ++c) {
            header = header || type(r.first.row, c) == CellType::Text;
        }
    }
    const int dataFirst = header ? r.first.row + 1 : r.first.row;
    // Columns after the last one holding anything give no series; an empty column before a
    // filled one stays a series without values, so the series keep the columns' order.
    int lastColumn = r.first.column;
    for (int c = r.first.column + 1; c <= r.last.column; ++c) {
        for (int row = r.first.row; row <= r.last.row; ++row) {
            if (type(row, c) != CellType::Empty) {
                lastColumn = c;
                break;
            }
        }
    }
    std::vector<Series> series;
    for (int c = r.first.column + 1; c <= lastColumn; ++c) {
        Series s;
        s.sheet = &sheet;
        s.xValues = {{dataFirst, r.first.column}, {r.last.row, r.first.column}};
        s.yValues = {{dataFirst, c}, {r.last.row, c}};
        if (header) {
            s.nameCell = CellRef{r.first.row, c};
        }
        series.push_back(std::move(s));
    }
    series_ = std::move(series);
}

Chart& Chart::location(int where, const QString& sheetName) {
    if (where != xl::LocationAsObject) {
        throw errors::badValue(QStringLiteral("Chart.Location"), QString::number(where));
    }
    return workbook_.moveChartToWorksheet(*this, sheetName);
}

bool Chart::hasTitle() const {
    return hasTitle_.value_or(series_.size() == 1);
}

QString Chart::titleText() const {
    if (!hasTitle()) {
        return QString();
    }
    if (titleText_) {
        return *titleText_;
    }
    return series_.size() == 1 ? series_.front().name() : QString();
}

bool Chart::hasSecondaryAxes() const {
    for (const Series& s : series_) {
        if (s.axisGroup() == xl::Secondary) {
            return true;
        }
    }
    return false;
}

Axis& Chart::axes(int type, int group) {
    if ((type != xl::Category && type != xl::Value) ||
        (group != xl::Primary && group != xl::Secondary) ||
        (group == xl::Secondary && !hasSecondaryAxes())) {
        throw errors::axisNotFound(type, group);
    }
    return axes_[std::size_t((group - 1) * 2 + (type - 1))];
}

const Axis& Chart::axis(int type, int group) const {
    return axes_[std::size_t((group - 1) * 2 + (type - 1))];
}

Series& Chart::newSeries() {
    return series_.emplace_back();
}

Series& Chart::seriesCollection(int index) {
    if (index < 1 || index > seriesCount()) {
        throw errors::seriesOutOfRange(index, seriesCount());
    }
    return series_[std::size_t(index - 1)];
}

}  // namespace qorv::automation
