#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>

using namespace qorv::automation;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string worksheetXml(const Workbook& book, int index, bool hasDrawing = false) {
    const parts::SharedStrings strings = parts::collectSharedStrings(book);
    const auto& sheet = static_cast<const Worksheet&>(book.sheetAt(index));
    parts::WorksheetWriter writer(sheet, strings, index == 1, hasDrawing);
    std::string out;
    while (writer.fill(out)) {
    }
    EXPECT_LE(std::int64_t(out.size()), writer.sizeBound());
    return out;
}

// A small sheet touching each kind of cell and sheet setting once.
void fillSmallSheet(Workbook& book) {
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1").setValue2(QStringLiteral("Дата & <время>"));
    sheet.range("A1").font().setBold(true);
    sheet.range("B2").setValue(QStringLiteral("1,5"));
    sheet.range("C3").borders().setLineStyle(1);
    sheet.range("A3").setRowHeight(20);
    sheet.range("A1:B1").setColumnWidth(13.57);
    sheet.range("D1").setColumnWidth(15);
    sheet.range("B2").setHorizontalAlignment(3);
    sheet.hPageBreaks().add(sheet.range("A61"));
    sheet.pageSetup().setPaperSize(9);
    sheet.pageSetup().setLeftMargin(36);
}

}  // namespace

TEST(WorksheetPart, WritesCellsWidthsHeightsBreaksAndMargins) {
    Workbook book;
    fillSmallSheet(book);
    EXPECT_EQ(worksheetXml(book, 1),
              kDeclaration +
                  "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                  "<dimension ref=\"A1:C3\"/>"
                  "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                  "<sheetFormatPr defaultRowHeight=\"12.75\"/>"
                  "<cols><col min=\"1\" max=\"2\" width=\"14.28515625\" customWidth=\"1\"/>"
                  "<col min=\"4\" max=\"4\" width=\"15.7109375\" customWidth=\"1\"/></cols>"
                  "<sheetData>"
                  "<row r=\"1\"><c r=\"A1\" s=\"1\" t=\"s\"><v>0</v></c></row>"
                  "<row r=\"2\"><c r=\"B2\" s=\"4\"><v>1.5</v></c></row>"
                  "<row r=\"3\" ht=\"20\" customHeight=\"1\"><c r=\"C3\" s=\"3\"/></row>"
                  "</sheetData>"
                  "<pageMargins left=\"0.5\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
                  "header=\"0.3\" footer=\"0.3\"/>"
                  "<pageSetup paperSize=\"9\" orientation=\"portrait\"/>"
                  "<rowBreaks count=\"1\" manualBreakCount=\"1\">"
                  "<brk id=\"60\" max=\"16383\" man=\"1\"/></rowBreaks>"
                  "</worksheet>");
}

// The print scale and print area go with the page set-up; spreadsheet programs keep at most
// 1026 manual breaks, so a longer report saves its first 1026.
TEST(WorksheetPart, PrintScaleAreaAndAtMost1026Breaks) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1").setValue2(QStringLiteral("x"));
    sheet.pageSetup().setPaperSize(9);
    sheet.pageSetup().setZoom(97);
    sheet.pageSetup().setPrintArea(QStringLiteral("$A$1:$F$70000"));
    for (int page = 1; page <= 1100; ++page) {
        sheet.hPageBreaks().add(sheet.range(QStringLiteral("A%1").arg(60 * page + 1)));
    }
    const std::string xml = worksheetXml(book, 1);
    EXPECT_NE(xml.find("<pageSetup paperSize=\"9\" scale=\"97\" orientation=\"portrait\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<rowBreaks count=\"1026\" manualBreakCount=\"1026\">"), std::string::npos);
    EXPECT_NE(xml.find("<brk id=\"61560\" "), std::string::npos);  // the 1026th
    EXPECT_EQ(xml.find("<brk id=\"61620\" "), std::string::npos);
    EXPECT_NE(parts::workbook(book).find(
                  "<definedNames><definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">"
                  "'Лист1'!$A$1:$F$70000</definedName></definedNames>"),
              std::string::npos);
}

