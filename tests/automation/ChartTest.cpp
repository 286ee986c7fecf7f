#include "automation/AutomationError.h"
#include "automation/Workbook.h"

#include <gtest/gtest.h>

using namespace qorv::automation;

namespace {

ErrorKind errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorKind::BadValue;
}

// A data sheet with times in A, channel 1 in B (optionally) and channel 2 in C (optionally).
Worksheet& fillData(Workbook& book, bool second, bool header, bool first = true) {
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    if (header) {
        data.range("A4").setValue2(QStringLiteral("Время"));
        data.range("B4").setValue2(QStringLiteral("0 (Нет)"));
        data.range("C4").setValue2(QStringLiteral("1 (Есть)"));
    }
    for (int row = 5; row <= 9; ++row) {
        data.range(QStringLiteral("A%1").arg(row))
            .setFormulaR1C1Local(QStringLiteral("08.12.2015 10:0%1:00").arg(row));
        if (first) {
            data.range(QStringLiteral("B%1").arg(row)).setValue(QString::number(row * 1.5));
        }
        if (second) {
            data.range(QStringLiteral("C%1").arg(row)).setValue(QString::number(row * 10));
        }
    }
    return data;
}

}  // namespace

TEST(Chart, ColumnsWithValuesBecomeSeries) {
    struct Case {
        bool second;
        bool header;
        const char* source;
        int series;
        bool first = true;
    };
    const Case cases[] = {
        {true, false, "A5:C9", 2},
        {false, false, "A5:C9", 1},  // an empty last column C gives no series
        {true, true, "A4:C9", 2},
        {false, true, "A4:C9", 2},         // the header cell alone still gives a series
        {true, false, "A5:C9", 2, false},  // an empty B before a filled C stays series 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Workbook book;
        Worksheet& data = fillData(book, c.second, c.header, c.first);
        Chart& chart = book.charts().add(&data);
        chart.setChartType(73);
        chart.setSourceData(data.range(QString::fromLatin1(c.source)), 2);
        ASSERT_EQ(chart.seriesCount(), c.series);
        const Series& first = chart.seriesCollection(1);
        EXPECT_EQ(first.xValues, parseRange(u"A5:A9"));
        EXPECT_EQ(first.yValues, parseRange(u"B5:B9"));
        EXPECT_EQ(first.name(), c.header ? QStringLiteral("0 (Нет)") : QString());
        EXPECT_EQ(errorOf([&] { chart.seriesCollection(c.series + 1); }),
                  ErrorKind::SeriesOutOfRange);
        EXPECT_EQ(errorOf([&] { chart.seriesCollection(0); }), ErrorKind::SeriesOutOfRange);
    }
}

TEST(Chart, RejectsUnknownTypesAndSources) {
    Workbook book;
    Worksheet& data = fillData(book, true, false);
    Chart& chart = book.charts().add(&data);
    EXPECT_EQ(errorOf([&] { chart.setChartType(4); }), ErrorKind::BadValue);
    chart.setChartType(51);
    EXPECT_EQ(chart.chartType(), 51);
    EXPECT_EQ(errorOf([&] { chart.setSourceData(data.range("A5:A9"), 2); }),
              ErrorKind::NoSourceData);
    EXPECT_EQ(errorOf([&] { chart.setSourceData(data.range("A5:C9"), 1); }), ErrorKind::BadValue);
}

TEST(Chart, LocationMovesTheChartIntoANamedWorksheet) {
    Workbook book;
    Worksheet& data = fillData(book, true, false);
    Chart& created = book.charts().add(&data);
    ASSERT_EQ(book.sheets().count(), 3);
    EXPECT_EQ(book.sheets().item(3).kind(), Sheet::Kind::ChartSheet);
    book.sheets().item(3).setName(QStringLiteral("Отчет 1"));
    created.setChartType(73);
    created.setSourceData(data.range("A5:C9"), 2);
    // An English default name does not exist here: the first attempt fails and changes
    // nothing, as the report's fallback expects.
    EXPECT_EQ(errorOf([&] { created.location(2, QStringLiteral("Sheet1")); }),
              ErrorKind::SheetNotFound);
    EXPECT_EQ(book.sheets().count(), 3);
    Chart& placed = created.location(2, QStringLiteral("Лист1"));
    EXPECT_EQ(&placed, &created);
    EXPECT_EQ(book.sheets().count(), 2);  // the chart sheet is gone
    Worksheet& report = book.worksheet(1);
    ASSERT_EQ(report.chartObjects().count(), 1);
    EXPECT_EQ(&report.shapes().item(1).chart(), &placed);
    EXPECT_EQ(placed.seriesCount(), 2);
    EXPECT_EQ(errorOf([&] { report.shapes().item(2); }), ErrorKind::ShapeOutOfRange);
}

