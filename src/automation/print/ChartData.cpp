#include "automation/print/ChartData.h"

#include "automation/Styles.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"
#include "automation/print/PointReduction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qorv::automation::chartpaint {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QString formatCodeOf(const Worksheet& sheet, std::uint32_t meta) {
    const Styles& styles = sheet.styles();
    return styles.numberFormat(styles.format(CellStore::formatOf(meta)).numberFormat);
}

// One column of cells read straight from the store; rows past its end are empty.
struct ColumnCells {
    const CellMeta* meta = nullptr;
    const double* values = nullptr;
    int rows = 0;

    ColumnCells(const CellStore& cells, int column) {
        if (column >= 1 && column <= cells.columnCount()) {
            meta = cells.metaData(column);
            values = cells.valueData(column);
            rows = cells.rowCount(column);
        }
    }
    std::uint32_t metaAt(int row) const { return row >= 1 && row <= rows ? meta[row - 1] : 0; }
    CellType typeAt(int row) const { return CellStore::typeOf(metaAt(row)); }
    double valueAt(int row) const { return values[row - 1]; }
};

// Calls `point` with each point of the series in row order; an empty y cell gives a gap
// (NaN y), once for several in a row and never at the start.
template <class PointFunction>
void visitPoints(const Series& s, bool indexX, PointFunction&& point) {
    if (!s.sheet) {
        return;
    }
    const CellStore& cells = s.sheet->cellStore();
    const ColumnCells xs(cells, s.xValues.first.column);
    const ColumnCells ys(cells, s.yValues.first.column);
    const int count = s.yValues.rowCount();
    const int xCount = s.xValues.rowCount();
    bool afterGap = true;
    for (int i = 0; i < count; ++i) {
        const int row = s.yValues.first.row + i;
        const CellType type = ys.typeAt(row);
        if (type == CellType::Empty) {
            if (!afterGap) {
                point(QPointF(0, kNaN));
                afterGap = true;
            }
            continue;
        }
        if (type != CellType::Number) {
            continue;
        }
        double x = i + 1;
        if (!indexX) {
            const int xRow = s.xValues.first.row + i;
            if (i >= xCount || xs.typeAt(xRow) != CellType::Number) {
                continue;
            }
            x = xs.valueAt(xRow);
        }
        const double y = ys.valueAt(row);
        if (std::isfinite(x) && std::isfinite(y)) {
            point(QPointF(x, y));
            afterGap = false;
        }
    }
}

LineData scanLine(const Series& s) {
    LineData d;
    if (!s.sheet) {
        return d;
    }
    const ColumnCells xs(s.sheet->cellStore(), s.xValues.first.column);
    bool anyX = false;
    for (int i = 0; i < s.xValues.rowCount() && !d.indexX; ++i) {
        const std::uint32_t meta = xs.metaAt(s.xValues.first.row + i);
        const CellType type = CellStore::typeOf(meta);
        d.indexX = type == CellType::Text;
        if (type == CellType::Number && !anyX) {
            anyX = true;
            d.hasFirstX = true;
            d.firstXFormat = formatCodeOf(*s.sheet, meta);
        }
    }
    d.indexX = d.indexX || !anyX;
    visitPoints(s, d.indexX, [&](const QPointF& p) {
        if (!std::isnan(p.y())) {
            d.x.add(p.x());
            d.y.add(p.y());
        }
    });
    return d;
}

// Column values by category, NaN where a category has none.
std::vector<double> readColumns(const Series& s, DataExtent& extent) {
    std::vector<double> values;
    if (!s.sheet) {
        return values;
    }
    const ColumnCells ys(s.sheet->cellStore(), s.yValues.first.column);
    values.resize(std::size_t(s.yValues.rowCount()), kNaN);
    for (int i = 0; i < s.yValues.rowCount(); ++i) {
        const int row = s.yValues.first.row + i;
        if (ys.typeAt(row) == CellType::Number && std::isfinite(ys.valueAt(row))) {
            values[std::size_t(i)] = ys.valueAt(row);
            extent.add(values[std::size_t(i)]);
        }
    }
    return values;
}

// Lines count in time when the first line with numeric x values formats them as a date.
XKind lineXKind(const std::vector<LineSeries>& lines) {
    for (const LineSeries& line : lines) {
        if (!line.data.indexX && line.data.hasFirstX) {
            return isDateTimeFormat(line.data.firstXFormat) ? XKind::Time : XKind::Value;
        }
    }
    return XKind::Value;
}

}  // namespace

ChartData readChartData(const Chart& chart) {
    ChartData d;
    d.columns = chart.chartType() == xl::ColumnClustered;
    int index = 0;
    for (const Series& s : chart.series()) {
        const bool secondary = s.axisGroup() == xl::Secondary;
        d.onSecondary = d.onSecondary || secondary;
        DataExtent& values = secondary ? d.secondary : d.primary;
        if (d.columns) {
            ColumnSeries c{&s, lookOf(s, index, true), readColumns(s, values), secondary};
            d.categories = std::max(d.categories, int(c.values.size()));
            if (!d.categorySource) {
                d.categorySource = &s;
            }
            d.bars.push_back(std::move(c));
        } else {
            LineSeries l{&s, lookOf(s, index, false), scanLine(s), secondary};
            values.add(l.data.y);
            d.x.add(l.data.x);
            d.lines.push_back(std::move(l));
        }
        const QString name = s.name();
        d.names.push_back(name.isEmpty() ? QStringLiteral("Ряд %1").arg(index + 1) : name);
        ++index;
    }
    d.xKind = d.columns ? XKind::Category : lineXKind(d.lines);
    return d;
}

QString ChartData::categoryText(int index, const DisplayLocale& locale) const {
    const Series* s = categorySource;
    if (!s || !s->sheet || index >= s->xValues.rowCount()) {
        return QString::number(index + 1);
    }
    const int row = s->xValues.first.row + index;
    const int column = s->xValues.first.column;
    const CellStore& cells = s->sheet->cellStore();
    const std::uint32_t meta = cells.meta(row, column);
    switch (CellStore::typeOf(meta)) {
        case CellType::Text:
            return s->sheet->workbook().texts().at(std::uint32_t(cells.value(row, column)));
        case CellType::Number:
            return formattedNumber(cells.value(row, column), formatCodeOf(*s->sheet, meta), locale);
        default:
            return QString();
    }
}

std::vector<QPointF> reducedPoints(const LineSeries& line, double originX, double columnsPerUnit) {
    std::vector<QPointF> reduced;
    PointReducer reducer(originX, columnsPerUnit, reduced);
    visitPoints(*line.series, line.data.indexX, [&](const QPointF& p) { reducer.add(p); });
    reducer.finish();
    return reduced;
}

}  // namespace qorv::automation::chartpaint