TEST(WorksheetPart, ShortestNumbersAndTheDrawingLink) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1").setValue2(QStringLiteral("0.1"));
    sheet.range("A2").setValue2(QStringLiteral("123456789012345678"));
    sheet.range("A4").setRowHeight(0);
    const std::string xml = worksheetXml(book, 1, true);
    EXPECT_NE(xml.find("<c r=\"A1\" s=\"1\"><v>0.1</v></c>"), std::string::npos);
    EXPECT_NE(xml.find("<v>123456789012345680</v>"), std::string::npos);
    EXPECT_NE(xml.find("<row r=\"4\" ht=\"0\" customHeight=\"1\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<drawing r:id=\"rId1\"/></worksheet>"), std::string::npos);
}

// Numbers of a few decimals take a shortcut past the general shortest-form search; every text
// must still be the one std::to_chars gives, fixed or in exponent form.
TEST(WorksheetPart, NumbersAreWrittenAsTheShortestFormGivesThem) {
    std::vector<double> values;
    for (int decimals = 0; decimals <= 6; ++decimals) {
        for (int n = -3000; n <= 3000; ++n) {
            values.push_back(n / std::pow(10.0, decimals));
            values.push_back((n * 7919 + 13) / std::pow(10.0, decimals));
        }
    }
    for (int e = -12; e <= 22; ++e) {
        const double power = std::pow(10.0, e);
        for (double v : {power, -power, 3 * power, 1.5 * power, std::nextafter(power, 0.0),
                         std::nextafter(power, 1e300)}) {
            values.push_back(v);
        }
    }
    for (double v : {0.0, -0.0, 0.1 + 0.2, 1e9 - 0.5, 999999999.9999, 123456.7891, 43831.5,
                     43831.027777777781, 100000.0, 1200000.0, 0.00015, 0.0001, -0.0005}) {
        values.push_back(v);
    }
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> exponent(-8, 12);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::pow(10.0, exponent(random)) * (i % 2 ? 1 : -1));
    }
    // Times as serial days, whose fractions recur day after day (texts kept and reused): every
    // 7 minutes and 13 seconds of three days in each of several powers of two, and around the
    // days where the power of two changes.
    for (double day : {2.0, 1000.0, 32766.0, 43831.0, 65534.0, 2958463.0}) {
        for (int second = 0; second < 3 * 86400; second += 433) {
            values.push_back(day + second / 86400.0);
            values.push_back(day + second / 86400.0 + (second % 1000) / 86400000.0);
        }
    }
    std::uniform_int_distribution<std::uint64_t> mantissa(0, (std::uint64_t(1) << 52) - 1);
    for (int i = 0; i < 20000; ++i) {
        const double power = std::ldexp(1.0, int(i % 52));
        values.push_back(power * (1 + std::ldexp(double(mantissa(random)), -52)));
        values.push_back(values.back());  // the same number again, its fraction kept
    }
    for (double value : values) {
        char expected[32];
        const std::string want(expected, std::to_chars(expected, expected + 32, value).ptr);
        std::string got;
        XmlWriter::appendNumber(got, value);
        ASSERT_EQ(got, want) << "for " << want;
    }
}

// The segments a worksheet is compressed in, side by side, join to the very text of the part.
TEST(WorksheetPart, SegmentsJoinToThePart) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    fillSmallSheet(book);
    CellStore& cells = sheet.cellStore();
    for (int row = 5; row <= 40000; row += (row % 7 == 0 ? 3 : 1)) {
        cells.set(row, 1, CellStore::pack(CellType::Number, 0), row / 10.0);
        cells.set(row, 2, CellStore::pack(CellType::Number, 0), 43831 + row / 1440.0);
    }
    sheet.range("A20000").setRowHeight(30);
    const parts::SharedStrings strings = parts::collectSharedStrings(book);
    parts::WorksheetWriter writer(sheet, strings, true, false);
    const auto segments = writer.segments();
    ASSERT_GT(segments.size(), 2u);
    std::string joined;
    for (const auto& segment : segments) {
        segment(joined);
    }
    EXPECT_EQ(joined, worksheetXml(book, 1));
}

