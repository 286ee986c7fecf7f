#include "automation/AutomationError.h"
#include "automation/Workbook.h"

#include <gtest/gtest.h>

using namespace qorv::automation;

namespace {
template <typename Call>
ErrorKind errorOf(Call call) {
    try {
        call();
    } catch (const AutomationError& error) {
        EXPECT_FALSE(error.message().isEmpty());
        return error.kind();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorKind::BadValue;
}
}  // namespace

TEST(Workbook, StartsWithOneSheetNamedList1) {
    Application app = Application::connect();
    Workbook& book = app.workbooks().add();
    EXPECT_EQ(&app.activeWorkbook(), &book);
    ASSERT_EQ(book.sheets().count(), 1);
    EXPECT_EQ(book.sheets().item(1).name(), QStringLiteral("Лист1"));
    EXPECT_EQ(&book.activeSheet(), &book.sheets().item(1));
    EXPECT_EQ(book.styles().font(0).name, "Arial");
    EXPECT_EQ(book.styles().font(0).size, 10);
}

TEST(Workbook, AddsSheetsAfterAGivenSheetAndNamesThem) {
    Workbook book;
    Worksheet& first = book.worksheet(1);
    Worksheet& third = book.sheets().add(&first);
    Worksheet& second = book.sheets().add(&first);
    EXPECT_EQ(book.sheets().count(), 3);
    EXPECT_EQ(second.index(), 2);
    EXPECT_EQ(third.index(), 3);
    EXPECT_EQ(&book.activeSheet(), &second);
    EXPECT_EQ(third.name(), QStringLiteral("Лист2"));
    second.setName(QStringLiteral("Данные"));
    EXPECT_EQ(&book.worksheet(QStringLiteral("данные")), &second);
    EXPECT_EQ(errorOf([&] { book.sheets().item(4); }), ErrorKind::SheetIndexOutOfRange);
    EXPECT_EQ(errorOf([&] { book.sheets().item(0); }), ErrorKind::SheetIndexOutOfRange);
    EXPECT_EQ(errorOf([&] { book.worksheet(QStringLiteral("Нет")); }), ErrorKind::SheetNotFound);
    EXPECT_EQ(errorOf([&] { third.setName(QStringLiteral("ДАННЫЕ")); }), ErrorKind::SheetNameTaken);
    for (const char* bad :
         {"", "a:b", "a/b", "a[1]", "x?", "'quoted'", "0123456789012345678901234567890123"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorOf([&] { third.setName(QString::fromUtf8(bad)); }), ErrorKind::BadSheetName);
    }
    second.setName(QStringLiteral("Данные"));  // its own name again is fine
}

TEST(Range, WritesValuesAndReadsThemBack) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1").setValue2(QStringLiteral("Протокол"));
    sheet.range("A2").setValue2(QStringLiteral("20"));
    sheet.range("A3").setValue2(QStringLiteral("08.12.2015 10:00:00"));
    sheet.range("A4").setFormulaR1C1Local(QStringLiteral("08.12.2015 10:00:00"));
    sheet.range("A5").setValue(QStringLiteral("23,4"));
    EXPECT_EQ(sheet.range("A1").value2().toString(), QStringLiteral("Протокол"));
    EXPECT_EQ(sheet.range("A2").value2().toDouble(), 20);
    EXPECT_EQ(sheet.range("A2").numberFormat(), "0");
    EXPECT_EQ(sheet.range("A3").value2().typeId(), QMetaType::QString);
    EXPECT_EQ(sheet.range("A3").numberFormat(), "General");
    EXPECT_EQ(sheet.range("A4").value2().typeId(), QMetaType::Double);
    EXPECT_EQ(sheet.range("A4").numberFormat(), "dd\\.mm\\.yyyy hh:mm:ss");
    EXPECT_EQ(sheet.range("A5").text(), "23.4");
    EXPECT_EQ(sheet.range("A5").numberFormat(), "0.0");
    sheet.range("A5").setValue(QString());
    EXPECT_FALSE(sheet.range("A5").value2().isValid());
    EXPECT_EQ(sheet.range("A5").numberFormat(), "0.0");  // emptied cells keep their format
    EXPECT_FALSE(sheet.range("Z99").value2().isValid());
    EXPECT_EQ(errorOf([&] { sheet.range("A0"); }), ErrorKind::BadReference);
}

