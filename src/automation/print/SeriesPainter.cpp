#include "automation/print/SeriesPainter.h"

#include "automation/print/ChartAxes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>

namespace qorv::automation::chartpaint {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFar = 1e5;  // far outside the plot; keeps coordinates finite

// The reduced points of a line in the plot's coordinates; gaps stay NaN.
std::vector<QPointF> mappedPoints(const ChartAxes& axes, const LineSeries& line,
                                  double columnsPerUnit) {
    const ValueAxisState& axis = axes.valueAxis(line.secondary);
    const std::vector<QPointF> reduced =
        reducedPoints(line, axes.x().range.minimum, columnsPerUnit);
    std::vector<QPointF> mapped;
    mapped.reserve(reduced.size());
    for (const QPointF& point : reduced) {
        if (std::isnan(point.y())) {
            mapped.emplace_back(0, kNaN);
        } else {
            mapped.emplace_back(std::clamp(axes.xPos(point.x()), -kFar, kFar),
                                std::clamp(axes.yPos(axis, point.y()), -kFar, kFar));
        }
    }
    return mapped;
}

// One run of points without a gap.
void strokeRun(QPainter& painter, const QPointF* run, std::size_t n, bool smooth) {
    if (n < 2) {
        return;
    }
    if (smooth) {
        QPainterPath path(run[0]);
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const QPointF& p0 = run[i == 0 ? 0 : i - 1];
            const QPointF& p1 = run[i];
            const QPointF& p2 = run[i + 1];
            const QPointF& p3 = run[std::min(i + 2, n - 1)];
            path.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
        }
        painter.drawPath(path);
        return;
    }
    // In short pieces: a raster device strokes a long zigzag of dense data much slower than
    // the same segments in pieces. Round caps join them.
    constexpr std::size_t kPiece = 64;
    for (std::size_t from = 0; from + 1 < n; from += kPiece) {
        painter.drawPolyline(run + from, int(std::min(kPiece + 1, n - from)));
    }
}

