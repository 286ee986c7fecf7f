// Produced workbooks opened by other programs: openpyxl reads the cells, formats and the
// chart part; LibreOffice converts the workbook to PDF and back to .xlsx with the chart.

#include "SampleWorkbook.h"
#include "support/LinuxToolsOnly.h"
#include "support/RunProcess.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace qorv::automation;

namespace {

constexpr int kSamples = 200;

using qorv::test::ProcessResult;

ProcessResult run(const QString& program, const QStringList& arguments, int timeoutMs = 180000) {
    return qorv::test::RunProcess(program, arguments, timeoutMs);
}

QString checker() {
    return QStringLiteral(QORV_TEST_DATA "/interop/check_sample.py");
}

QString saveSample(const QTemporaryDir& dir) {
    Application app = Application::connect();
    Workbook& book = app.workbooks().add();
    sample::buildSampleReport(book, {.samples = kSamples});
    return book.saveAs(dir.filePath(QStringLiteral("1234-081215_140309")));
}

ProcessResult convert(const QTemporaryDir& dir, const QString& file, const QString& format,
                      const QString& outDir) {
    return qorv::test::ConvertWithLibreOffice(dir.filePath("profile"), file, format, outDir);
}

}  // namespace

TEST(Interop, OpenpyxlReadsCellsFormatsPageSetupAndChart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = saveSample(dir);
    const ProcessResult check =
        run(QStringLiteral("/usr/bin/python3"),
            {checker(), QStringLiteral("ours"), path, QString::number(kSamples)});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.contains("OK")) << check.output.toStdString();
}

TEST(Interop, LibreOfficeConvertsToPdfWithTheChart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = saveSample(dir);
    const QString out = dir.filePath("pdf");
    QDir().mkpath(out);
    const ProcessResult conversion = convert(dir, path, QStringLiteral("pdf"), out);
    ASSERT_EQ(conversion.exitCode, 0) << conversion.output.toStdString();
    const QString pdf = out + QStringLiteral("/1234-081215_140309.pdf");
    ASSERT_TRUE(QFile::exists(pdf)) << conversion.output.toStdString();
    const ProcessResult text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0);
    // The legend and the secondary axis labels exist only when the chart was drawn.
    EXPECT_TRUE(text.output.contains(QStringLiteral("Темпер.,°C"))) << text.output.toStdString();
    EXPECT_TRUE(text.output.contains(QStringLiteral("Влажность, %")));
    EXPECT_TRUE(text.output.contains(QStringLiteral("Протокол измерений")));
    EXPECT_TRUE(text.output.contains(QStringLiteral("08.12.2015 00:00:00")));
}

TEST(Interop, LibreOfficeKeepsTheChartWhenItSavesTheWorkbook) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = saveSample(dir);
    const QString out = dir.filePath("again");
    QDir().mkpath(out);
    const ProcessResult conversion = convert(dir, path, QStringLiteral("xlsx"), out);
    ASSERT_EQ(conversion.exitCode, 0) << conversion.output.toStdString();
    const QString again = out + QStringLiteral("/1234-081215_140309.xlsx");
    ASSERT_TRUE(QFile::exists(again)) << conversion.output.toStdString();
    const ProcessResult check =
        run(QStringLiteral("/usr/bin/python3"),
            {checker(), QStringLiteral("libreoffice"), again, QString::number(kSamples)});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
}
