#pragma once

#include "automation/print/DisplayLocale.h"

#include <QPointF>
#include <QRectF>
#include <span>
#include <vector>

class QPainter;

namespace qorv::automation {

class Chart;

// Draws a chart object the way a spreadsheet program shows the saved chart: white chart area
// with a thin border, plot area with grid lines, axes with tick marks and labels (a secondary
// value axis at the right), the series as smoothed lines or clustered columns, the legend at
// the right and the title at the top.
//
// `rect` is in the painter's current coordinates, which must measure points (1/72 inch): the
// caller scales the painter accordingly. Works on any paint device, also on a QPdfWriter
// (text stays text). Series are reduced to what the device can resolve first, so a million
// points cost a few thousand segments.
//
//   ChartPainter painter(shape.chart(), {u',', u'.'});   // a comma system's separators
//   painter.paint(pdfPainter, QRectF(left, top, shape.width(), shape.height()));
class ChartPainter {
  public:
    explicit ChartPainter(const Chart& chart, const DisplayLocale& locale = {});

    void paint(QPainter& painter, const QRectF& rect) const;

  private:
    const Chart& chart_;
    DisplayLocale locale_;
};

// Point reduction for line drawing. Points with a NaN y are gaps. Of each run of consecutive
// points whose x falls into one pixel column (column = floor((x - originX) * columnsPerUnit))
// it keeps the first, the lowest, the highest and the last, in their order; gaps stay (one
// for several in a row). A polyline through the result covers the same pixels as one through
// all points.
std::vector<QPointF> reducePoints(std::span<const QPointF> points, double originX,
                                  double columnsPerUnit);

// The same, point by point into `out`, for data read straight from the cells.
class PointReducer {
  public:
    PointReducer(double originX, double columnsPerUnit, std::vector<QPointF>& out);
    void add(const QPointF& point);
    // Writes out the run in progress; call after the last point.
    void finish();

  private:
    struct Kept {
        QPointF point;
        long long order = 0;  // position in the run
    };
    double originX_;
    double columnsPerUnit_;  // 0: every point is kept
    std::vector<QPointF>& out_;
    double column_ = 0;
    long long count_ = 0;  // points in the run
    Kept first_, low_, high_, last_;
};

}  // namespace qorv::automation
