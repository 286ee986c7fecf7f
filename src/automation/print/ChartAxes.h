#pragma once

#include "automation/print/AxisScale.h"
#include "automation/print/ChartData.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace qorv::automation::chartpaint {

class LabelText;

struct Label {
    double position = 0;  // along the axis, in points
    QString text;
    QSizeF size;
};

struct ValueAxisState {
    bool present = false;
    const Axis* axis = nullptr;
    DataExtent data;
    AxisRange range;
    int labelStride = 1;
    int markStride = 1;
    std::vector<Label> labels;
    double labelWidth = 0;
};

struct XAxisState {
    XKind kind = XKind::Time;
    const Axis* axis = nullptr;
    DataExtent data;
    AxisRange range;
    TimeLabelForm form = TimeLabelForm::DateTime;
    int categories = 0;
    int labelStride = 1;
    int markStride = 1;
    std::vector<Label> labels;
    double labelHeight = 0;
};

// The axes of a chart: the plot rectangle, the scales fitted to it with their labels, and
// where a value lies in the plot. A value axis at the left, a secondary one at the right, and
// the x (category or time) axis below.
class ChartAxes {
  public:
    ChartAxes(const Chart& chart, const ChartData& data, const LabelText& text,
              const DisplayLocale& locale);

    // The plot rectangle: what `box` leaves after the axis labels. Label sizes depend on the
    // scales and the scales on the plot's size, so this settles in a few rounds.
    void layOut(const QRectF& box);

    const QRectF& plot() const { return plot_; }
    const XAxisState& x() const { return x_; }
    const ValueAxisState& primary() const { return y1_; }
    const ValueAxisState& secondary() const { return y2_; }
    const ValueAxisState& valueAxis(bool secondary) const { return secondary ? y2_ : y1_; }

    double xPos(double value) const;
    double yPos(const ValueAxisState& a, double value) const;
    // Left edge of a category; fractions reach into it.
    double categoryLeft(double index) const;
    // Where a value axis meets the category axis, as a value of that axis.
    double crossingValue(const ValueAxisState& a) const;
    // Where the tick marks and grid lines of the x axis lie.
    std::vector<double> xMarks() const;
    // Where ticks of `stride` of a value range lie.
    std::vector<double> yMarks(const ValueAxisState& a, const AxisRange& range,
                               int stride = 1) const;

  private:
    void scale(const QRectF& plot);
    QRectF plotLeavingRoom(const QRectF& box, const QRectF& plot) const;
    void scaleValueAxis(ValueAxisState& a, double length);
    void scaleXAxis(double length);
    void scaleCategories(double length, double gap);
    void fitTimeRange(double length, double gap);
    void labelXTicks(double length, double gap);
    QString xTickText(double value, int decimals) const;
    Label label(double position, QString text) const;
    void addXLabel(double position, QString text);

    const ChartData& data_;
    const LabelText& text_;
    const DisplayLocale& locale_;
    ValueAxisState y1_;
    ValueAxisState y2_;
    XAxisState x_;
    QRectF plot_;
};

}  // namespace qorv::automation::chartpaint
