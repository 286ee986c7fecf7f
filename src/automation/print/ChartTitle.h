#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>

class QPaintDevice;
class QPainter;

namespace qorv::automation {
class Chart;
}

namespace qorv::automation::chartpaint {

// The chart's title, bold and centred at the top; shortened to the chart's width.
class ChartTitle {
  public:
    ChartTitle(const Chart& chart, QPaintDevice* device);

    // Takes the title's room from the top of `box`.
    void place(QRectF& box);
    void draw(QPainter& painter) const;

  private:
    QString text_;
    QFont font_;
    QFontMetricsF metrics_;
    QRectF rect_;
};

}  // namespace qorv::automation::chartpaint