TEST(StylesPart, WritesEachDistinctFormatOnce) {
    Workbook book;
    fillSmallSheet(book);
    EXPECT_EQ(parts::styles(book.styles()),
              kDeclaration +
                  "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                  "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.0\"/></numFmts>"
                  "<fonts count=\"2\">"
                  "<font><sz val=\"10\"/><name val=\"Arial\"/><charset val=\"204\"/></font>"
                  "<font><b/><sz val=\"10\"/><name val=\"Arial\"/><charset val=\"204\"/></font>"
                  "</fonts>"
                  "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                  "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
                  "<borders count=\"2\">"
                  "<border><left/><right/><top/><bottom/><diagonal/></border>"
                  "<border><left style=\"thin\"><color indexed=\"64\"/></left>"
                  "<right style=\"thin\"><color indexed=\"64\"/></right>"
                  "<top style=\"thin\"><color indexed=\"64\"/></top>"
                  "<bottom style=\"thin\"><color indexed=\"64\"/></bottom><diagonal/></border>"
                  "</borders>"
                  "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
                  "borderId=\"0\"/></cellStyleXfs>"
                  "<cellXfs count=\"5\">"
                  "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                  "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                  "applyFont=\"1\"/>"
                  "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                  "applyNumberFormat=\"1\"/>"
                  "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" "
                  "applyBorder=\"1\"/>"
                  "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
                  "applyNumberFormat=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\"/>"
                  "</xf>"
                  "</cellXfs>"
                  "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
                  "</cellStyles></styleSheet>");
}

TEST(SharedStringsPart, EscapesAndCountsTexts) {
    Workbook book;
    fillSmallSheet(book);
    book.worksheet(1).range("D5:D6").setValue2(QStringLiteral(" пробел "));
    book.worksheet(1).range("D7").setValue2(QStringLiteral("не используется"));
    book.worksheet(1).range("D7").setValue2(QString());
    const parts::SharedStrings strings = parts::collectSharedStrings(book);
    EXPECT_EQ(parts::sharedStrings(book.texts(), strings),
              kDeclaration +
                  "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "count=\"3\" uniqueCount=\"2\">"
                  "<si><t>Дата &amp; &lt;время&gt;</t></si>"
                  "<si><t xml:space=\"preserve\"> пробел </t></si></sst>");
}

TEST(WorkbookPart, ListsSheetsInOrderWithTheActiveTab) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.setName(QStringLiteral("Данные"));
    book.sheetAt(1).setName(QStringLiteral("График"));
    book.sheetAt(1).activate();
    EXPECT_EQ(parts::workbook(book),
              kDeclaration +
                  "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                  "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>"
                  "<sheet name=\"График\" sheetId=\"1\" r:id=\"rId1\"/>"
                  "<sheet name=\"Данные\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>");
}

TEST(ContentTypesPart, NamesEveryPart) {
    const std::string xml = parts::contentTypes(2, 1, 1);
    for (const char* part :
         {"/xl/workbook.xml", "/xl/worksheets/sheet1.xml", "/xl/worksheets/sheet2.xml",
          "/xl/drawings/drawing1.xml", "/xl/charts/chart1.xml", "/xl/styles.xml",
          "/xl/sharedStrings.xml", "/docProps/core.xml"}) {
        EXPECT_NE(xml.find(std::string("PartName=\"") + part + "\""), std::string::npos) << part;
    }
    EXPECT_EQ(xml.find("sheet3.xml"), std::string::npos);
}

