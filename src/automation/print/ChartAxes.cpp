#include "automation/print/ChartAxes.h"

#include <algorithm>
#include <cmath>

namespace qorv::automation::chartpaint {

namespace {

double displayUnitDivisor(int unit) {
    static const double divisors[] = {1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e12};
    return unit <= -2 && unit >= -10 ? divisors[-unit - 2] : 1.0;
}

// A plot squeezed below 10 points keeps that much.
QRectF atLeastTenPoints(QRectF plot) {
    if (plot.width() < 10 || plot.height() < 10) {
        plot.setSize(QSizeF(std::max(plot.width(), 10.0), std::max(plot.height(), 10.0)));
    }
    return plot;
}

// Share of an axis' length at which `fraction` of its range lies, reversed or not.
double alongAxis(double fraction, const Axis& axis) {
    return axis.reversePlotOrder ? 1 - fraction : fraction;
}

// Distance of two ticks of a range spread over `length`.
double tickSpacing(const AxisRange& r, double length) {
    return r.majorUnit / (r.maximum - r.minimum) * length;
}

}  // namespace

ChartAxes::ChartAxes(const Chart& chart, const ChartData& data, const LabelText& text,
                     const DisplayLocale& locale)
    : data_(data), text_(text), locale_(locale) {
    y1_.present = true;  // the primary value axis shows even without a series on it
    y1_.axis = &chart.axis(xl::Value, xl::Primary);
    y1_.data = data.primary;
    y2_.present = data.onSecondary && chart.hasSecondaryAxes();
    y2_.axis = &chart.axis(xl::Value, xl::Secondary);
    y2_.data = data.secondary;
    x_.kind = data.xKind;
    x_.axis = &chart.axis(xl::Category, xl::Primary);
    x_.data = data.x;
    x_.categories = data.categories;
}

void ChartAxes::layOut(const QRectF& box) {
    const double labelRoom = kTickLength + kLabelGap;
    const QFontMetricsF& fm = text_.metrics();
    QRectF plot = box.adjusted(40, fm.height() / 2, y2_.present ? -40 : -10,
                               -(labelRoom + 2 * fm.lineSpacing()));
    for (int round = 0; round < 4; ++round) {
        plot = atLeastTenPoints(plot);
        scale(plot);
        plot = plotLeavingRoom(box, plot);
    }
    scale(atLeastTenPoints(plot));
}

// What `box` leaves for the plot after the labels of the axes scaled to `plot`.
QRectF ChartAxes::plotLeavingRoom(const QRectF& box, const QRectF& plot) const {
    const double labelRoom = kTickLength + kLabelGap;
    double left = y1_.labels.empty() ? kTickLength : y1_.labelWidth + labelRoom;
    double right = y2_.present ? y2_.labelWidth + labelRoom : text_.metrics().height() * 0.5;
    double top = 2;
    const double bottom = labelRoom + x_.labelHeight;
    // Labels that reach beyond the plot's ends need room there too.
    for (const Label& l : x_.labels) {
        left = std::max(left, l.size.width() / 2 - (l.position - plot.left()));
        right = std::max(right, l.size.width() / 2 - (plot.right() - l.position));
    }
    for (const ValueAxisState* a : {&y1_, &y2_}) {
        for (const Label& l : a->labels) {
            top = std::max(top, l.size.height() / 2 - (l.position - plot.top()));
        }
    }
    return box.adjusted(left, top, -right, -bottom);
}

void ChartAxes::scale(const QRectF& plot) {
    plot_ = plot;
    scaleXAxis(plot.width());
    scaleValueAxis(y1_, plot.height());
    scaleValueAxis(y2_, plot.height());
}

Label ChartAxes::label(double position, QString text) const {
    Label l;
    l.position = position;
    l.text = std::move(text);
    l.size = text_.size(l.text);
    return l;
}

void ChartAxes::addXLabel(double position, QString text) {
    Label l = label(position, std::move(text));
    x_.labelHeight = std::max(x_.labelHeight, l.size.height());
    x_.labels.push_back(std::move(l));
}

void ChartAxes::scaleValueAxis(ValueAxisState& a, double length) {
    if (!a.present) {
        return;
    }
    const double spacing = text_.metrics().height() * 2.2;
    const int maxDivisions = std::clamp(int(length / spacing), 2, 10);
    a.range = valueAxisRange(a.data, *a.axis, maxDivisions, data_.columns);
    const AxisRange& r = a.range;
    const double ticks = tickSpacing(r, length);
    a.labelStride = labelStride(ticks, text_.metrics().height() * 1.1);
    a.markStride = ticks < kMinMarkSpacing ? a.labelStride : 1;
    const double divisor = displayUnitDivisor(a.axis->displayUnit);
    const int decimals = decimalsFor(
        {r.minimum, r.maximum, r.majorUnit * a.labelStride / divisor, r.origin / divisor});
    a.labels.clear();
    a.labelWidth = 0;
    for (double v : tickValues(r, a.labelStride)) {
        Label l = label(yPos(a, v), valueLabel(v / divisor, decimals, locale_.decimalSeparator));
        a.labelWidth = std::max(a.labelWidth, l.size.width());
        a.labels.push_back(std::move(l));
    }
}

void ChartAxes::scaleXAxis(double length) {
    x_.labels.clear();
    x_.labelHeight = 0;
    const double gap = text_.metrics().height() * 0.5;
    if (x_.kind == XKind::Category) {
        scaleCategories(length, gap);
        return;
    }
    if (x_.kind == XKind::Time) {
        fitTimeRange(length, gap);
    } else {
        const double typical = text_.metrics().horizontalAdvance(QStringLiteral("-0000.0"));
        const int maxDivisions = std::clamp(int(length / (typical + gap)), 2, 10);
        x_.range = valueAxisRange(x_.data, *x_.axis, maxDivisions);
    }
    labelXTicks(length, gap);
}

void ChartAxes::scaleCategories(double length, double gap) {
    const int n = x_.categories;
    if (n == 0) {
        return;
    }
    // Label widths from a sample spread over the categories; they share one format.
    double widest = 0;
    const int samples = std::min(n, 200);
    for (int i = 0; i < samples; ++i) {
        const QString text = data_.categoryText(int((long long)i * n / samples), locale_);
        widest = std::max(widest, text_.size(text).width());
    }
    const double slot = length / n;
    x_.labelStride = labelStride(slot, widest + gap);
    x_.markStride = slot < kMinMarkSpacing ? x_.labelStride : 1;
    for (int i = 0; i < n; i += x_.labelStride) {
        addXLabel(categoryLeft(i + 0.5), data_.categoryText(i, locale_));
    }
}

void ChartAxes::fitTimeRange(double length, double gap) {
    const QFontMetricsF& fm = text_.metrics();
    const double typical = std::max(fm.horizontalAdvance(QStringLiteral("00.00.00")),
                                    fm.horizontalAdvance(QStringLiteral("00:00:00")));
    // n labels need n - 1 spacings of a label and a gap; fewer when the data's span does
    // not fall on round steps and the ticks come closer than that.
    int maxLabels = std::clamp(int(length / (typical + gap)) + 1, 2, 8);
    TimeAxisRange t = timeAxisRange(x_.data, *x_.axis, maxLabels);
    while (maxLabels > 2 && !x_.axis->majorUnit && tickSpacing(t.range, length) < typical + gap) {
        t = timeAxisRange(x_.data, *x_.axis, --maxLabels);
    }
    x_.range = t.range;
    x_.form = t.form;
}

QString ChartAxes::xTickText(double value, int decimals) const {
    return x_.kind == XKind::Time ? timeLabel(value, x_.form, locale_.dateSeparator)
                                  : valueLabel(value, decimals, locale_.decimalSeparator);
}

// Labels of a time or value x axis, thinned to leave room between them.
void ChartAxes::labelXTicks(double length, double gap) {
    const AxisRange& r = x_.range;
    const double ticks = tickSpacing(r, length);
    // Thinning needs the widest label; time labels of one form are alike, so a few suffice.
    double widest = 0;
    const int decimals = decimalsFor(r);
    for (double v : tickValues(r, 1, 50)) {
        widest = std::max(widest, text_.size(xTickText(v, decimals)).width());
    }
    x_.labelStride = x_.kind == XKind::Time ? timeLabelStride(r.majorUnit, ticks, widest + gap)
                                            : labelStride(ticks, widest + gap);
    x_.markStride = ticks < kMinMarkSpacing ? x_.labelStride : 1;
    const int labelDecimals =
        decimalsFor({r.minimum, r.maximum, r.majorUnit * x_.labelStride, r.origin});
    for (double v : tickValues(r, x_.labelStride)) {
        addXLabel(xPos(v), xTickText(v, labelDecimals));
    }
}

double ChartAxes::xPos(double value) const {
    const AxisRange& r = x_.range;
    const double f = alongAxis((value - r.minimum) / (r.maximum - r.minimum), *x_.axis);
    return plot_.left() + std::clamp(f, -1e4, 1e4) * plot_.width();
}

double ChartAxes::yPos(const ValueAxisState& a, double value) const {
    const AxisRange& r = a.range;
    const double f = alongAxis((value - r.minimum) / (r.maximum - r.minimum), *a.axis);
    return plot_.bottom() - std::clamp(f, -1e4, 1e4) * plot_.height();
}

double ChartAxes::categoryLeft(double index) const {
    const double n = std::max(1, x_.categories);
    return plot_.left() + alongAxis(index / n, *x_.axis) * plot_.width();
}

// At 0 when the scale holds it, else at the end nearer to 0, or at the end the axis asks for.
double ChartAxes::crossingValue(const ValueAxisState& a) const {
    const AxisRange& r = a.range;
    switch (a.axis->crosses) {
        case xl::Minimum:
            return r.minimum;
        case xl::Maximum:
            return r.maximum;
        default:
            return std::clamp(0.0, r.minimum, r.maximum);
    }
}

std::vector<double> ChartAxes::xMarks() const {
    std::vector<double> marks;
    if (x_.kind == XKind::Category) {
        for (int i = 0; i <= x_.categories; i += x_.markStride) {
            marks.push_back(categoryLeft(i));
        }
    } else {
        for (double v : tickValues(x_.range, x_.markStride)) {
            marks.push_back(xPos(v));
        }
    }
    return marks;
}

std::vector<double> ChartAxes::yMarks(const ValueAxisState& a, const AxisRange& range,
                                      int stride) const {
    std::vector<double> marks;
    for (double v : tickValues(range, stride)) {
        marks.push_back(yPos(a, v));
    }
    return marks;
}

}  // namespace qorv::automation::chartpaint
