#pragma once

#include "automation/Chart.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QSizeF>

class QPaintDevice;
class QPainter;

// What the pieces of the chart painter share: sizes, colours, the label font and the look of a
// series.
namespace qorv::automation::chartpaint {

// Sizes in points.
inline constexpr double kPadding = 7;         // chart area edge to its contents
inline constexpr double kTickLength = 4;      // tick marks, outside the plot
inline constexpr double kLabelGap = 3;        // tick mark to label
inline constexpr double kThinLine = 0.75;     // border, axes, grid lines
inline constexpr double kMinMarkSpacing = 3;  // closer ticks or grid lines are thinned

inline const QColor kTextColor(0x00, 0x00, 0x00);

// Arial (or what stands in for it) of `points` points on a painter that measures points.
QFont chartFont(QPaintDevice* device, double points, bool bold);

// The font of axis labels and legend texts, and its measures.
class LabelText {
  public:
    explicit LabelText(QPaintDevice* device);

    const QFont& font() const { return font_; }
    const QFontMetricsF& metrics() const { return metrics_; }
    // Size of a text of one or more lines.
    QSizeF size(const QString& text) const;
    // Lines of `text` centred on centreX, the first line's top at `top`.
    void drawCentred(QPainter& painter, const QString& text, double centreX, double top) const;

  private:
    QFont font_;
    QFontMetricsF metrics_;
};

// Device pixels to a point of the painter; for a PDF those of a 300 dpi print.
double devicePixelsPerPoint(const QPainter& painter);

// How a series looks.
struct SeriesLook {
    bool hasLine = true;
    QColor line;
    double lineWidth = 0.75;
    int lineStyle = xl::Continuous;  // Continuous, Dash or DashDot
    int marker = xl::None;           // 1 square, 2 diamond, 3 triangle, 8 circle
    double markerSize = 5;
    QColor markerFill;
    QColor markerEdge;
    bool hasFill = true;
    QColor fill;
    bool hasOutline = false;
};

// The look of the series at `index`, what it leaves automatic taken from the position.
SeriesLook lookOf(const Series& s, int index, bool columns);

// The pen of a series line.
QPen linePen(const SeriesLook& look, Qt::PenCapStyle cap);

}  // namespace qorv::automation::chartpaint
