#include "automation/Workbook.h"
#include "automation/print/AxisScale.h"
#include "automation/print/ChartPainter.h"
#include "automation/print/PointReduction.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QPageSize>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

using namespace qorv::automation;

// Readable failure messages.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

double serial(const QDate& date, int hour = 0, int minute = 0) {
    return double(QDate(1899, 12, 30).daysTo(date)) + (hour * 60 + minute) / 1440.0;
}

DataExtent extent(double minimum, double maximum) {
    DataExtent e;
    e.add(minimum);
    e.add(maximum);
    return e;
}

// A paint device at 72 dpi that records where text is drawn.
class TextRecorder : public QPaintDevice {
  public:
    struct Text {
        QString text;
        QRectF box;
    };
    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<Text>& texts() const { return engine_.texts; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
            case PdmHeight:
                return 1000;
            case PdmWidthMM:
            case PdmHeightMM:
                return 353;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 72;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            case PdmNumColors:
                return 256;
            case PdmDepth:
                return 32;
            default:
                return 1;
        }
    }

  private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            texts.push_back({item.text(), QRectF(p.x(), p.y() - item.ascent(), item.width(),
                                                 item.ascent() + item.descent())});
        }
        Type type() const override { return User; }
        std::vector<Text> texts;
    };
    mutable Engine engine_;
};

// Data of a two-channel report chart: times in A (every `minutes` from 08.12.2015 10:00),
// temperature in B, humidity in C, names in row 4.
Worksheet& scatterData(Workbook& book, int samples, int minutes) {
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.range("A4").setValue2(QStringLiteral("Время"));
    data.range("B4").setValue2(QStringLiteral("Темпер.,°C"));
    data.range("C4").setValue2(QStringLiteral("Влажность, %"));
    QStringList times, first, second;
    const QDateTime start(QDate(2015, 12, 8), QTime(10, 0));
    for (int i = 0; i < samples; ++i) {
        times << start.addSecs(qint64(i) * minutes * 60).toString(u"dd.MM.yyyy hh:mm:ss");
        first << QString::number(21.5 + 3.3 * std::sin(i / 40.0), 'f', 2);
        second << QString::number(55 + 15 * std::cos(i / 60.0), 'f', 2);
    }
    data.range(QStringLiteral("A5:A%1").arg(4 + samples))
        .setFormulaR1C1Local(TextArray::column(times));
    data.range(QStringLiteral("B5:B%1").arg(4 + samples)).setValue(TextArray::column(first));
    data.range(QStringLiteral("C5:C%1").arg(4 + samples)).setValue(TextArray::column(second));
    return data;
}

Chart& twoChannelChart(Workbook& book, int samples, int minutes) {
    Worksheet& data = scatterData(book, samples, minutes);
    Chart& chart = book.charts().add(&data);
    chart.setChartType(xl::XYScatterSmoothNoMarkers);
    chart.setSourceData(data.range(QStringLiteral("A4:C%1").arg(4 + samples)), xl::Columns);
    chart.seriesCollection(2).setAxisGroup(xl::Secondary);
    return chart;
}

// State changes: times in A, durations of state 0 in B and of state 1 in C, alternating.
Chart& eventChart(Workbook& book, int events) {
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.range("A5").setValue2(QStringLiteral("Время"));
    data.range("B5").setValue2(QStringLiteral("0 (Нет)"));
    data.range("C5").setValue2(QStringLiteral("1 (Есть)"));
    QDateTime time(QDate(2015, 12, 8), QTime(10, 0));
    for (int i = 0; i < events; ++i) {
        const int row = 6 + i;
        const int duration = 600 + (i * 337) % 2400;
        data.range(QStringLiteral("A%1").arg(row))
            .setFormulaR1C1Local(time.toString(u"dd.MM.yyyy hh:mm:ss"));
        data.range(QStringLiteral("%1%2").arg(QChar(i % 2 ? u'C' : u'B')).arg(row))
            .setValue2(QString::number(duration));
        time = time.addSecs(duration);
    }
    data.range(QStringLiteral("A6:A%1").arg(5 + events))
        .setNumberFormatLocal(QStringLiteral("ДД/ММ/ГГ Ч:ММ;@"));
    Chart& chart = book.charts().add(&data);
    chart.setChartType(xl::ColumnClustered);
    chart.setSourceData(data.range(QStringLiteral("A5:C%1").arg(5 + events)), xl::Columns);
    return chart;
}

}  // namespace