TEST(Range, WritesTwoDimensionalArraysFromTheTopLeftCell) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    const TextArray block = TextArray::fromRows(
        {{"08.12.2015 10:00:00", "1.5", "Нет"}, {"08.12.2015 10:10:00", "2.25", ""}});
    sheet.range("A10").setValue(QStringLiteral("keep"));
    sheet.range("B10:D12").setValue(block);
    EXPECT_EQ(sheet.range("B10").numberFormat(), "dd\\.mm\\.yyyy hh:mm:ss");
    EXPECT_EQ(sheet.range("C11").value2().toDouble(), 2.25);
    EXPECT_EQ(sheet.range("C11").numberFormat(), "0.00");
    EXPECT_EQ(sheet.range("D10").value2().toString(), QStringLiteral("Нет"));
    EXPECT_FALSE(sheet.range("D11").value2().isValid());
    EXPECT_FALSE(sheet.range("B12").value2().isValid());  // outside the array: untouched
    EXPECT_EQ(sheet.range("A10").value2().toString(), "keep");
    // A larger array is cut to the range.
    sheet.range("F1:F2").setValue(TextArray::column({"1", "2", "3"}));
    EXPECT_EQ(sheet.range("F2").value2().toDouble(), 2);
    EXPECT_FALSE(sheet.range("F3").value2().isValid());
    // One text fills every cell of a block.
    sheet.range("G1:H2").setValue2(QStringLiteral("x"));
    EXPECT_EQ(sheet.range("H2").value2().toString(), "x");
    EXPECT_EQ(book.texts().size(), 3u);  // "keep", "Нет", "x": each text stored once
}

TEST(Range, FormatsDeduplicateAndCombine) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1:F3").font().setSize(8);
    sheet.range("A1:F3").font().setBold(true);
    sheet.range("A1:B1").font().setName(QStringLiteral("Arial Narrow"));
    sheet.range("A1:F3").setHorizontalAlignment(3);
    sheet.range("A1:F3").setVerticalAlignment(-4108);
    EXPECT_EQ(sheet.range("C2").font().size(), 8);
    EXPECT_TRUE(sheet.range("C2").font().bold());
    EXPECT_EQ(sheet.range("A1").font().name(), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(sheet.range("C1").font().name(), QStringLiteral("Arial"));
    // Default, Arial 8, Arial 8 bold, Arial Narrow 8 bold.
    EXPECT_EQ(book.styles().fontCount(), 4u);
    const CellFormat& f = book.styles().format(CellStore::formatOf(sheet.cellStore().meta(2, 3)));
    EXPECT_EQ(f.horizontal, HAlign::Center);
    EXPECT_EQ(f.vertical, VAlign::Center);
    sheet.range("A1").setNumberFormatLocal(QStringLiteral("ДД/ММ/ГГ Ч:ММ;@"));
    EXPECT_EQ(sheet.range("A1").numberFormat(), "dd/mm/yy h:mm;@");
    EXPECT_EQ(errorOf([&] { sheet.range("A1").setHorizontalAlignment(99); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").setVerticalAlignment(0); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").font().setSize(0); }), ErrorKind::BadValue);
}

TEST(Range, BordersAllEdgesOrOneEdgeOfTheBlock) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    auto edge = [&](const char* cell, Edge e) {
        const Range r = sheet.range(cell);
        const CellFormat& f = book.styles().format(
            CellStore::formatOf(sheet.cellStore().meta(r.ref().first.row, r.ref().first.column)));
        return QString::fromLatin1(borderStyleName(book.styles().border(f.border).edges[e]));
    };
    sheet.range("A1:B2").borders().setLineStyle(1);
    for (const char* cell : {"A1", "B1", "A2", "B2"}) {
        for (Edge e : {EdgeLeft, EdgeRight, EdgeTop, EdgeBottom}) {
            EXPECT_EQ(edge(cell, e), "thin") << cell << e;
        }
    }
    sheet.range("A5:F5").borders(9).setLineStyle(1);
    sheet.range("A5:F5").borders(9).setWeight(-4138);
    EXPECT_EQ(edge("A5", EdgeBottom), "medium");
    EXPECT_EQ(edge("F5", EdgeBottom), "medium");
    EXPECT_EQ(edge("F5", EdgeTop), "");
    EXPECT_EQ(edge("G5", EdgeBottom), "");
    sheet.range("A8:C10").borders(7).setWeight(4);  // left edge only, made continuous
    EXPECT_EQ(edge("A9", EdgeLeft), "thick");
    EXPECT_EQ(edge("B9", EdgeLeft), "");
    sheet.range("A8:C10").borders(12).setLineStyle(1);
    EXPECT_EQ(edge("B8", EdgeBottom), "thin");
    EXPECT_EQ(edge("B9", EdgeTop), "thin");
    EXPECT_EQ(edge("B10", EdgeBottom), "");
    EXPECT_EQ(errorOf([&] { sheet.range("A1").borders(3); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").borders().setWeight(7); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").borders().setLineStyle(99); }), ErrorKind::BadValue);
}

