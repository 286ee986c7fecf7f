#pragma once

#include "automation/print/AxisScale.h"
#include "automation/print/ChartStyle.h"

#include <QPointF>
#include <QString>
#include <vector>

namespace qorv::automation::chartpaint {

// What a line series' cells hold: the extent of its values and how its x values read.
struct LineData {
    DataExtent x;
    DataExtent y;
    bool indexX = false;   // x cells held text: points are numbered 1, 2, 3 ...
    QString firstXFormat;  // number format of the first numeric x cell
    bool hasFirstX = false;
};

struct LineSeries {
    const Series* series = nullptr;
    SeriesLook look;
    LineData data;
    bool secondary = false;
};

struct ColumnSeries {
    const Series* series = nullptr;
    SeriesLook look;
    std::vector<double> values;  // by category, NaN where a category has none
    bool secondary = false;
};

// How the x axis counts: serial days, plain numbers or categories (columns).
enum class XKind { Time, Value, Category };

// The series of a chart as read from their cells: clustered columns or lines, never both.
struct ChartData {
    bool columns = false;
    std::vector<LineSeries> lines;
    std::vector<ColumnSeries> bars;
    std::vector<QString> names;  // legend texts, in series order
    DataExtent primary;          // values on the primary value axis
    DataExtent secondary;
    bool onSecondary = false;  // a series uses the secondary value axis
    DataExtent x;              // x values of the lines
    XKind xKind = XKind::Time;
    int categories = 0;                      // the longest column series
    const Series* categorySource = nullptr;  // the first column series names the categories

    // The look of the series at `index` in series order.
    const SeriesLook& look(std::size_t index) const {
        return columns ? bars[index].look : lines[index].look;
    }
    // A category's label: its x cell as the cell shows it, else its number.
    QString categoryText(int index, const DisplayLocale& locale) const;
};

ChartData readChartData(const Chart& chart);

// The points of a line in row order, reduced to what pixel columns of `columnsPerUnit` per
// x unit from `originX` show; NaN y marks a gap.
std::vector<QPointF> reducedPoints(const LineSeries& line, double originX, double columnsPerUnit);

}  // namespace qorv::automation::chartpaint