TEST(AxisScale, ValueAxisFollowsTheDataAndTheZeroRule) {
    struct Case {
        const char* what;
        double low, high;
        int maxDivisions;
        bool includeZero;
        double minimum, maximum, unit;
    };
    const Case cases[] = {
        // Spread over more than a sixth of the maximum: the axis starts at 0.
        {"temperature", 18.3, 24.9, 8, false, 0, 30, 5},
        {"humidity", 44.2, 61.7, 8, false, 0, 70, 10},
        {"fewer divisions", 18.3, 24.9, 3, false, 0, 30, 10},
        // Close together: 5 % room on both sides, rounded outward to the step.
        {"narrow", 22.0, 24.9, 8, false, 21.5, 25.5, 0.5},
        {"narrow, large", 800, 900, 8, false, 780, 920, 20},
        {"columns start at 0", 800, 900, 8, true, 0, 1000, 200},
        // Negative data mirror the rule.
        {"frost", -24.9, -18.3, 8, false, -30, 0, 5},
        {"frost, narrow", -12.5, -10.2, 8, false, -14, 0, 2},
        {"both signs", -5, 10, 8, false, -10, 15, 5},
        {"one value", 20, 20, 8, false, 0, 25, 5},
        {"tiny values", 0.0012, 0.0019, 8, false, 0, 0.002, 0.0005},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const AxisRange r =
            valueAxisRange(extent(c.low, c.high), Axis(), c.maxDivisions, c.includeZero);
        EXPECT_NEAR(r.minimum, c.minimum, 1e-9);
        EXPECT_NEAR(r.maximum, c.maximum, 1e-9);
        EXPECT_NEAR(r.majorUnit, c.unit, 1e-12);
        EXPECT_LE(std::round((r.maximum - r.minimum) / r.majorUnit), c.maxDivisions);
    }
}

TEST(AxisScale, FixedScaleIsKeptEvenWhenDataLieOutside) {
    Axis axis;
    axis.setMinimumScale(0);
    axis.setMaximumScale(40);
    axis.setMajorUnit(5);
    const AxisRange fixed = valueAxisRange(extent(-12, 97), axis, 3);
    EXPECT_EQ(fixed.minimum, 0);
    EXPECT_EQ(fixed.maximum, 40);
    EXPECT_EQ(fixed.majorUnit, 5);
    EXPECT_EQ(tickValues(fixed).size(), 9u);

    // A fixed minimum alone: ticks count from it, the maximum stays automatic.
    Axis low;
    low.setMinimumScale(0.3);
    const AxisRange r = valueAxisRange(extent(5, 9.6), low, 8);
    EXPECT_EQ(r.minimum, 0.3);
    EXPECT_EQ(r.majorUnit, 2);
    EXPECT_NEAR(r.maximum, 10.3, 1e-9);
    EXPECT_EQ(decimalsFor(r), 1);
    EXPECT_EQ(valueLabel(tickValues(r)[1], decimalsFor(r), u','), QStringLiteral("2,3"));
}

