#pragma once

// A workbook shaped like a two-channel report: a printed sheet with a heading, bordered
// value blocks, page breaks and an embedded chart, and a data sheet the chart draws from.

#include "automation/Workbook.h"

#include <QString>

namespace qorv::automation::sample {

struct SampleOptions {
    int samples = 200;
    bool secondChannel = true;
    bool chart = true;
    int chartRow = 62;
};

// Fills `book` (a fresh workbook) and returns the chart-data header row.
inline int buildSampleReport(Workbook& book, const SampleOptions& options = {}) {
    Worksheet& report = book.worksheet(1);
    Worksheet& data = book.sheets().add(&report);
    for (QChar column : QStringLiteral("ABCDEF")) {
        report.range(QString(column) + u'1').setColumnWidth(13.57);
        data.range(QString(column) + u'1').setColumnWidth(15);
    }
    report.range("A1").setValue2(QStringLiteral("Протокол измерений"));
    report.range("A1").font().setSize(12);
    report.range("A1").font().setBold(true);
    report.range("E1").setValue2(QStringLiteral("№1234"));
    report.range("E1").font().setName(QStringLiteral("Arial Narrow"));
    report.range("E1").font().setSize(8);
    report.range("E1").setHorizontalAlignment(-4108);
    report.range("A5:F5").borders(9).setLineStyle(1);
    report.range("A5:F5").borders(9).setWeight(-4138);
    report.hPageBreaks().add(report.range("A61"));

    const int header = 4;
    data.range("A3").setValue2(QStringLiteral("График температуры"));
    data.range("A4").setValue2(QStringLiteral("Время"));
    data.range("B4").setValue2(QStringLiteral("Темпер."));
    data.range("A4:B4").borders().setLineStyle(1);
    QStringList times, first, second;
    for (int i = 0; i < options.samples; ++i) {
        const int minutes = i * 10;
        times << QStringLiteral("%1.12.2015 %2:%3:00")
                     .arg(8 + minutes / 1440, 2, 10, QChar(u'0'))
                     .arg(minutes / 60 % 24, 2, 10, QChar(u'0'))
                     .arg(minutes % 60, 2, 10, QChar(u'0'));
        first << QString::number(20 + 5 * std::sin(i / 10.0), 'f', 12);
        second << QString::number(50 + 20 * std::cos(i / 15.0), 'f', 12);
    }
    const int firstRow = header + 1;
    const int lastRow = header + options.samples;
    data.range(QStringLiteral("A%1:A%2").arg(firstRow).arg(lastRow))
        .setFormulaR1C1Local(TextArray::column(times));
    data.range(QStringLiteral("B%1:B%2").arg(firstRow).arg(lastRow))
        .setValue(TextArray::column(first));
    if (options.secondChannel) {
        data.range(QStringLiteral("C%1:C%2").arg(firstRow).arg(lastRow))
            .setValue(TextArray::column(second));
    }
    data.range(QStringLiteral("A%1:C%2").arg(firstRow).arg(lastRow)).borders().setLineStyle(1);

    // Printed blocks of 57 rows: time, channel 1, channel 2 (left), the same again (right).
    int row = 122;
    TextArray block(57, 3);
    for (int i = 0; i < std::min(options.samples, 57); ++i) {
        block.at(i, 0) = times[i];
        block.at(i, 1) = QString::number(first[i].toDouble(), 'f', 1);
        block.at(i, 2) = QString::number(second[i].toDouble(), 'f', 1);
    }
    report.hPageBreaks().add(report.range(QStringLiteral("A121")));
    report.range(QStringLiteral("A%1:C%2").arg(row).arg(row + 56)).setValue(block);
    report.range(QStringLiteral("A%1:C%2").arg(row).arg(row + 56)).borders().setLineStyle(1);
    report.range(QStringLiteral("A%1:C%2").arg(row).arg(row + 56)).font().setSize(8);
    report.range(QStringLiteral("A%1:C%2").arg(row).arg(row + 56)).setHorizontalAlignment(3);

    if (options.chart) {
        Chart& created = book.charts().add(&data);
        created.setChartType(73);
        created.setSourceData(data.range(QStringLiteral("A%1:C%2").arg(firstRow).arg(lastRow)), 2);
        Chart& chart = created.location(2, QStringLiteral("Лист1"));
        chart.setHasTitle(false);
        chart.seriesCollection(1).setName(QStringLiteral("Темпер.,°C"));
        chart.seriesCollection(1).border().setColor(255);
        chart.seriesCollection(1).border().setWeight(-4138);
        chart.seriesCollection(1).setMarkerStyle(-4142);
        if (options.secondChannel) {
            chart.seriesCollection(2).setAxisGroup(2);
            chart.seriesCollection(2).setName(QStringLiteral("Влажность, %"));
            chart.seriesCollection(2).border().setColor(16711680);
            chart.seriesCollection(2).border().setWeight(-4138);
            chart.seriesCollection(2).setMarkerStyle(1);
            chart.seriesCollection(2).setMarkerSize(5);
            chart.seriesCollection(2).setMarkerForegroundColor(16711680);
            chart.seriesCollection(2).setMarkerBackgroundColor(16711680);
            chart.axes(2, 2).setMinimumScale(0);
            chart.axes(2, 2).setMaximumScale(100);
            chart.axes(2, 2).setMajorUnit(20);
        }
        chart.axes(2, 1).setMinimumScaleIsAuto(true);
        chart.axes(2, 1).setMaximumScaleIsAuto(true);
        chart.axes(2, 1).setMajorUnitIsAuto(true);
        Axis& time = chart.axes(1, 1);
        time.setHasMajorGridlines(true);
        time.setHasMinorGridlines(false);
        time.setMinimumScaleIsAuto(true);
        time.setMaximumScaleIsAuto(true);
        time.setMinorUnitIsAuto(true);
        time.setMajorUnitIsAuto(true);
        time.setCrosses(-4105);
        time.setReversePlotOrder(false);
        time.setDisplayUnit(-4142);
        const int p = options.chartRow;
        Shape& shape = report.shapes().item(report.chartObjects().count());
        shape.setTop(report.range(QStringLiteral("A%1").arg(p)).top());
        shape.setWidth(430);
        shape.setHeight(report.range(QStringLiteral("A%1").arg(p + 22)).top() -
                        report.range(QStringLiteral("A%1").arg(p)).top());
        shape.setLeft(1);
    }

    // Finishing: fonts, row heights, alignment, A4 page.
    report.range("A2:F290").font().setName(QStringLiteral("Arial Cyr"));
    report.range("E61").font().setName(QStringLiteral("Arial Narrow"));
    report.range("A1:E290").setRowHeight(12.5);
    report.range("A1:E290").setVerticalAlignment(-4108);
    PageSetup& page = report.pageSetup();
    page.setPaperSize(9);
    page.setLeftMargin(52);
    page.setRightMargin(52);
    page.setTopMargin(55);
    page.setBottomMargin(55);
    page.setFooterMargin(53);
    page.setHeaderMargin(53);
    book.sheets().item(1).setName(QStringLiteral("График"));
    book.sheets().item(2).setName(QStringLiteral("Данные"));
    report.activate();
    return header;
}

}  // namespace qorv::automation::sample
