#include "SampleWorkbook.h"
#include "automation/Workbook.h"
#include "automation/print/CellText.h"
#include "automation/print/PdfContent.h"
#include "automation/print/PrintLayout.h"
#include "support/RunProcess.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qorv::automation;

namespace {

TEST(PdfContent, NumbersAndGlyphStringsAsTheFileReadsThem) {
    struct NumberCase {
        double value;
        const char* written;
    };
    const NumberCase numbers[] = {
        {0, "0 "},
        {12.5, "12.5 "},
        {-3.25, "-3.25 "},
        {841.8898, "841.89 "},
        {0.0004, "0 "},
        {-0.0004, "0 "},
        {-0.0006, "-0.001 "},
        {0.0105, "0.011 "},
        {1e6 + 0.1, "1000000.1 "},
        {2.0499999, "2.05 "},
    };
    for (const NumberCase& c : numbers) {
        std::string out;
        pdf::AppendNumber(out, c.value);
        EXPECT_EQ(out, c.written) << c.value;
    }
    // Two bytes a glyph; those a literal string would end, escape or turn into another end of
    // line at are escaped.
    struct GlyphCase {
        std::uint32_t glyph;
        std::string written;
    };
    const GlyphCase glyphs[] = {
        {0x0013, std::string("\0\x13", 2)}, {0x0028, std::string("\0\\(", 3)},
        {0x2900, std::string("\\)\0", 3)},  {0x5C0D, std::string("\\\\\\r", 4)},
        {0x000A, std::string("\0\n", 2)},   {0x03F1, std::string("\x03\xF1", 2)},
    };
    for (const GlyphCase& c : glyphs) {
        std::string out;
        pdf::AppendGlyphBytes(out, c.glyph);
        EXPECT_EQ(out, c.written) << c.glyph;
    }
}

// The texts of a column kept for values seen before are those the format gives anew, for
// values that return after others took their place.
TEST(CellTexts, RepeatedValuesShowAsTheirFormatShowsThem) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    QStringList values;
    for (int i = 0; i < 6000; ++i) {
        values << QString::number((i * 7919 % 3001) / 10.0 - 150, 'f', 1);
    }
    sheet.range("A1:A6000").setValue(TextArray::column(values));
    sheet.range("A1:A6000").setNumberFormat(QStringLiteral("0.0"));
    for (const DisplayLocale locale : {DisplayLocale{u',', u'.'}, DisplayLocale{u'.', u'/'}}) {
        const CellTexts texts(sheet, locale);
        const NumberFormatter format(QStringLiteral("0.0"));
        for (int pass = 0; pass < 2; ++pass) {
            for (int row = 1; row <= 6000; ++row) {
                const double value =
                    sheet.range(QStringLiteral("A%1").arg(row)).value2().toDouble();
                ASSERT_EQ(texts.at(row, 1), format.format(value, locale)) << row;
            }
        }
    }
}

// The numbers of the objects the cross-reference table gives, with their offsets.
std::map<int, qint64> CrossReferences(const QByteArray& file, qint64& tableAt) {
    std::map<int, qint64> offsets;
    const qsizetype start = file.lastIndexOf("startxref\n");
    tableAt = file.mid(start + 10, file.indexOf('\n', start + 10) - start - 10).toLongLong();
    const QList<QByteArray> lines = file.mid(tableAt).split('\n');
    if (lines.size() < 3 || lines[0] != "xref") {
        return offsets;
    }
    const int count = lines[1].split(' ').value(1).toInt();
    for (int i = 1; i < count && i + 2 < lines.size(); ++i) {
        offsets[i] = lines[i + 2].left(10).toLongLong();
    }
    return offsets;
}

// A report sheet as a PDF: every object where the cross-reference table says, the fonts
// embedded as subsets, and the texts (also those drawn in another font, and bold ones) read
// back from the pages.
TEST(PdfExport, WritesAConsistentFileWhoseTextsReadBack) {
    QTemporaryDir dir;
    Workbook book;
    sample::buildSampleReport(book);
    Worksheet& report = book.worksheet(1);
    report.range("A3").setValue2(QStringLiteral("Ёлка йод ✓ 测试"));
    report.range("A3").font().setBold(true);
    report.range("D3").setValue2(QStringLiteral("(скобки) \\ 100%"));
    const QString path = report.exportAsFixedFormat(0, dir.filePath("report"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("%PDF-1.4\n"));
    ASSERT_TRUE(bytes.endsWith("%%EOF\n"));

    qint64 tableAt = 0;
    const std::map<int, qint64> offsets = CrossReferences(bytes, tableAt);
    ASSERT_EQ(bytes.mid(tableAt, 5), "xref\n");
    ASSERT_GT(offsets.size(), 10u);
    for (const auto& [number, offset] : offsets) {
        EXPECT_EQ(bytes.mid(offset, QByteArray::number(number).size() + 7),
                  QByteArray::number(number) + " 0 obj\n")
            << number;
    }
    EXPECT_TRUE(bytes.contains("/FontFile2"));
    // One page for each printed page.
    EXPECT_TRUE(bytes.contains("/Count " + QByteArray::number(PaginateSheet(report).size()) + " "));

#ifndef _WIN32
    const QString text =
        qorv::test::RunProcess(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).output;
    for (const char* expected :
         {"Протокол измерений", "Ёлка йод ✓ 测试", "(скобки) \\ 100%", "№1234", "08.12.2015"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    }
    const QString fonts = qorv::test::RunProcess(QStringLiteral("pdffonts"), {path}).output;
    EXPECT_TRUE(
        fonts.contains(QRegularExpression(QStringLiteral("[A-Z]{6}\\+LiberationSans-Bold "
                                                         "+CID TrueType +Identity-H +yes "
                                                         "+yes +yes"))))
        << fonts.toStdString();
#endif
}

}  // namespace