TEST(AxisScale, TimeStepGivesAFewLabelsAtRoundTimes) {
    const QDate day(2015, 12, 8);
    struct Case {
        const char* what;
        double from, to;
        int maxLabels;
        double step;
        TimeLabelForm form;
    };
    const Case cases[] = {
        {"two days", serial(day), serial(day.addDays(2)), 8, 0.5, TimeLabelForm::DateTime},
        {"three hours", serial(day, 10), serial(day, 13), 8, 30 / 1440.0, TimeLabelForm::DateTime},
        {"thirty days", serial(day), serial(day.addDays(30)), 8, 7, TimeLabelForm::Date},
        {"ten minutes", serial(day, 10), serial(day, 10, 10), 6, 2 / 1440.0,
         TimeLabelForm::DateTime},
        {"one minute", serial(day, 10), serial(day, 10, 1), 8, 10 / 86400.0,
         TimeLabelForm::DateTimeSeconds},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TimeAxisRange t = timeAxisRange(extent(c.from, c.to), Axis(), c.maxLabels);
        EXPECT_NEAR(t.range.majorUnit, c.step, 1e-12);
        EXPECT_EQ(t.form, c.form);
        // Automatic ends are the data's span.
        EXPECT_EQ(t.range.minimum, c.from);
        EXPECT_EQ(t.range.maximum, c.to);
        const std::vector<double> ticks = tickValues(t.range);
        EXPECT_GE(int(ticks.size()), 2);
        EXPECT_LE(int(ticks.size()), c.maxLabels);
    }
    // Weekly ticks fall on Mondays.
    const TimeAxisRange month =
        timeAxisRange(extent(serial(day), serial(day.addDays(30))), Axis(), 8);
    for (double tick : tickValues(month.range)) {
        EXPECT_EQ(QDate(1899, 12, 30).addDays(qint64(tick)).dayOfWeek(), 1);
    }
}

TEST(AxisScale, FixedTimeUnitRoundsTheEndsAndThinsToClockSteps) {
    Axis axis;
    axis.setMajorUnit(10.0 / 1440);
    const QDate day(2015, 12, 8);
    const TimeAxisRange t = timeAxisRange(extent(serial(day, 10, 3), serial(day, 11, 57)), axis, 4);
    EXPECT_NEAR(t.range.minimum, serial(day, 10), 1e-9);
    EXPECT_NEAR(t.range.maximum, serial(day, 12), 1e-9);
    EXPECT_EQ(tickValues(t.range).size(), 13u);
    // Ticks 2 pt apart, labels 50 pt wide: every 36th tick, 6 hours, rather than every 50th.
    EXPECT_EQ(timeLabelStride(10.0 / 1440, 2, 50), 36);
    EXPECT_EQ(labelStride(2, 50), 50);
    EXPECT_EQ(labelStride(20, 45), 5);
    EXPECT_EQ(labelStride(50, 45), 1);
}

TEST(AxisScale, LabelTexts) {
    const double t = serial(QDate(2015, 12, 8), 10, 5);
    EXPECT_EQ(timeLabel(t, TimeLabelForm::DateTime, u'.'), QStringLiteral("08.12.15\n10:05"));
    EXPECT_EQ(timeLabel(t, TimeLabelForm::Date, u'/'), QStringLiteral("08/12/15"));
    // Just under midnight rounds into the next day, not to 24:00.
    EXPECT_EQ(
        timeLabel(serial(QDate(2015, 12, 8)) + 1 - 0.1 / 86400, TimeLabelForm::DateTime, u'.'),
        QStringLiteral("09.12.15\n00:00"));
    EXPECT_EQ(valueLabel(-1e-17, 1, u','), QStringLiteral("0,0"));
    EXPECT_EQ(valueLabel(-2.5, 1, u','), QStringLiteral("-2,5"));
    EXPECT_EQ(decimalsFor({0, 1, 0.25, 0}), 2);
    EXPECT_EQ(decimalsFor({0, 30, 5, 0}), 0);
    EXPECT_EQ(decimalsFor({0, 1, 0.1, 0}), 1);

    const DisplayLocale comma{u',', u'.'};
    EXPECT_TRUE(isDateTimeFormat(QStringLiteral("dd/mm/yy h:mm;@")));
    EXPECT_FALSE(isDateTimeFormat(QStringLiteral("General")));
    EXPECT_FALSE(isDateTimeFormat(QStringLiteral("0.00\" sec\"")));
    EXPECT_EQ(formattedNumber(t, QStringLiteral("dd/mm/yy h:mm;@"), comma),
              QStringLiteral("08.12.15\n10:05"));
    EXPECT_EQ(formattedNumber(2.5, QStringLiteral("General"), comma), QStringLiteral("2,5"));
    EXPECT_EQ(formattedNumber(2.5, QStringLiteral("0.00"), comma), QStringLiteral("2,50"));
}