// A new series reads one column per range, all from one sheet; the name is one cell.
TEST(Chart, NewSeriesRangesAreSingleColumnsOfOneSheet) {
    Workbook book;
    Worksheet& data = fillData(book, true, false);
    Worksheet& other = book.sheets().add(&data);
    Chart& chart = book.charts().add(&data);
    chart.setSourceData(data.range("A5:C9"));
    Series& series = chart.newSeries();
    EXPECT_EQ(chart.seriesCount(), 3);
    EXPECT_EQ(errorOf([&] { series.setValues(data.range("B5:C6")); }), ErrorKind::BadValue);
    series.setXValues(data.range("A5:A6"));
    EXPECT_EQ(errorOf([&] { series.setValues(other.range("B5:B6")); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { series.setNameFrom(data.range("E1:E2")); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { series.border().setLineStyle(5); }), ErrorKind::BadValue);
    series.border().setLineStyle(xl::Dash);
    EXPECT_EQ(series.lineStyle, xl::Dash);
    series.border().setLineStyle(xl::DashDot);
    EXPECT_EQ(series.lineStyle, xl::DashDot);
    series.border().setLineStyle(xl::Continuous);
    EXPECT_EQ(series.lineStyle, xl::Continuous);
}

TEST(Chart, SecondaryAxesExistOnlyWithASecondarySeries) {
    Workbook book;
    Worksheet& data = fillData(book, true, false);
    Chart& chart = book.charts().add(&data);
    chart.setChartType(73);
    chart.setSourceData(data.range("A5:C9"), 2);
    EXPECT_EQ(errorOf([&] { chart.axes(2, 2); }), ErrorKind::AxisNotFound);
    EXPECT_EQ(errorOf([&] { chart.axes(3, 1); }), ErrorKind::AxisNotFound);
    chart.seriesCollection(2).setAxisGroup(2);
    Axis& right = chart.axes(2, 2);
    right.setMinimumScale(0);
    right.setMaximumScale(100);
    right.setMajorUnit(20);
    EXPECT_FALSE(right.minimumScaleIsAuto());
    EXPECT_EQ(*right.maximum, 100);
    right.setMinimumScaleIsAuto(true);
    EXPECT_TRUE(right.minimumScaleIsAuto());
    Axis& time = chart.axes(1);
    time.setMajorUnit(10.0 / 60 / 24);
    time.setMinorUnitIsAuto(true);
    time.setCrosses(-4105);
    time.setDisplayUnit(-4142);
    time.setHasMajorGridlines(true);
    EXPECT_EQ(*time.majorUnit, 10.0 / 60 / 24);
    time.setMajorUnitIsAuto(true);
    EXPECT_TRUE(time.majorUnitIsAuto());
    EXPECT_EQ(errorOf([&] { time.setMajorUnit(0); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { time.setCrosses(5); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { chart.seriesCollection(1).setAxisGroup(3); }), ErrorKind::BadValue);
}

TEST(Chart, SeriesFormattingAndTitleAndLegend) {
    Workbook book;
    Worksheet& data = fillData(book, false, false);
    Chart& chart = book.charts().add(&data);
    chart.setChartType(73);
    chart.setSourceData(data.range("A5:C9"), 2);
    EXPECT_TRUE(chart.hasTitle());  // one series: the default title shows
    chart.setHasTitle(false);
    EXPECT_FALSE(chart.hasTitle());
    chart.legend().remove();
    EXPECT_FALSE(chart.hasLegend());
    Series& s = chart.seriesCollection(1);
    s.border().setColor(16711680);
    s.border().setWeight(-4138);
    s.interior().setColor(255);
    s.setMarkerStyle(1);
    s.setMarkerSize(5);
    s.setMarkerForegroundColor(255);
    s.setMarkerBackgroundColor(255);
    EXPECT_EQ(s.border().color(), 16711680);
    EXPECT_EQ(s.border().weight(), -4138);
    EXPECT_EQ(s.interior().pattern(), 1);
    EXPECT_EQ(s.markerStyle(), 1);
    EXPECT_EQ(errorOf([&] { s.border().setColor(0x1000000); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { s.border().setWeight(3); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { s.setMarkerStyle(77); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { s.setMarkerSize(1); }), ErrorKind::BadValue);
    // Formatting series 2 of a one-series chart fails, so the caller can fall back.
    EXPECT_EQ(errorOf([&] { chart.seriesCollection(2).border().setColor(255); }),
              ErrorKind::SeriesOutOfRange);
}

TEST(Shape, CoversTheSameRowsAfterRowHeightsChange) {
    Workbook book;
    Worksheet& data = fillData(book, true, false);
    Chart& chart = book.charts().add(&data);
    chart.setSourceData(data.range("A5:C9"), 2);
    chart.location(2, QStringLiteral("Лист1"));
    Worksheet& report = book.worksheet(1);
    Shape& shape = report.shapes().item(report.chartObjects().count());
    const int p = 62;
    const double top = report.range(QStringLiteral("A%1").arg(p)).top();
    shape.setTop(top);
    shape.setWidth(430);
    shape.setHeight(report.range(QStringLiteral("A%1").arg(p + 22)).top() - top);
    shape.setLeft(1);
    EXPECT_EQ(shape.from().row, p);
    EXPECT_EQ(shape.from().rowOffset, 0);
    EXPECT_EQ(shape.to().row, p + 22);
    EXPECT_EQ(shape.to().rowOffset, 0);
    EXPECT_DOUBLE_EQ(shape.top(), top);
    EXPECT_DOUBLE_EQ(shape.left(), 1);
    EXPECT_NEAR(shape.width(), 430, 1e-9);
    EXPECT_DOUBLE_EQ(shape.height(), 22 * 12.75);
    report.range("A1:E300").setRowHeight(12.5);
    EXPECT_EQ(shape.from().row, p);
    EXPECT_EQ(shape.to().row, p + 22);
    EXPECT_DOUBLE_EQ(shape.top(), 61 * 12.5);
    EXPECT_DOUBLE_EQ(shape.height(), 22 * 12.5);
    // Moving keeps the size.
    shape.setTop(report.range("A10").top());
    EXPECT_EQ(shape.from().row, 10);
    EXPECT_EQ(shape.to().row, 32);
}
