#include "automation/print/ChartTitle.h"

#include "automation/print/ChartStyle.h"

#include <QPainter>

namespace qorv::automation::chartpaint {

namespace {

constexpr double kTitlePoints = 14;  // automatic title

}  // namespace

ChartTitle::ChartTitle(const Chart& chart, QPaintDevice* device)
    : text_(chart.titleText()),
      font_(chartFont(device, kTitlePoints, true)),
      metrics_(font_, device) {}

void ChartTitle::place(QRectF& box) {
    if (text_.isEmpty()) {
        return;
    }
    text_ = metrics_.elidedText(text_, Qt::ElideRight, box.width());
    rect_ = QRectF(box.left(), box.top(), box.width(), metrics_.height());
    box.setTop(rect_.bottom() + kPadding * 0.7);
}

void ChartTitle::draw(QPainter& painter) const {
    if (text_.isEmpty()) {
        return;
    }
    painter.setFont(font_);
    painter.setPen(kTextColor);
    const double width = metrics_.horizontalAdvance(text_);
    painter.drawText(QPointF(rect_.center().x() - width / 2, rect_.top() + metrics_.ascent()),
                     text_);
}

}  // namespace qorv::automation::chartpaint
