#include "automation/print/ChartLegend.h"

#include "automation/print/ChartData.h"

#include <QPainter>
#include <algorithm>

namespace qorv::automation::chartpaint {

namespace {

// Sizes in points.
constexpr double kLegendGap = 10;    // axis labels to legend
constexpr double kLegendLine = 22;   // symbol of a line series
constexpr double kLegendSquare = 7;  // symbol of a column series
constexpr double kTextGap = 4;       // symbol to text

}  // namespace

ChartLegend::ChartLegend(const Chart& chart, const ChartData& data)
    : shown_(chart.hasLegend()), columns_(data.columns) {
    for (std::size_t i = 0; i < data.names.size(); ++i) {
        entries_.push_back({data.names[i], &data.look(i)});
    }
}

void ChartLegend::place(QRectF& box, const QRectF& area, const LabelText& text) {
    if (!shown_ || entries_.empty()) {
        return;
    }
    const QFontMetricsF& fm = text.metrics();
    double widest = 0;
    double symbol = 0;
    double markerHeight = 0;
    for (const Entry& e : entries_) {
        widest = std::max(widest, fm.horizontalAdvance(e.text));
        symbol = std::max(symbol, columns_ ? kLegendSquare : kLegendLine);
        if (!columns_ && e.look->marker != xl::None) {
            markerHeight = std::max(markerHeight, e.look->markerSize);
        }
    }
    const double maxText = std::max(20.0, area.width() * 0.45 - symbol - kTextGap);
    if (widest > maxText) {
        for (Entry& e : entries_) {
            e.text = fm.elidedText(e.text, Qt::ElideRight, maxText);
        }
        widest = maxText;
    }
    row_ = std::max(fm.lineSpacing(), markerHeight + 2);
    symbolWidth_ = symbol;
    const double width = symbol + kTextGap + widest;
    const double height = row_ * double(entries_.size());
    rect_ = QRectF(box.right() - width, area.center().y() - height / 2, width, height);
    box.setRight(rect_.left() - kLegendGap);
}

void ChartLegend::draw(QPainter& painter, const LabelText& text) const {
    if (rect_.isEmpty()) {
        return;
    }
    const QFontMetricsF& fm = text.metrics();
    double top = rect_.top();
    const double textLeft = rect_.left() + symbolWidth_ + kTextGap;
    painter.setFont(text.font());
    for (const Entry& e : entries_) {
        const double centreY = top + row_ / 2;
        drawSymbol(painter, *e.look, QPointF(rect_.left() + symbolWidth_ / 2, centreY));
        painter.setPen(kTextColor);
        painter.drawText(QPointF(textLeft, centreY - fm.height() / 2 + fm.ascent()), e.text);
        top += row_;
    }
}

void ChartLegend::drawSymbol(QPainter& painter, const SeriesLook& look,
                             const QPointF& centre) const {
    auto square = [&](double half) {
        painter.drawRect(QRectF(centre.x() - half, centre.y() - half, 2 * half, 2 * half));
    };
    if (columns_) {
        QPen pen(look.line, std::min(look.lineWidth, 1.0));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(look.hasOutline ? pen : QPen(Qt::NoPen));
        painter.setBrush(look.hasFill ? QBrush(look.fill) : QBrush(Qt::NoBrush));
        square(kLegendSquare / 2);
        return;
    }
    if (look.hasLine) {
        painter.setPen(linePen(look, Qt::FlatCap));
        painter.drawLine(QPointF(centre.x() - kLegendLine / 2, centre.y()),
                         QPointF(centre.x() + kLegendLine / 2, centre.y()));
    }
    if (look.marker != xl::None) {
        const double half = look.markerSize / 2;
        painter.setPen(QPen(look.markerEdge, 0.75));
        painter.setBrush(look.markerFill);
        if (look.marker == 8) {
            painter.drawEllipse(centre, half, half);
        } else {
            square(half);
        }
    }
}

}  // namespace qorv::automation::chartpaint