TEST(ChartPart, ColumnChartWithNamesFromTheHeaderRow) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.setName(QStringLiteral("Дан'ные"));
    data.range("A5:C5").setValue(TextArray::fromRows({{"Время", "0 (Нет)", "1 (Есть)"}}));
    data.range("A6:B6").setValue(TextArray::fromRows({{"08.12.2015 10:00", "20"}}));
    data.range("C7").setValue2(QStringLiteral("30"));
    Chart& chart = book.charts().add(&data);
    chart.setChartType(51);
    chart.setSourceData(data.range("A5:C7"), 2);
    Chart& placed = chart.location(2, QStringLiteral("Лист1"));
    placed.setHasTitle(false);
    placed.legend().remove();
    placed.seriesCollection(2).interior().setColor(255);
    placed.seriesCollection(2).interior().setPattern(1);
    placed.seriesCollection(2).border().setColor(255);
    placed.seriesCollection(2).border().setWeight(-4138);
    const std::string xml = parts::chart(placed);
    const std::string expectedSeries2 =
        "<c:ser><c:idx val=\"1\"/><c:order val=\"1\"/>"
        "<c:tx><c:strRef><c:f>'Дан''ные'!$C$5</c:f></c:strRef></c:tx>"
        "<c:spPr><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill>"
        "<a:ln w=\"19050\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></a:ln></c:spPr>"
        "<c:invertIfNegative val=\"0\"/>"
        "<c:cat><c:numRef><c:f>'Дан''ные'!$A$6:$A$7</c:f></c:numRef></c:cat>"
        "<c:val><c:numRef><c:f>'Дан''ные'!$C$6:$C$7</c:f></c:numRef></c:val></c:ser>";
    EXPECT_NE(xml.find(expectedSeries2), std::string::npos) << xml;
    EXPECT_NE(xml.find("<c:barChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:autoTitleDeleted val=\"1\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<c:catAx><c:axId val=\"1001\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<c:numFmt formatCode=\"dd\\.mm\\.yyyy hh:mm\" sourceLinked=\"1\"/>"),
              std::string::npos);
    EXPECT_EQ(xml.find("<c:legend>"), std::string::npos);
    EXPECT_EQ(xml.find("Cache"), std::string::npos);
    EXPECT_EQ(xml.find("1003"), std::string::npos);  // no secondary axes
}

TEST(ChartPart, ScatterWithSecondaryAxisAndScales) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.range("A1:C2").setValue(TextArray::fromRows(
        {{"08.12.2015 10:00:00", "1.5", "40"}, {"08.12.2015 10:10:00", "2", "45"}}));
    Chart& chart = book.charts().add(&data);
    chart.setChartType(73);
    chart.setSourceData(data.range("A1:C2"), 2);
    chart.seriesCollection(2).setAxisGroup(2);
    chart.axes(2, 2).setMinimumScale(0);
    chart.axes(2, 2).setMaximumScale(100);
    chart.axes(2, 1).setMajorUnit(0.5);
    chart.axes(1, 1).setReversePlotOrder(true);
    chart.axes(1, 1).setDisplayUnit(-3);
    chart.axes(1, 1).setHasMinorGridlines(true);
    const std::string xml = parts::chart(chart);
    EXPECT_NE(xml.find("<c:scatterChart><c:scatterStyle val=\"smoothMarker\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:yVal><c:numRef><c:f>'Лист2'!$C$1:$C$2</c:f></c:numRef></c:yVal>"
                       "<c:smooth val=\"1\"/></c:ser><c:axId val=\"1003\"/><c:axId val=\"1004\"/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c:valAx><c:axId val=\"1001\"/><c:scaling><c:orientation val=\"maxMin\"/>"
                       "</c:scaling><c:delete val=\"0\"/><c:axPos val=\"b\"/><c:minorGridlines/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c:dispUnits><c:builtInUnit val=\"thousands\"/></c:dispUnits>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:valAx><c:axId val=\"1003\"/><c:scaling><c:orientation val=\"minMax\"/>"
                       "</c:scaling><c:delete val=\"1\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:valAx><c:axId val=\"1004\"/><c:scaling><c:orientation val=\"minMax\"/>"
                       "<c:max val=\"100\"/><c:min val=\"0\"/></c:scaling><c:delete val=\"0\"/>"
                       "<c:axPos val=\"r\"/>"),
              std::string::npos);
    // The secondary value axis stands at the right edge in every program.
    EXPECT_NE(xml.find("<c:crossAx val=\"1003\"/><c:crossesAt val=\"2958465\"/>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:majorUnit val=\"0.5\"/>"), std::string::npos);
    EXPECT_NE(xml.find("<c:legend>"), std::string::npos);
    // Two series keep the default: no title, written out so that no program adds one.
    EXPECT_NE(xml.find("<c:autoTitleDeleted val=\"1\"/>"), std::string::npos);
    EXPECT_EQ(xml.find("<c:title>"), std::string::npos);
}

