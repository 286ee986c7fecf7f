#include "automation/print/ChartPainter.h"

#include "automation/Chart.h"
#include "automation/Styles.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"
#include "automation/print/AxisScale.h"
#include "automation/print/SheetPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>

namespace qorv::automation {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Sizes in points.
constexpr double kPadding = 7;         // chart area edge to its contents
constexpr double kLabelPoints = 10;    // axis labels and legend texts
constexpr double kTitlePoints = 14;    // automatic title
constexpr double kTickLength = 4;      // tick marks, outside the plot
constexpr double kLabelGap = 3;        // tick mark to label
constexpr double kLegendGap = 10;      // axis labels to legend
constexpr double kLegendLine = 22;     // legend symbol of a line series
constexpr double kLegendSquare = 7;    // legend symbol of a column series
constexpr double kThinLine = 0.75;     // border, axes, grid lines
constexpr double kMinMarkSpacing = 3;  // closer ticks or grid lines are thinned
// Resolution at which series are reduced for a PDF.
constexpr double kPdfPixelsPerInch = 300;

const QColor kTextColor(0x00, 0x00, 0x00);
const QColor kBorderColor(0x9A, 0x9A, 0x9A);
const QColor kAxisColor(0x86, 0x86, 0x86);
const QColor kGridColor(0xD0, 0xD0, 0xD0);
const QColor kMinorGridColor(0xEC, 0xEC, 0xEC);

QColor packedColor(std::uint32_t packed) {
    return QColor(int(packed & 0xFF), int((packed >> 8) & 0xFF), int((packed >> 16) & 0xFF));
}

// Colours of series that set none, by series position.
QColor paletteColor(int index) {
    static const QRgb colors[] = {0x4472C4, 0xED7D31, 0xA5A5A5, 0xFFC000, 0x5B9BD5, 0x70AD47};
    return QColor(colors[index % 6]);
}

double displayUnitDivisor(int unit) {
    static const double divisors[] = {1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e12};
    return unit <= -2 && unit >= -10 ? divisors[-unit - 2] : 1.0;
}

QFont chartFont(const QPaintDevice* device, double points, bool bold) {
    QFont font(PrintFamily(QStringLiteral("Arial")));
    font.setStyleHint(QFont::SansSerif);
    // Point sizes go through the device's resolution; the painter already measures points.
    const int dpi = device ? device->logicalDpiY() : 72;
    font.setPointSizeF(points * 72.0 / (dpi > 0 ? dpi : 72));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

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

// The pen of a series line. A dashed line has the spreadsheet's "dash": dashes four line
// widths long with gaps of three; its "dash dot" puts a dot of one width into every gap.
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

// What a line series' cells hold: the extent of its values and how its x values read.
struct LineData {
    DataExtent x;
    DataExtent y;
    bool indexX = false;   // x cells held text: points are numbered 1, 2, 3 ...
    QString firstXFormat;  // number format of the first numeric x cell
    bool hasFirstX = false;
};

QString formatCodeOf(const Worksheet& sheet, std::uint32_t meta) {
    const Styles& styles = sheet.styles();
    return styles.numberFormat(styles.format(CellStore::formatOf(meta)).numberFormat);
}

// One column of cells read straight from the store; rows past its end are empty.
struct ColumnCells {
    const std::uint32_t* meta = nullptr;
    const double* values = nullptr;
    int rows = 0;

    ColumnCells(const CellStore& cells, int column) {
        if (column >= 1 && column <= cells.columnCount()) {
            meta = cells.metaData(column);
            values = cells.valueData(column);
            rows = cells.rowCount(column);
        }
    }
    std::uint32_t metaAt(int row) const { return row >= 1 && row <= rows ? meta[row - 1] : 0; }
    CellType typeAt(int row) const { return CellStore::typeOf(metaAt(row)); }
    double valueAt(int row) const { return values[row - 1]; }
};

// Calls `point` with each point of the series in row order; an empty y cell gives a gap
// (NaN y), once for several in a row and never at the start.
template <class PointFunction>
void visitPoints(const Series& s, bool indexX, PointFunction&& point) {
    if (!s.sheet) {
        return;
    }
    const CellStore& cells = s.sheet->cellStore();
    const ColumnCells xs(cells, s.xValues.first.column);
    const ColumnCells ys(cells, s.yValues.first.column);
    const int count = s.yValues.rowCount();
    const int xCount = s.xValues.rowCount();
    bool afterGap = true;
    for (int i = 0; i < count; ++i) {
        const int row = s.yValues.first.row + i;
        const CellType type = ys.typeAt(row);
        if (type == CellType::Empty) {
            if (!afterGap) {
                point(QPointF(0, kNaN));
                afterGap = true;
            }
            continue;
        }
        if (type != CellType::Number) {
            continue;
        }
        double x = i + 1;
        if (!indexX) {
            const int xRow = s.xValues.first.row + i;
            if (i >= xCount || xs.typeAt(xRow) != CellType::Number) {
                continue;
            }
            x = xs.valueAt(xRow);
        }
        const double y = ys.valueAt(row);
        if (std::isfinite(x) && std::isfinite(y)) {
            point(QPointF(x, y));
            afterGap = false;
        }
    }
}

LineData scanLine(const Series& s) {
    LineData d;
    if (!s.sheet) {
        return d;
    }
    const ColumnCells xs(s.sheet->cellStore(), s.xValues.first.column);
    bool anyX = false;
    for (int i = 0; i < s.xValues.rowCount() && !d.indexX; ++i) {
        const std::uint32_t meta = xs.metaAt(s.xValues.first.row + i);
        const CellType type = CellStore::typeOf(meta);
        d.indexX = type == CellType::Text;
        if (type == CellType::Number && !anyX) {
            anyX = true;
            d.hasFirstX = true;
            d.firstXFormat = formatCodeOf(*s.sheet, meta);
        }
    }
    d.indexX = d.indexX || !anyX;
    visitPoints(s, d.indexX, [&](const QPointF& p) {
        if (!std::isnan(p.y())) {
            d.x.add(p.x());
            d.y.add(p.y());
        }
    });
    return d;
}

// Column values by category, NaN where a category has none.
std::vector<double> readColumns(const Series& s, DataExtent& extent) {
    std::vector<double> values;
    if (!s.sheet) {
        return values;
    }
    const ColumnCells ys(s.sheet->cellStore(), s.yValues.first.column);
    values.resize(std::size_t(s.yValues.rowCount()), kNaN);
    for (int i = 0; i < s.yValues.rowCount(); ++i) {
        const int row = s.yValues.first.row + i;
        if (ys.typeAt(row) == CellType::Number && std::isfinite(ys.valueAt(row))) {
            values[std::size_t(i)] = ys.valueAt(row);
            extent.add(values[std::size_t(i)]);
        }
    }
    return values;
}

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

enum class XKind { Time, Value, Category };

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

struct LineSeries {
    const Series* series = nullptr;
    SeriesLook look;
    LineData data;
    bool secondary = false;
};

struct ColumnSeries {
    const Series* series = nullptr;
    SeriesLook look;
    std::vector<double> values;
    bool secondary = false;
};

struct LegendEntry {
    QString text;
    const SeriesLook* look = nullptr;
    bool column = false;
};

// One painting: reads the data, lays the chart out in the rectangle and draws it.
class Renderer {
  public:
    Renderer(const Chart& chart, const DisplayLocale& locale, QPainter& painter, const QRectF& rect)
        : chart_(chart),
          locale_(locale),
          p_(painter),
          area_(rect),
          columns_(chart.chartType() == xl::ColumnClustered),
          labelFont_(chartFont(painter.device(), kLabelPoints, false)),
          titleFont_(chartFont(painter.device(), kTitlePoints, true)),
          fm_(labelFont_, painter.device()),
          titleFm_(titleFont_, painter.device()) {}

    void run();

  private:
    void readData();
    void placeTitleAndLegend(QRectF& box);
    void scale(const QRectF& plot);
    void scaleValueAxis(ValueAxisState& a, double length);
    void scaleXAxis(double length);
    QRectF layOut(const QRectF& box);

    double xPos(double value) const;
    double yPos(const ValueAxisState& a, double value) const;
    double categoryLeft(double index) const;
    double crossingValue(const ValueAxisState& a) const;

    void drawGrid();
    void drawLines();
    void drawColumns();
    void drawAxes();
    void drawLegend();
    void drawTitle();
    void drawText(const QString& text, double centreX, double top) const;

    QSizeF textSize(const QString& text) const;
    QString categoryText(int index) const;
    double devicePixelsPerPoint() const;

    const Chart& chart_;
    const DisplayLocale& locale_;
    QPainter& p_;
    QRectF area_;
    bool columns_;
    QFont labelFont_;
    QFont titleFont_;
    QFontMetricsF fm_;
    QFontMetricsF titleFm_;

    std::vector<LineSeries> lines_;
    std::vector<ColumnSeries> bars_;
    ValueAxisState y1_;
    ValueAxisState y2_;
    XAxisState x_;
    const Series* categorySource_ = nullptr;

    QString title_;
    QRectF titleRect_;
    std::vector<LegendEntry> legend_;
    QRectF legendRect_;
    double legendRow_ = 0;
    double legendSymbol_ = 0;
    QRectF plot_;
};

QSizeF Renderer::textSize(const QString& text) const {
    double width = 0;
    int lines = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        width = std::max(width, fm_.horizontalAdvance(line.toString()));
        ++lines;
    }
    return QSizeF(width, fm_.height() + (lines - 1) * fm_.lineSpacing());
}

// Lines of `text` centred on centreX, the first line's top at `top`.
void Renderer::drawText(const QString& text, double centreX, double top) const {
    double baseline = top + fm_.ascent();
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QString s = line.toString();
        p_.drawText(QPointF(centreX - fm_.horizontalAdvance(s) / 2, baseline), s);
        baseline += fm_.lineSpacing();
    }
}