TEST(PointReduction, KeepsEachPixelColumnsExtremesAndTheGaps) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-1, 1);
    const int columns = 100;
    std::vector<QPointF> points;
    for (int i = 0; i < 100000; ++i) {
        points.emplace_back(i / 100000.0, std::sin(i / 3000.0) + noise(random));
    }
    points[50000].setY(std::nan(""));  // a gap in column 50
    const std::vector<QPointF> reduced = reducePoints(points, 0, columns);

    EXPECT_LE(reduced.size(), std::size_t(4 * (columns + 1) + 1));
    std::vector<double> low(columns + 1, 1e9), high(columns + 1, -1e9);
    for (const QPointF& p : points) {
        if (!std::isnan(p.y())) {
            const auto c = std::size_t(std::floor(p.x() * columns));
            low[c] = std::min(low[c], p.y());
            high[c] = std::max(high[c], p.y());
        }
    }
    std::vector<double> keptLow(columns + 1, 1e9), keptHigh(columns + 1, -1e9);
    int gaps = 0;
    double lastX = -1;
    for (const QPointF& p : reduced) {
        if (std::isnan(p.y())) {
            ++gaps;
            EXPECT_DOUBLE_EQ(lastX, 49999 / 100000.0);  // the gap stays where it was
            continue;
        }
        EXPECT_GE(p.x(), lastX);  // order kept
        lastX = p.x();
        const auto c = std::size_t(std::floor(p.x() * columns));
        keptLow[c] = std::min(keptLow[c], p.y());
        keptHigh[c] = std::max(keptHigh[c], p.y());
    }
    EXPECT_EQ(gaps, 1);
    EXPECT_EQ(keptLow, low);
    EXPECT_EQ(keptHigh, high);
    EXPECT_DOUBLE_EQ(reduced.back().x(), points.back().x());
}

// The whole chain: a million points on a PDF page come out as a few thousand segments.
TEST(ChartPainter, MillionPointsMakeASmallPdf) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    const int rows = 1000000;
    CellStore& cells = data.cellStore();
    const std::uint32_t number = CellStore::pack(CellType::Number, 0);
    for (int r = 1; r <= rows; ++r) {
        cells.set(r, 1, number, 42000 + r / 86400.0);
        cells.set(r, 2, number, 20 + 5 * std::sin(r / 5000.0) + (r % 7) * 0.1);
    }
    Chart& chart = book.charts().add(&data);
    chart.setChartType(xl::XYScatterSmoothNoMarkers);
    chart.setSourceData(data.range(QStringLiteral("A1:B%1").arg(rows)), xl::Columns);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(1200);
        QPainter painter(&writer);
        painter.scale(1200 / 72.0, 1200 / 72.0);
        ChartPainter(chart, DisplayLocale{u',', u'.'}).paint(painter, QRectF(40, 40, 430, 275));
    }
    // All points drawn one by one would take megabytes.
    EXPECT_GT(pdf.size(), 2000);
    EXPECT_LT(pdf.size(), 200000);
}