TEST(Worksheet, RowTopsFollowRowHeights) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    EXPECT_EQ(sheet.range("A1").top(), 0);
    EXPECT_DOUBLE_EQ(sheet.range("A62").top(), 61 * 12.75);
    sheet.range("A1:E10").setRowHeight(20);
    EXPECT_DOUBLE_EQ(sheet.range("A11").top(), 200);
    EXPECT_DOUBLE_EQ(sheet.range("B12").top(), 200 + 12.75);
    EXPECT_EQ(sheet.range("C5").rowHeight(), 20);
    sheet.range("A1:F1").setColumnWidth(13.57);
    EXPECT_EQ(sheet.range("D1").columnWidth(), 13.57);
    EXPECT_EQ(sheet.range("G1").columnWidth(), Worksheet::kDefaultColumnWidth);
    // 13.57 characters of Arial 10 are 100 pixels (99.99 to the nearest pixel).
    EXPECT_DOUBLE_EQ(sheet.range("B1").left(), 100 * 0.75);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").setRowHeight(410); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.range("A1").setColumnWidth(-1); }), ErrorKind::BadValue);
}

TEST(Worksheet, PageBreaksAndPageSetup) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.hPageBreaks().add(sheet.range("A121"));
    sheet.hPageBreaks().add(sheet.range("A61"));
    sheet.hPageBreaks().add(sheet.range("A61"));
    sheet.hPageBreaks().add(sheet.range("A1"));  // nothing above the first row
    EXPECT_EQ(sheet.hPageBreaks().count(), 2);
    EXPECT_EQ(*sheet.rowBreaks().begin(), 61);
    PageSetup& page = sheet.pageSetup();
    page.setPaperSize(9);
    page.setLeftMargin(52);
    page.setHeaderMargin(53);
    EXPECT_EQ(page.paperSize, 9);
    EXPECT_EQ(page.leftMargin, 52);
    EXPECT_EQ(page.headerMargin, 53);
    EXPECT_EQ(errorOf([&] { page.setPaperSize(0); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { page.setTopMargin(-1); }), ErrorKind::BadValue);
    EXPECT_EQ(errorOf([&] { sheet.exportAsFixedFormat(0, "/tmp/x"); }), ErrorKind::NothingToPrint);
}

TEST(CellStore, KeepsTenBytesPerCell) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    QStringList values;
    for (int i = 0; i < 100000; ++i) {
        values << QString::number(i * 0.5, 'f', 1);
    }
    sheet.range("A1:A100000").setValue(TextArray::column(values));
    EXPECT_EQ(sheet.cellStore().lastRow(), 100000);
    EXPECT_EQ(sheet.range("A99999").value2().toDouble(), 49999);
    // All those cells share one format record.
    EXPECT_EQ(book.styles().formatCount(), 2u);
}

// A cell names its format in 14 bits: every format a workbook can make fits, and one more is
// refused rather than written under another's number.
TEST(CellStore, FormatsBeyondWhatACellCanNameAreRefused) {
    Styles styles;
    CellFormat format;
    for (std::uint32_t i = styles.formatCount(); i < CellStore::kFormats; ++i) {
        format.numberFormat = i;
        styles.formatIndex(format);
    }
    ASSERT_EQ(styles.formatCount(), CellStore::kFormats);
    const std::uint32_t last = styles.formatIndex(format);
    EXPECT_EQ(last, CellStore::kFormats - 1);
    const CellMeta meta = CellStore::pack(CellType::Number, last);
    EXPECT_EQ(CellStore::formatOf(meta), last);
    EXPECT_EQ(CellStore::typeOf(meta), CellType::Number);
    format.numberFormat = CellStore::kFormats;
    EXPECT_THROW(styles.formatIndex(format), std::length_error);
    EXPECT_EQ(styles.formatCount(), CellStore::kFormats);
}
