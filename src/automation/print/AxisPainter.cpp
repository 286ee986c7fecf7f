#include "automation/print/AxisPainter.h"

#include "automation/print/ChartAxes.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace qorv::automation::chartpaint {

namespace {

const QColor kAxisColor(0x86, 0x86, 0x86);
const QColor kGridColor(0xD0, 0xD0, 0xD0);
const QColor kMinorGridColor(0xEC, 0xEC, 0xEC);

QPen thinPen(const QColor& color) {
    QPen pen(color, kThinLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void drawAcross(QPainter& painter, const QRectF& plot, const std::vector<double>& ys) {
    for (double y : ys) {
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
}

void drawMinorGrid(QPainter& painter, const ChartAxes& axes, const ValueAxisState& a) {
    AxisRange minor = a.range;
    minor.majorUnit = a.axis->minorUnit.value_or(a.range.majorUnit / 5);
    const double spacing = minor.majorUnit / (minor.maximum - minor.minimum) * axes.plot().height();
    if (spacing >= kMinMarkSpacing) {
        painter.setPen(thinPen(kMinorGridColor));
        drawAcross(painter, axes.plot(), axes.yMarks(a, minor));
    }
}

// Where the primary value axis crosses the x axis; the secondary one stands at the right.
double primaryAxisX(const ChartAxes& axes) {
    const XAxisState& x = axes.x();
    const int crosses = x.axis->crosses;
    if (crosses == xl::Maximum) {
        return axes.plot().right();
    }
    if (x.kind == XKind::Value && crosses != xl::Minimum) {
        return axes.xPos(std::clamp(0.0, x.range.minimum, x.range.maximum));
    }
    return x.axis->reversePlotOrder ? axes.plot().right() : axes.plot().left();
}

void drawAxisLines(QPainter& painter, const ChartAxes& axes) {
    const QRectF& plot = axes.plot();
    painter.setPen(thinPen(kAxisColor));
    // The x axis line where it crosses the primary value axis.
    const ValueAxisState& y1 = axes.primary();
    const double xAxisY = axes.yPos(y1, axes.crossingValue(y1));
    painter.drawLine(QPointF(plot.left(), xAxisY), QPointF(plot.right(), xAxisY));
    for (double x : axes.xMarks()) {
        painter.drawLine(QPointF(x, xAxisY), QPointF(x, xAxisY + kTickLength));
    }
    struct Side {
        const ValueAxisState* axis;
        double x;
        double direction;
    };
    for (const Side& side :
         {Side{&y1, primaryAxisX(axes), -1.0}, Side{&axes.secondary(), plot.right(), 1.0}}) {
        const ValueAxisState& a = *side.axis;
        if (!a.present) {
            continue;
        }
        painter.drawLine(QPointF(side.x, plot.top()), QPointF(side.x, plot.bottom()));
        for (double y : axes.yMarks(a, a.range, a.markStride)) {
            painter.drawLine(QPointF(side.x, y), QPointF(side.x + side.direction * kTickLength, y));
        }
    }
}

void drawAxisLabels(QPainter& painter, const ChartAxes& axes, const LabelText& text) {
    const QRectF& plot = axes.plot();
    painter.setPen(kTextColor);
    painter.setFont(text.font());
    const double room = kTickLength + kLabelGap;
    for (const Label& l : axes.primary().labels) {
        const double right = plot.left() - room;
        text.drawCentred(painter, l.text, right - l.size.width() / 2,
                         l.position - l.size.height() / 2);
    }
    if (axes.secondary().present) {
        for (const Label& l : axes.secondary().labels) {
            const double left = plot.right() + room;
            text.drawCentred(painter, l.text, left + l.size.width() / 2,
                             l.position - l.size.height() / 2);
        }
    }
    for (const Label& l : axes.x().labels) {
        text.drawCentred(painter, l.text, l.position, plot.bottom() + room);
    }
}

}  // namespace

void drawGrid(QPainter& painter, const ChartAxes& axes) {
    const QRectF& plot = axes.plot();
    painter.save();
    painter.setClipRect(plot, Qt::IntersectClip);
    const ValueAxisState* valueAxes[] = {&axes.primary(), &axes.secondary()};
    for (const ValueAxisState* a : valueAxes) {
        if (a->present && a->axis->minorGridlines) {
            drawMinorGrid(painter, axes, *a);
        }
    }
    painter.setPen(thinPen(kGridColor));
    for (const ValueAxisState* a : valueAxes) {
        if (a->present && a->axis->majorGridlines) {
            drawAcross(painter, plot, axes.yMarks(*a, a->range, a->markStride));
        }
    }
    if (axes.x().axis->majorGridlines) {
        for (double x : axes.xMarks()) {
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }
    painter.restore();
}

void drawAxes(QPainter& painter, const ChartAxes& axes, const LabelText& text) {
    drawAxisLines(painter, axes);
    drawAxisLabels(painter, axes, text);
}

}  // namespace qorv::automation::chartpaint