void strokeLine(QPainter& painter, const QRectF& plot, const std::vector<QPointF>& mapped,
                const SeriesLook& look, bool smooth) {
    painter.save();
    painter.setClipRect(plot, Qt::IntersectClip);
    painter.setPen(linePen(look, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    std::size_t start = 0;
    while (start < mapped.size()) {
        std::size_t end = start;
        while (end < mapped.size() && !std::isnan(mapped[end].y())) {
            ++end;
        }
        strokeRun(painter, mapped.data() + start, end - start, smooth);
        start = end + 1;
    }
    painter.restore();
}

void drawMarker(QPainter& painter, const QPointF& c, int marker, double half) {
    switch (marker) {
        case 2: {
            const QPointF diamond[] = {{c.x(), c.y() - half},
                                       {c.x() + half, c.y()},
                                       {c.x(), c.y() + half},
                                       {c.x() - half, c.y()}};
            painter.drawPolygon(diamond, 4);
            break;
        }
        case 3: {
            const QPointF triangle[] = {
                {c.x(), c.y() - half}, {c.x() + half, c.y() + half}, {c.x() - half, c.y() + half}};
            painter.drawPolygon(triangle, 3);
            break;
        }
        case 8:
            painter.drawEllipse(c, half, half);
            break;
        default:
            painter.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
            break;
    }
}

// Markers on the plot's edge show whole, as in the spreadsheet; those outside a fixed scale
// do not show.
void drawMarkers(QPainter& painter, const QRectF& plot, const std::vector<QPointF>& mapped,
                 const SeriesLook& look) {
    const double half = look.markerSize / 2;
    const QRectF inside = plot.adjusted(-0.01, -0.01, 0.01, 0.01);
    QPen pen(look.markerEdge, 0.75);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(look.markerFill);
    // Markers on one spot hide each other: one per device pixel is enough.
    const double pixel = 1 / devicePixelsPerPoint(painter);
    QPointF last(kNaN, kNaN);
    for (const QPointF& c : mapped) {
        if (std::isnan(c.y()) || !inside.contains(c) ||
            (std::abs(c.x() - last.x()) < pixel && std::abs(c.y() - last.y()) < pixel)) {
            continue;
        }
        last = c;
        drawMarker(painter, c, look.marker, half);
    }
}

// The columns of one series after another: clusters of `slot`, columns of `width`.
class ColumnDrawing {
  public:
    ColumnDrawing(QPainter& painter, const ChartAxes& axes, int categories, int series)
        : p_(painter),
          axes_(axes),
          plot_(axes.plot()),
          // Gap width 150 %: between clusters one and a half column widths.
          slot_(plot_.width() / categories),
          width_(slot_ / (series + 1.5)),
          scale_(devicePixelsPerPoint(painter)),
          reversed_(axes.x().axis->reversePlotOrder) {}

    // The series at `position` in the cluster.
    void draw(const ColumnSeries& c, int position) {
        const ValueAxisState& axis = axes_.valueAxis(c.secondary);
        const double base = axes_.yPos(axis, axes_.crossingValue(axis));
        if (width_ * scale_ >= 1) {
            drawWide(c, position, axis, base);
        } else {
            drawPixelColumns(c, position, axis, base);
        }
    }

  private:
    void drawWide(const ColumnSeries& c, int j, const ValueAxisState& axis, double base) {
        const SeriesLook& look = c.look;
        QPen pen(look.line, look.lineWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p_.setPen(look.hasOutline ? pen : QPen(Qt::NoPen));
        p_.setBrush(look.hasFill ? QBrush(look.fill) : QBrush(Qt::NoBrush));
        for (int i = 0; i < int(c.values.size()); ++i) {
            const double v = c.values[std::size_t(i)];
            if (std::isnan(v)) {
                continue;
            }
            const double left = placed(plot_.left() + i * slot_ + width_ * (0.75 + j), width_);
            const double top = valueY(axis, v);
            p_.drawRect(QRectF(QPointF(left, std::min(top, base)),
                               QPointF(left + width_, std::max(top, base))));
        }
    }

    // Narrower than a device pixel: one bar per pixel column, spanning its values.
    void drawPixelColumns(const ColumnSeries& c, int j, const ValueAxisState& axis, double base) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(c.look.hasFill ? c.look.fill : c.look.line);
        const double pixel = 1 / scale_;
        double bucket = kNaN;
        double lo = 0;
        double hi = 0;
        auto flush = [&] {
            if (std::isnan(bucket)) {
                return;
            }
            const double left = placed(plot_.left() + bucket * pixel, pixel);
            const double top = valueY(axis, hi);
            const double bottom = valueY(axis, lo);
            p_.drawRect(QRectF(QPointF(left, std::min({top, bottom, base})),
                               QPointF(left + pixel, std::max({top, bottom, base}))));
            bucket = kNaN;
        };
        for (int i = 0; i < int(c.values.size()); ++i) {
            const double v = c.values[std::size_t(i)];
            if (std::isnan(v)) {
                continue;
            }
            const double b = std::floor((i * slot_ + width_ * (0.75 + j)) / pixel);
            if (b != bucket) {
                flush();
                bucket = b;
                lo = hi = v;
            } else {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
        flush();
    }

    // Left edge of a bar of `width` at `left`, mirrored when the x axis runs backwards.
    double placed(double left, double width) const {
        return reversed_ ? plot_.right() - (left - plot_.left()) - width : left;
    }
    double valueY(const ValueAxisState& axis, double value) const {
        return std::clamp(axes_.yPos(axis, value), -kFar, kFar);
    }

    QPainter& p_;
    const ChartAxes& axes_;
    const QRectF plot_;
    const double slot_;
    const double width_;
    const double scale_;
    const bool reversed_;
};

}  // namespace

void drawLines(QPainter& painter, const ChartAxes& axes, const ChartData& data) {
    const QRectF& plot = axes.plot();
    const double pixels = devicePixelsPerPoint(painter) * plot.width();
    const double columnsPerUnit = pixels / (axes.x().range.maximum - axes.x().range.minimum);
    for (const LineSeries& line : data.lines) {
        const std::vector<QPointF> mapped = mappedPoints(axes, line, columnsPerUnit);
        if (line.look.hasLine) {
            // Dense data look the same with straight segments; smooth curves only pay off
            // where the points are far apart.
            strokeLine(painter, plot, mapped, line.look, double(mapped.size()) < pixels / 3);
        }
        if (line.look.marker != xl::None) {
            drawMarkers(painter, plot, mapped, line.look);
        }
    }
}

void drawColumns(QPainter& painter, const ChartAxes& axes, const ChartData& data) {
    const int n = axes.x().categories;
    const int k = int(data.bars.size());
    if (n == 0 || k == 0) {
        return;
    }
    ColumnDrawing columns(painter, axes, n, k);
    painter.save();
    painter.setClipRect(axes.plot(), Qt::IntersectClip);
    for (int j = 0; j < k; ++j) {
        columns.draw(data.bars[std::size_t(j)], j);
    }
    painter.restore();
}

}  // namespace qorv::automation::chartpaint