// Labels, legend and title: inside the chart's rectangle and clear of each other, for the
// report's chart kinds at the usual size and at a small one.
TEST(ChartPainter, TextsStayInsideTheChartAndApart) {
    struct Case {
        const char* what;
        std::function<Chart&(Workbook&)> build;
    };
    const Case cases[] = {
        {"two days, two axes", [](Workbook& b) -> Chart& { return twoChannelChart(b, 576, 5); }},
        {"ten-minute unit over two days",
         [](Workbook& b) -> Chart& {
             Chart& c = twoChannelChart(b, 576, 5);
             c.axes(xl::Category).setMajorUnit(10.0 / 1440);
             c.axes(xl::Category).setHasMajorGridlines(true);
             return c;
         }},
        {"one channel with title",
         [](Workbook& b) -> Chart& {
             Worksheet& data = scatterData(b, 40, 5);
             Chart& c = b.charts().add(&data);
             c.setChartType(xl::XYScatterSmoothNoMarkers);
             c.setSourceData(data.range("A4:B44"), xl::Columns);
             c.seriesCollection(1).setName(QStringLiteral("Температура воздуха в помещении, °C"));
             return c;
         }},
        {"twelve events", [](Workbook& b) -> Chart& { return eventChart(b, 12); }},
        {"300 events", [](Workbook& b) -> Chart& { return eventChart(b, 300); }},
    };
    const QRectF rects[] = {{10, 10, 430, 275}, {10, 10, 190, 120}};
    for (const Case& c : cases) {
        for (const QRectF& rect : rects) {
            SCOPED_TRACE(testing::Message() << c.what << ", " << rect.width() << " pt wide");
            Workbook book;
            Chart& chart = c.build(book);
            TextRecorder device;
            {
                QPainter painter(&device);
                ChartPainter(chart, DisplayLocale{u',', u'.'}).paint(painter, rect);
            }
            const std::vector<TextRecorder::Text>& texts = device.texts();
            ASSERT_GE(texts.size(), 6u);
            for (std::size_t i = 0; i < texts.size(); ++i) {
                const QRectF& a = texts[i].box;
                EXPECT_TRUE(rect.contains(a)) << texts[i].text.toStdString();
                for (std::size_t j = i + 1; j < texts.size(); ++j) {
                    EXPECT_FALSE(a.adjusted(0.2, 0.2, -0.2, -0.2).intersects(texts[j].box))
                        << texts[i].text.toStdString() << " / " << texts[j].text.toStdString();
                }
            }
        }
    }
}

TEST(ChartPainter, AxesOfATwoChannelChart) {
    Workbook book;
    Chart& chart = twoChannelChart(book, 576, 5);  // 08.12 10:00 to 10.12 09:55
    TextRecorder device;
    {
        QPainter painter(&device);
        ChartPainter(chart, DisplayLocale{u',', u'.'}).paint(painter, QRectF(0, 0, 430, 275));
    }
    // Left: temperature 18.3 .. 24.8 from 0; right: humidity 40 .. 70 from 0; below: date and
    // time at noon and midnight.
    std::vector<QString> left, right, below;
    double legendLeft = 1e9;
    for (const TextRecorder::Text& t : device.texts()) {
        const bool number = std::all_of(t.text.begin(), t.text.end(), [](QChar c) {
            return c.isDigit() || c == u'.' || c == u':';
        });
        if (number && (t.text.contains(u'.') || t.text.contains(u':'))) {
            below.push_back(t.text);
        } else if (!number) {
            legendLeft = std::min(legendLeft, t.box.left());
        } else if (t.box.right() < 100) {
            left.push_back(t.text);
        } else {
            right.push_back(t.text);
            EXPECT_LT(t.box.right(), legendLeft);
        }
    }
    EXPECT_EQ(left, (std::vector<QString>{"0", "5", "10", "15", "20", "25", "30"}));
    EXPECT_EQ(right, (std::vector<QString>{"0", "10", "20", "30", "40", "50", "60", "70", "80"}));
    EXPECT_EQ(below, (std::vector<QString>{"08.12.15", "12:00", "09.12.15", "00:00", "09.12.15",
                                           "12:00", "10.12.15", "00:00"}));
    EXPECT_GT(legendLeft, 300);
}
