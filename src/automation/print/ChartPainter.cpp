#include "automation/print/ChartPainter.h"

#include "automation/print/AxisPainter.h"
#include "automation/print/ChartAxes.h"
#include "automation/print/ChartData.h"
#include "automation/print/ChartLegend.h"
#include "automation/print/ChartTitle.h"
#include "automation/print/SeriesPainter.h"

#include <QPainter>

namespace qorv::automation {

namespace {

const QColor kBorderColor(0x9A, 0x9A, 0x9A);

// Chart area: white, a thin border inside the rectangle.
void drawChartArea(QPainter& painter, const QRectF& area) {
    const double half = chartpaint::kThinLine / 2;
    painter.setPen(QPen(kBorderColor, chartpaint::kThinLine));
    painter.setBrush(Qt::white);
    painter.drawRect(area.adjusted(half, half, -half, -half));
}

}  // namespace

ChartPainter::ChartPainter(const Chart& chart, const DisplayLocale& locale)
    : chart_(chart), locale_(locale) {}

// Reads the data, lays the chart out in the rectangle and draws it: the title and the legend
// take their room first, the axes' labels decide what is left for the plot.
void ChartPainter::paint(QPainter& painter, const QRectF& rect) const {
    using namespace chartpaint;
    if (!painter.isActive() || !(rect.width() > 0 && rect.height() > 0)) {
        return;
    }
    const ChartData data = readChartData(chart_);
    const LabelText text(painter.device());
    ChartTitle title(chart_, painter.device());
    ChartLegend legend(chart_, data);
    ChartAxes axes(chart_, data, text, locale_);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawChartArea(painter, rect);
    QRectF box = rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    title.place(box);
    legend.place(box, rect, text);
    axes.layOut(box);

    drawGrid(painter, axes);
    if (data.columns) {
        drawColumns(painter, axes, data);
    } else {
        drawLines(painter, axes, data);
    }
    drawAxes(painter, axes, text);
    legend.draw(painter, text);
    title.draw(painter);
    painter.restore();
}

}  // namespace qorv::automation