double Renderer::devicePixelsPerPoint() const {
    const QTransform t = p_.deviceTransform();
    double scale = std::sqrt(t.m11() * t.m11() + t.m12() * t.m12());
    const QPaintEngine* engine = p_.paintEngine();
    if (engine && engine->type() == QPaintEngine::Pdf && p_.device()) {
        // A PDF has no pixels of its own: detail as a 300 dpi print shows it, whatever
        // resolution the writer counts in.
        const double dpi = p_.device()->logicalDpiX();
        if (dpi > 0) {
            scale *= kPdfPixelsPerInch / dpi;
        }
    }
    return scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

void Renderer::readData() {
    int index = 0;
    for (const Series& s : chart_.series()) {
        const bool secondary = s.axisGroup() == xl::Secondary;
        ValueAxisState& axis = secondary ? y2_ : y1_;
        axis.present = true;
        if (columns_) {
            ColumnSeries c{&s, lookOf(s, index, true), readColumns(s, axis.data), secondary};
            x_.categories = std::max(x_.categories, int(c.values.size()));
            if (!categorySource_) {
                categorySource_ = &s;
            }
            legend_.push_back({QString(), nullptr, true});
            bars_.push_back(std::move(c));
        } else {
            LineSeries l{&s, lookOf(s, index, false), scanLine(s), secondary};
            axis.data.add(l.data.y);
            x_.data.add(l.data.x);
            legend_.push_back({QString(), nullptr, false});
            lines_.push_back(std::move(l));
        }
        QString name = s.name();
        legend_.back().text = name.isEmpty() ? QStringLiteral("Ряд %1").arg(index + 1) : name;
        ++index;
    }
    // Looks are final now that the vectors no longer grow.
    std::size_t l = 0;
    std::size_t b = 0;
    for (LegendEntry& e : legend_) {
        e.look = e.column ? &bars_[b++].look : &lines_[l++].look;
    }
    y1_.present = true;  // the primary value axis shows even without a series on it
    y1_.axis = &chart_.axis(xl::Value, xl::Primary);
    y2_.axis = &chart_.axis(xl::Value, xl::Secondary);
    y2_.present = y2_.present && chart_.hasSecondaryAxes();
    x_.axis = &chart_.axis(xl::Category, xl::Primary);
    if (columns_) {
        x_.kind = XKind::Category;
    } else {
        x_.kind = XKind::Value;
        for (const LineSeries& line : lines_) {
            if (!line.data.indexX && line.data.hasFirstX) {
                x_.kind = isDateTimeFormat(line.data.firstXFormat) ? XKind::Time : XKind::Value;
                break;
            }
        }
    }
    title_ = chart_.titleText();
}

void Renderer::scaleValueAxis(ValueAxisState& a, double length) {
    if (!a.present) {
        return;
    }
    const double spacing = fm_.height() * 2.2;
    const int maxDivisions = std::clamp(int(length / spacing), 2, 10);
    a.range = valueAxisRange(a.data, *a.axis, maxDivisions, columns_);
    const AxisRange& r = a.range;
    const double tickSpacing = r.majorUnit / (r.maximum - r.minimum) * length;
    a.labelStride = labelStride(tickSpacing, fm_.height() * 1.1);
    a.markStride = tickSpacing < kMinMarkSpacing ? a.labelStride : 1;
    const double divisor = displayUnitDivisor(a.axis->displayUnit);
    const int decimals = decimalsFor(
        {r.minimum, r.maximum, r.majorUnit * a.labelStride / divisor, r.origin / divisor});
    a.labels.clear();
    a.labelWidth = 0;
    for (double v : tickValues(r, a.labelStride)) {
        Label label;
        label.position = yPos(a, v);
        label.text = valueLabel(v / divisor, decimals, locale_.decimalSeparator);
        label.size = textSize(label.text);
        a.labelWidth = std::max(a.labelWidth, label.size.width());
        a.labels.push_back(std::move(label));
    }
}

QString Renderer::categoryText(int index) const {
    const Series* s = categorySource_;
    if (!s || !s->sheet || index >= s->xValues.rowCount()) {
        return QString::number(index + 1);
    }
    const int row = s->xValues.first.row + index;
    const int column = s->xValues.first.column;
    const CellStore& cells = s->sheet->cellStore();
    const std::uint32_t meta = cells.meta(row, column);
    switch (CellStore::typeOf(meta)) {
        case CellType::Text:
            return s->sheet->workbook().texts().at(std::uint32_t(cells.value(row, column)));
        case CellType::Number:
            return formattedNumber(cells.value(row, column), formatCodeOf(*s->sheet, meta),
                                   locale_);
        default:
            return QString();
    }
}

void Renderer::scaleXAxis(double length) {
    x_.labels.clear();
    x_.labelHeight = 0;
    const double gap = fm_.height() * 0.5;
    if (x_.kind == XKind::Category) {
        const int n = x_.categories;
        if (n == 0) {
            return;
        }
        // Label widths from a sample spread over the categories; they share one format.
        double widest = 0;
        const int samples = std::min(n, 200);
        for (int i = 0; i < samples; ++i) {
            widest =
                std::max(widest, textSize(categoryText(int((long long)i * n / samples))).width());
        }
        const double slot = length / n;
        x_.labelStride = labelStride(slot, widest + gap);
        x_.markStride = slot < kMinMarkSpacing ? x_.labelStride : 1;
        for (int i = 0; i < n; i += x_.labelStride) {
            Label label;
            label.position = categoryLeft(i + 0.5);
            label.text = categoryText(i);
            label.size = textSize(label.text);
            x_.labelHeight = std::max(x_.labelHeight, label.size.height());
            x_.labels.push_back(std::move(label));
        }
        return;
    }
    if (x_.kind == XKind::Time) {
        const double typical = std::max(fm_.horizontalAdvance(QStringLiteral("00.00.00")),
                                        fm_.horizontalAdvance(QStringLiteral("00:00:00")));
        // n labels need n - 1 spacings of a label and a gap; fewer when the data's span does
        // not fall on round steps and the ticks come closer than that.
        int maxLabels = std::clamp(int(length / (typical + gap)) + 1, 2, 8);
        TimeAxisRange t = timeAxisRange(x_.data, *x_.axis, maxLabels);
        while (maxLabels > 2 && !x_.axis->majorUnit &&
               t.range.majorUnit / (t.range.maximum - t.range.minimum) * length < typical + gap) {
            t = timeAxisRange(x_.data, *x_.axis, --maxLabels);
        }
        x_.range = t.range;
        x_.form = t.form;
    } else {
        const double typical = fm_.horizontalAdvance(QStringLiteral("-0000.0"));
        const int maxDivisions = std::clamp(int(length / (typical + gap)), 2, 10);
        x_.range = valueAxisRange(x_.data, *x_.axis, maxDivisions);
    }
    const AxisRange& r = x_.range;
    const double tickSpacing = r.majorUnit / (r.maximum - r.minimum) * length;
    // Thinning needs the widest label; time labels of one form are alike, so a few suffice.
    double widest = 0;
    const std::vector<double> sample = tickValues(r, 1, 50);
    const int decimals = decimalsFor(r);
    auto text = [&](double v, int places) {
        return x_.kind == XKind::Time ? timeLabel(v, x_.form, locale_.dateSeparator)
                                      : valueLabel(v, places, locale_.decimalSeparator);
    };
    for (double v : sample) {
        widest = std::max(widest, textSize(text(v, decimals)).width());
    }
    x_.labelStride = x_.kind == XKind::Time
                         ? timeLabelStride(r.majorUnit, tickSpacing, widest + gap)
                         : labelStride(tickSpacing, widest + gap);
    x_.markStride = tickSpacing < kMinMarkSpacing ? x_.labelStride : 1;
    const int labelDecimals =
        decimalsFor({r.minimum, r.maximum, r.majorUnit * x_.labelStride, r.origin});
    for (double v : tickValues(r, x_.labelStride)) {
        Label label;
        label.position = xPos(v);
        label.text = text(v, labelDecimals);
        label.size = textSize(label.text);
        x_.labelHeight = std::max(x_.labelHeight, label.size.height());
        x_.labels.push_back(std::move(label));
    }
}

void Renderer::scale(const QRectF& plot) {
    plot_ = plot;
    scaleXAxis(plot.width());
    scaleValueAxis(y1_, plot.height());
    scaleValueAxis(y2_, plot.height());
}

// Title at the top and legend at the right take their room from `box`.
void Renderer::placeTitleAndLegend(QRectF& box) {
    if (!title_.isEmpty()) {
        const QString text = titleFm_.elidedText(title_, Qt::ElideRight, box.width());
        title_ = text;
        titleRect_ = QRectF(box.left(), box.top(), box.width(), titleFm_.height());
        box.setTop(titleRect_.bottom() + kPadding * 0.7);
    }
    if (chart_.hasLegend() && !legend_.empty()) {
        double widest = 0;
        double symbol = 0;
        double markerHeight = 0;
        for (const LegendEntry& e : legend_) {
            widest = std::max(widest, fm_.horizontalAdvance(e.text));
            symbol = std::max(symbol, e.column ? kLegendSquare : kLegendLine);
            if (!e.column && e.look->marker != xl::None) {
                markerHeight = std::max(markerHeight, e.look->markerSize);
            }
        }
        const double textGap = 4;
        const double maxText = std::max(20.0, area_.width() * 0.45 - symbol - textGap);
        if (widest > maxText) {
            for (LegendEntry& e : legend_) {
                e.text = fm_.elidedText(e.text, Qt::ElideRight, maxText);
            }
            widest = maxText;
        }
        legendRow_ = std::max(fm_.lineSpacing(), markerHeight + 2);
        legendSymbol_ = symbol;
        const double width = symbol + textGap + widest;
        const double height = legendRow_ * double(legend_.size());
        legendRect_ = QRectF(box.right() - width, area_.center().y() - height / 2, width, height);
        box.setRight(legendRect_.left() - kLegendGap);
    }
}

// The plot rectangle: what `box` leaves after the axis labels. Label sizes depend on the
// scales and the scales on the plot's size, so this settles in a few rounds.
QRectF Renderer::layOut(const QRectF& box) {
    const double labelRoom = kTickLength + kLabelGap;
    QRectF plot = box.adjusted(40, fm_.height() / 2, y2_.present ? -40 : -10,
                               -(labelRoom + 2 * fm_.lineSpacing()));
    for (int round = 0; round < 4; ++round) {
        if (plot.width() < 10 || plot.height() < 10) {
            plot.setSize(QSizeF(std::max(plot.width(), 10.0), std::max(plot.height(), 10.0)));
        }
        scale(plot);
        double left = y1_.labels.empty() ? kTickLength : y1_.labelWidth + labelRoom;
        double right = y2_.present ? y2_.labelWidth + labelRoom : fm_.height() * 0.5;
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
        plot = box.adjusted(left, top, -right, -bottom);
    }
    if (plot.width() < 10 || plot.height() < 10) {
        plot.setSize(QSizeF(std::max(plot.width(), 10.0), std::max(plot.height(), 10.0)));
    }
    scale(plot);
    return plot;
}

double Renderer::xPos(double value) const {
    const AxisRange& r = x_.range;
    double f = (value - r.minimum) / (r.maximum - r.minimum);
    if (x_.axis->reversePlotOrder) {
        f = 1 - f;
    }
    return plot_.left() + std::clamp(f, -1e4, 1e4) * plot_.width();
}

double Renderer::yPos(const ValueAxisState& a, double value) const {
    const AxisRange& r = a.range;
    double f = (value - r.minimum) / (r.maximum - r.minimum);
    if (a.axis->reversePlotOrder) {
        f = 1 - f;
    }
    return plot_.bottom() - std::clamp(f, -1e4, 1e4) * plot_.height();
}

double Renderer::categoryLeft(double index) const {
    const double n = std::max(1, x_.categories);
    double f = index / n;
    if (x_.axis->reversePlotOrder) {
        f = 1 - f;
    }
    return plot_.left() + f * plot_.width();
}

// Where a value axis meets the category axis: at 0 when the scale holds it, else at the end
// nearer to 0, or at the end the axis asks for.
double Renderer::crossingValue(const ValueAxisState& a) const {
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

void Renderer::drawGrid() {
    p_.save();
    p_.setClipRect(plot_, Qt::IntersectClip);
    auto gridPen = [](const QColor& color) {
        QPen pen(color, kThinLine);
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    };
    // Minor grid lines first, so the major ones lie on top.
    for (const ValueAxisState* a : {&y1_, &y2_}) {
        if (a->present && a->axis->minorGridlines) {
            AxisRange minor = a->range;
            minor.majorUnit = a->axis->minorUnit.value_or(a->range.majorUnit / 5);
            const double spacing =
                minor.majorUnit / (minor.maximum - minor.minimum) * plot_.height();
            if (spacing >= kMinMarkSpacing) {
                p_.setPen(gridPen(kMinorGridColor));
                for (double v : tickValues(minor)) {
                    const double y = yPos(*a, v);
                    p_.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
                }
            }
        }
    }
    p_.setPen(gridPen(kGridColor));
    for (const ValueAxisState* a : {&y1_, &y2_}) {
        if (a->present && a->axis->majorGridlines) {
            for (double v : tickValues(a->range, a->markStride)) {
                const double y = yPos(*a, v);
                p_.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
            }
        }
    }
    if (x_.axis->majorGridlines) {
        if (x_.kind == XKind::Category) {
            for (int i = 0; i <= x_.categories; i += x_.markStride) {
                const double x = categoryLeft(i);
                p_.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
            }
        } else {
            for (double v : tickValues(x_.range, x_.markStride)) {
                const double x = xPos(v);
                p_.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
            }
        }
    }
    p_.restore();
}

void Renderer::drawLines() {
    const double pixels = devicePixelsPerPoint() * plot_.width();
    const double columnsPerUnit = pixels / (x_.range.maximum - x_.range.minimum);
    const double limit = 1e5;  // far outside the plot; keeps coordinates finite
    for (const LineSeries& line : lines_) {
        const ValueAxisState& axis = line.secondary ? y2_ : y1_;
        std::vector<QPointF> reduced;
        PointReducer reducer(x_.range.minimum, columnsPerUnit, reduced);
        visitPoints(*line.series, line.data.indexX, [&](const QPointF& p) { reducer.add(p); });
        reducer.finish();
        std::vector<QPointF> mapped;
        mapped.reserve(reduced.size());
        for (const QPointF& point : reduced) {
            if (std::isnan(point.y())) {
                mapped.emplace_back(0, kNaN);
            } else {
                mapped.emplace_back(std::clamp(xPos(point.x()), -limit, limit),
                                    std::clamp(yPos(axis, point.y()), -limit, limit));
            }
        }
        const SeriesLook& look = line.look;
        if (look.hasLine) {
            p_.save();
            p_.setClipRect(plot_, Qt::IntersectClip);
            // Dense data look the same with straight segments; smooth curves only pay off
            // where the points are far apart.
            const bool smooth = double(mapped.size()) < pixels / 3;
            p_.setPen(linePen(look, Qt::RoundCap));
            p_.setBrush(Qt::NoBrush);
            std::size_t start = 0;
            while (start < mapped.size()) {
                std::size_t end = start;
                while (end < mapped.size() && !std::isnan(mapped[end].y())) {
                    ++end;
                }
                const std::size_t n = end - start;
                const QPointF* run = mapped.data() + start;
                if (n >= 2 && smooth) {
                    QPainterPath path(run[0]);
                    for (std::size_t i = 0; i + 1 < n; ++i) {
                        const QPointF& p0 = run[i == 0 ? 0 : i - 1];
                        const QPointF& p1 = run[i];
                        const QPointF& p2 = run[i + 1];
                        const QPointF& p3 = run[std::min(i + 2, n - 1)];
                        path.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
                    }
                    p_.drawPath(path);
                } else if (n >= 2) {
                    // In short pieces: a raster device strokes a long zigzag of dense data
                    // much slower than the same segments in pieces. Round caps join them.
                    constexpr std::size_t kPiece = 64;
                    for (std::size_t from = 0; from + 1 < n; from += kPiece) {
                        p_.drawPolyline(run + from, int(std::min(kPiece + 1, n - from)));
                    }
                }
                start = end + 1;
            }
            p_.restore();
        }
        if (look.marker != xl::None) {
            // Markers on the plot's edge show whole, as in the spreadsheet; those outside
            // a fixed scale do not show.
            const double half = look.markerSize / 2;
            const QRectF inside = plot_.adjusted(-0.01, -0.01, 0.01, 0.01);
            QPen pen(look.markerEdge, 0.75);
            pen.setJoinStyle(Qt::MiterJoin);
            p_.setPen(pen);
            p_.setBrush(look.markerFill);
            // Markers on one spot hide each other: one per device pixel is enough.
            const double pixel = 1 / devicePixelsPerPoint();
            QPointF last(kNaN, kNaN);
            for (const QPointF& c : mapped) {
                if (std::isnan(c.y()) || !inside.contains(c) ||
                    (std::abs(c.x() - last.x()) < pixel && std::abs(c.y() - last.y()) < pixel)) {
                    continue;
                }
                last = c;
                switch (look.marker) {
                    case 2: {
                        const QPointF diamond[] = {{c.x(), c.y() - half},
                                                   {c.x() + half, c.y()},
                                                   {c.x(), c.y() + half},
                                                   {c.x() - half, c.y()}};
                        p_.drawPolygon(diamond, 4);
                        break;
                    }
                    case 3: {
                        const QPointF triangle[] = {{c.x(), c.y() - half},
                                                    {c.x() + half, c.y() + half},
                                                    {c.x() - half, c.y() + half}};
                        p_.drawPolygon(triangle, 3);
                        break;
                    }
                    case 8:
                        p_.drawEllipse(c, half, half);
                        break;
                    default:
                        p_.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
                        break;
                }
            }
        }
    }
}

void Renderer::drawColumns() {
    const int n = x_.categories;
    const int k = int(bars_.size());
    if (n == 0 || k == 0) {
        return;
    }
    // Gap width 150 %: between clusters one and a half column widths.
    const double slot = plot_.width() / n;
    const double width = slot / (k + 1.5);
    const double scale = devicePixelsPerPoint();
    const bool reversed = x_.axis->reversePlotOrder;
    p_.save();
    p_.setClipRect(plot_, Qt::IntersectClip);
    for (int j = 0; j < k; ++j) {
        const ColumnSeries& c = bars_[std::size_t(j)];
        const ValueAxisState& axis = c.secondary ? y2_ : y1_;
        const double base = yPos(axis, crossingValue(axis));
        const SeriesLook& look = c.look;
        if (width * scale >= 1) {
            QPen pen(look.line, look.lineWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            p_.setPen(look.hasOutline ? pen : QPen(Qt::NoPen));
            p_.setBrush(look.hasFill ? QBrush(look.fill) : QBrush(Qt::NoBrush));
            for (int i = 0; i < int(c.values.size()); ++i) {
                const double v = c.values[std::size_t(i)];
                if (std::isnan(v)) {
                    continue;
                }
                double left = plot_.left() + i * slot + width * (0.75 + j);
                if (reversed) {
                    left = plot_.right() - (left - plot_.left()) - width;
                }
                const double top = std::clamp(yPos(axis, v), -1e5, 1e5);
                p_.drawRect(QRectF(QPointF(left, std::min(top, base)),
                                   QPointF(left + width, std::max(top, base))));
            }
            continue;
        }
        // Narrower than a device pixel: one bar per pixel column, spanning its values.
        p_.setPen(Qt::NoPen);
        p_.setBrush(look.hasFill ? look.fill : look.line);
        const double pixel = 1 / scale;
        double bucket = kNaN;
        double lo = 0;
        double hi = 0;
        auto flush = [&] {
            if (std::isnan(bucket)) {
                return;
            }
            double left = plot_.left() + bucket * pixel;
            if (reversed) {
                left = plot_.right() - (left - plot_.left()) - pixel;
            }
            const double top = std::clamp(yPos(axis, hi), -1e5, 1e5);
            const double bottom = std::clamp(yPos(axis, lo), -1e5, 1e5);
            p_.drawRect(QRectF(QPointF(left, std::min({top, bottom, base})),
                               QPointF(left + pixel, std::max({top, bottom, base}))));
            bucket = kNaN;
        };
        for (int i = 0; i < int(c.values.size()); ++i) {
            const double v = c.values[std::size_t(i)];
            if (std::isnan(v)) {
                continue;
            }
            const double b = std::floor((i * slot + width * (0.75 + j)) / pixel);
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
    p_.restore();
}

void Renderer::drawAxes() {
    QPen pen(kAxisColor, kThinLine);
    pen.setCapStyle(Qt::FlatCap);
    p_.setPen(pen);
    // The category (time) axis line where it crosses the primary value axis.
    const double xAxisY = yPos(y1_, crossingValue(y1_));
    p_.drawLine(QPointF(plot_.left(), xAxisY), QPointF(plot_.right(), xAxisY));
    if (x_.kind == XKind::Category) {
        for (int i = 0; i <= x_.categories; i += x_.markStride) {
            const double x = categoryLeft(i);
            p_.drawLine(QPointF(x, xAxisY), QPointF(x, xAxisY + kTickLength));
        }
    } else {
        for (double v : tickValues(x_.range, x_.markStride)) {
            const double x = xPos(v);
            p_.drawLine(QPointF(x, xAxisY), QPointF(x, xAxisY + kTickLength));
        }
    }
    // The primary value axis where it crosses the category axis; the secondary at the right.
    double yAxisX = plot_.left();
    const int crosses = x_.axis->crosses;
    if (crosses == xl::Maximum) {
        yAxisX = plot_.right();
    } else if (x_.kind == XKind::Value && crosses != xl::Minimum) {
        yAxisX = xPos(std::clamp(0.0, x_.range.minimum, x_.range.maximum));
    } else if (x_.axis->reversePlotOrder) {
        yAxisX = plot_.right();
    }
    struct Side {
        const ValueAxisState* axis;
        double x;
        double direction;
    };
    for (const Side& side : {Side{&y1_, yAxisX, -1.0}, Side{&y2_, plot_.right(), 1.0}}) {
        const ValueAxisState& a = *side.axis;
        if (!a.present) {
            continue;
        }
        p_.drawLine(QPointF(side.x, plot_.top()), QPointF(side.x, plot_.bottom()));
        for (double v : tickValues(a.range, a.markStride)) {
            const double y = yPos(a, v);
            p_.drawLine(QPointF(side.x, y), QPointF(side.x + side.direction * kTickLength, y));
        }
    }

    // Labels: value labels beside the plot, category labels below it.
    p_.setPen(kTextColor);
    p_.setFont(labelFont_);
    const double room = kTickLength + kLabelGap;
    for (const Label& l : y1_.labels) {
        const double right = plot_.left() - room;
        drawText(l.text, right - l.size.width() / 2, l.position - l.size.height() / 2);
    }
    if (y2_.present) {
        for (const Label& l : y2_.labels) {
            const double left = plot_.right() + room;
            drawText(l.text, left + l.size.width() / 2, l.position - l.size.height() / 2);
        }
    }
    for (const Label& l : x_.labels) {
        drawText(l.text, l.position, plot_.bottom() + room);
    }
}

void Renderer::drawLegend() {
    if (legendRect_.isEmpty()) {
        return;
    }
    double top = legendRect_.top();
    const double symbolWidth = legendSymbol_;
    const double textLeft = legendRect_.left() + symbolWidth + 4;
    p_.setFont(labelFont_);
    for (const LegendEntry& e : legend_) {
        const double centreY = top + legendRow_ / 2;
        const SeriesLook& look = *e.look;
        const double symbolCentre = legendRect_.left() + symbolWidth / 2;
        if (e.column) {
            const double half = kLegendSquare / 2;
            QPen pen(look.line, std::min(look.lineWidth, 1.0));
            pen.setJoinStyle(Qt::MiterJoin);
            p_.setPen(look.hasOutline ? pen : QPen(Qt::NoPen));
            p_.setBrush(look.hasFill ? QBrush(look.fill) : QBrush(Qt::NoBrush));
            p_.drawRect(QRectF(symbolCentre - half, centreY - half, 2 * half, 2 * half));
        } else {
            if (look.hasLine) {
                p_.setPen(linePen(look, Qt::FlatCap));
                p_.drawLine(QPointF(symbolCentre - kLegendLine / 2, centreY),
                            QPointF(symbolCentre + kLegendLine / 2, centreY));
            }
            if (look.marker != xl::None) {
                const double half = look.markerSize / 2;
                p_.setPen(QPen(look.markerEdge, 0.75));
                p_.setBrush(look.markerFill);
                if (look.marker == 8) {
                    p_.drawEllipse(QPointF(symbolCentre, centreY), half, half);
                } else {
                    p_.drawRect(QRectF(symbolCentre - half, centreY - half, 2 * half, 2 * half));
                }
            }
        }
        p_.setPen(kTextColor);
        p_.drawText(QPointF(textLeft, centreY - fm_.height() / 2 + fm_.ascent()), e.text);
        top += legendRow_;
    }
}

void Renderer::drawTitle() {
    if (title_.isEmpty()) {
        return;
    }
    p_.setFont(titleFont_);
    p_.setPen(kTextColor);
    const double width = titleFm_.horizontalAdvance(title_);
    p_.drawText(QPointF(titleRect_.center().x() - width / 2, titleRect_.top() + titleFm_.ascent()),
                title_);
}

void Renderer::run() {
    readData();
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::TextAntialiasing, true);

    // Chart area: white, a thin border inside the rectangle.
    const double half = kThinLine / 2;
    p_.setPen(QPen(kBorderColor, kThinLine));
    p_.setBrush(Qt::white);
    p_.drawRect(area_.adjusted(half, half, -half, -half));

    QRectF box = area_.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    placeTitleAndLegend(box);
    plot_ = layOut(box);

    drawGrid();
    if (columns_) {
        drawColumns();
    } else {
        drawLines();
    }
    drawAxes();
    drawLegend();
    drawTitle();
    p_.restore();
}

}  // namespace

ChartPainter::ChartPainter(const Chart& chart, const DisplayLocale& locale)
    : chart_(chart), locale_(locale) {}

void ChartPainter::paint(QPainter& painter, const QRectF& rect) const {
    if (!painter.isActive() || !(rect.width() > 0 && rect.height() > 0)) {
        return;
    }
    Renderer(chart_, locale_, painter, rect).run();
}

std::vector<QPointF> reducePoints(std::span<const QPointF> points, double originX,
                                  double columnsPerUnit) {
    std::vector<QPointF> out;
    PointReducer reducer(originX, columnsPerUnit, out);
    for (const QPointF& p : points) {
        reducer.add(p);
    }
    reducer.finish();
    return out;
}

PointReducer::PointReducer(double originX, double columnsPerUnit, std::vector<QPointF>& out)
    : originX_(originX),
      columnsPerUnit_(columnsPerUnit > 0 && std::isfinite(columnsPerUnit) ? columnsPerUnit : 0),
      out_(out) {}

void PointReducer::add(const QPointF& p) {
    if (std::isnan(p.y())) {
        finish();
        if (!out_.empty() && !std::isnan(out_.back().y())) {
            out_.push_back(p);
        }
        return;
    }
    if (columnsPerUnit_ == 0) {
        out_.push_back(p);
        return;
    }
    const double column = std::floor((p.x() - originX_) * columnsPerUnit_);
    if (count_ > 0 && column == column_) {
        last_ = {p, count_};
        if (p.y() < low_.point.y()) {
            low_ = last_;
        }
        if (p.y() > high_.point.y()) {
            high_ = last_;
        }
    } else {
        finish();
        column_ = column;
        first_ = low_ = high_ = last_ = {p, 0};
    }
    ++count_;
}

void PointReducer::finish() {
    if (count_ == 0) {
        return;
    }
    Kept keep[4] = {first_, low_, high_, last_};
    std::sort(std::begin(keep), std::end(keep),
              [](const Kept& a, const Kept& b) { return a.order < b.order; });
    for (int i = 0; i < 4; ++i) {
        if (i == 0 || keep[i].order != keep[i - 1].order) {
            out_.push_back(keep[i].point);
        }
    }
    count_ = 0;
}

}  // namespace qorv::automation
