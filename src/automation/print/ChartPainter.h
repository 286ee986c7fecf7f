#pragma once

#include "automation/print/DisplayLocale.h"

#include <QRectF>

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

}  // namespace qorv::automation