// A series added to a one-series chart: its own ranges and name cell, a dashed line; the
// chart keeps the title it had, and a series without ranges yet writes no references.
TEST(ChartPart, NewDashedSeriesKeepsTheTitle) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.range("A1:B2").setValue(
        TextArray::fromRows({{"08.12.2015 10:00:00", "1.5"}, {"08.12.2015 10:10:00", "2"}}));
    data.range("E1").setValue2(QStringLiteral("Верхний предел"));
    Chart& chart = book.charts().add(&data);
    chart.setChartType(73);
    chart.setSourceData(data.range("A1:B2"), 2);
    chart.seriesCollection(1).setName(QStringLiteral("Темпер."));
    chart.setHasTitle(true);
    chart.setTitleText(chart.titleText());
    Series& line = chart.newSeries();
    line.setXValues(data.range("A1:A2"));
    line.setValues(data.range("F2:F3"));
    line.setNameFrom(data.range("E1"));
    line.border().setColor(255);
    line.border().setWeight(2);
    line.border().setLineStyle(xl::Dash);
    chart.newSeries();
    Series& dashDot = chart.newSeries();
    dashDot.border().setColor(32768);
    dashDot.border().setLineStyle(xl::DashDot);
    EXPECT_EQ(chart.titleText(), QString("Темпер."));
    const std::string xml = parts::chart(chart);
    EXPECT_NE(xml.find("<a:srgbClr val=\"008000\"/></a:solidFill><a:prstDash val=\"dashDot\"/>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c:ser><c:idx val=\"1\"/><c:order val=\"1\"/>"
                       "<c:tx><c:strRef><c:f>'Лист2'!$E$1</c:f></c:strRef></c:tx>"
                       "<c:spPr><a:ln w=\"9525\"><a:solidFill><a:srgbClr val=\"FF0000\"/>"
                       "</a:solidFill><a:prstDash val=\"dash\"/></a:ln></c:spPr>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c:xVal><c:numRef><c:f>'Лист2'!$A$1:$A$2</c:f></c:numRef></c:xVal>"
                       "<c:yVal><c:numRef><c:f>'Лист2'!$F$2:$F$3</c:f></c:numRef></c:yVal>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c:ser><c:idx val=\"2\"/><c:order val=\"2\"/><c:marker>"
                       "<c:symbol val=\"none\"/></c:marker><c:smooth val=\"1\"/></c:ser>"),
              std::string::npos);
    EXPECT_NE(xml.find("<a:t>Темпер.</a:t>"), std::string::npos);
}

TEST(DrawingPart, AnchorsTheChartToCells) {
    Workbook book;
    Worksheet& data = book.sheets().add(&book.sheetAt(1));
    data.range("A1:B1").setValue(TextArray::fromRows({{"1", "2"}}));
    Chart& chart = book.charts().add(&data);
    chart.setSourceData(data.range("A1:B1"), 2);
    chart.location(2, QStringLiteral("Лист1"));
    Worksheet& report = book.worksheet(1);
    Shape& shape = report.shapes().item(1);
    shape.setTop(report.range("A62").top());
    shape.setHeight(report.range("A84").top() - report.range("A62").top());
    shape.setLeft(1);
    shape.setWidth(430);
    const std::string xml = parts::drawing(report);
    EXPECT_NE(xml.find("<xdr:from><xdr:col>0</xdr:col><xdr:colOff>12700</xdr:colOff>"
                       "<xdr:row>61</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from>"),
              std::string::npos)
        << xml;
    // 431 points from the sheet's left edge: eight columns of 48 points, 47 into column I.
    EXPECT_NE(xml.find("<xdr:to><xdr:col>8</xdr:col><xdr:colOff>596900</xdr:colOff>"
                       "<xdr:row>83</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to>"),
              std::string::npos)
        << xml;
    EXPECT_NE(
        xml.find("<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\""),
        std::string::npos);
    EXPECT_NE(xml.find("r:id=\"rId1\"/>"), std::string::npos);
}
