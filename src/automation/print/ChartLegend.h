#pragma once

#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace qorv::automation {
class Chart;
}

namespace qorv::automation::chartpaint {

class LabelText;
struct ChartData;
struct SeriesLook;

// The legend at the right of the chart: per series its symbol (a piece of line with its
// marker, or a small square) and its name, vertically centred on the chart.
class ChartLegend {
  public:
    // `data` must outlive the legend.
    ChartLegend(const Chart& chart, const ChartData& data);

    // Takes the legend's room from the right of `box`. Names longer than about half of the
    // chart `area` are shortened.
    void place(QRectF& box, const QRectF& area, const LabelText& text);
    void draw(QPainter& painter, const LabelText& text) const;

  private:
    struct Entry {
        QString text;
        const SeriesLook* look = nullptr;
    };

    void drawSymbol(QPainter& painter, const SeriesLook& look, const QPointF& centre) const;

    bool shown_;
    bool columns_;
    std::vector<Entry> entries_;
    QRectF rect_;
    double row_ = 0;
    double symbolWidth_ = 0;
};

}  // namespace qorv::automation::chartpaint
