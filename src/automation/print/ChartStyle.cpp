#include "automation/print/ChartStyle.h"

#include "automation/print/SheetPainter.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qorv::automation::chartpaint {

namespace {

constexpr double kLabelPoints = 10;  // axis labels and legend texts
// Resolution at which series are reduced for a PDF.
constexpr double kPdfPixelsPerInch = 300;

QColor packedColor(std::uint32_t packed) {
    return QColor(int(packed & 0xFF), int((packed >> 8) & 0xFF), int((packed >> 16) & 0xFF));
}

// Colours of series that set none, by series position.
QColor paletteColor(int index) {
    static const QRgb colors[] = {0x4472C4, 0xED7D31, 0xA5A5A5, 0xFFC000, 0x5B9BD5, 0x70AD47};
    return QColor(colors[index % 6]);
}

}  // namespace

QFont chartFont(QPaintDevice* device, double points, bool bold) {
    QFont font(PrintFamily(QStringLiteral("Arial")));
    font.setStyleHint(QFont::SansSerif);
    // Point sizes go through the device's resolution; the painter already measures points.
    const int dpi = device ? device->logicalDpiY() : 72;
    font.setPointSizeF(points * 72.0 / (dpi > 0 ? dpi : 72));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

LabelText::LabelText(QPaintDevice* device)
    : font_(chartFont(device, kLabelPoints, false)), metrics_(font_, device) {}

QSizeF LabelText::size(const QString& text) const {
    double width = 0;
    int lines = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        width = std::max(width, metrics_.horizontalAdvance(line.toString()));
        ++lines;
    }
    return QSizeF(width, metrics_.height() + (lines - 1) * metrics_.lineSpacing());
}

void LabelText::drawCentred(QPainter& painter, const QString& text, double centreX,
                            double top) const {
    double baseline = top + metrics_.ascent();
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QString s = line.toString();
        painter.drawText(QPointF(centreX - metrics_.horizontalAdvance(s) / 2, baseline), s);
        baseline += metrics_.lineSpacing();
    }
}

double devicePixelsPerPoint(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    double scale = std::sqrt(t.m11() * t.m11() + t.m12() * t.m12());
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && engine->type() == QPaintEngine::Pdf && painter.device()) {
        // A PDF has no pixels of its own: detail as a 300 dpi print shows it, whatever
        // resolution the writer counts in.
        const double dpi = painter.device()->logicalDpiX();
        if (dpi > 0) {
            scale *= kPdfPixelsPerInch / dpi;
        }
    }
    return scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

SeriesLook lookOf(const Series& s, int index, bool columns) {
    SeriesLook look;
    const QColor automatic = paletteColor(index);
    look.line = s.lineColor ? packedColor(*s.lineColor) : automatic;
    look.lineWidth = SeriesLineWidth(s.lineWeight.value_or(xl::Thin));
    look.hasLine = !s.lineNone;
    look.lineStyle = s.lineStyle;
    int marker = s.markerStyle();
    if (marker == xl::Automatic) {
        static const int automaticMarkers[] = {2, 1, 3, 8};
        marker = automaticMarkers[index % 4];
    }
    look.marker = marker;
    look.markerSize = s.markerSize();
    look.markerFill = s.markerBackground ? packedColor(*s.markerBackground) : look.line;
    look.markerEdge = s.markerForeground ? packedColor(*s.markerForeground) : look.line;
    if (columns) {
        look.hasFill = s.fillPattern.value_or(xl::Solid) != xl::None;
        look.fill = s.fillColor ? packedColor(*s.fillColor) : automatic;
        look.hasOutline = !s.lineNone && (s.lineColor || s.lineWeight);
    }
    return look;
}

// A dashed line has the spreadsheet's "dash": dashes four line widths long with gaps of three;
// its "dash dot" puts a dot of one width into every gap.
QPen linePen(const SeriesLook& look, Qt::PenCapStyle cap) {
    QPen pen(look.line, look.lineWidth, Qt::SolidLine, cap, Qt::RoundJoin);
    if (look.lineStyle == xl::Dash) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({4, 3});
    } else if (look.lineStyle == xl::DashDot) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({4, 3, 1, 3});
    }
    return pen;
}

}  // namespace qorv::automation::chartpaint
