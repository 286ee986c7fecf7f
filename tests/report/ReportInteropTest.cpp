// Reports opened by other programs: openpyxl reads every sample where an independent reading
// of the logger file says it must stand, on a comma and a point system; LibreOffice converts
// the report.

#include "report/BuildReport.h"

#include "LocaleTestSupport.h"
#include "support/LinuxToolsOnly.h"
#include "support/RunProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace qorv {
namespace {

using test::ProcessResult;
using test::RunProcess;

const QString kExample = QStringLiteral(QORV_EXAMPLES "/temperature_humidity.txt");

QString buildExampleReport(const QTemporaryDir& dir) {
    ProgramState state;
    LoadLogFile(state, kExample);
    state.options.Edit2 = dir.path();
    ProgressListener quiet;
    return BuildReport(state, quiet).workbook;
}

class ReportInterop : public test::OnEachSystem {};
QORV_ON_EACH_SYSTEM(ReportInterop);

TEST_P(ReportInterop, OpenpyxlFindsEverySampleWhereItBelongs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString report = buildExampleReport(dir);
    const ProcessResult check =
        RunProcess(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(QORV_TEST_DATA "/interop/check_report.py"), report, kExample});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.startsWith("OK")) << check.output.toStdString();
}

// The text of one page of a PDF.
QString PageText(const QString& pdf, int page) {
    const QString number = QString::number(page);
    return RunProcess(QStringLiteral("pdftotext"),
                      {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf,
                       QStringLiteral("-")})
        .output;
}

int PageCount(const QString& pdf) {
    const QString info = RunProcess(QStringLiteral("pdfinfo"), {pdf}).output;
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? -1 : info.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
}

// The example's sample lines, as the logger wrote them.
QStringList ExampleSamples() {
    QFile file(kExample);
    file.open(QIODevice::ReadOnly);
    QStringDecoder decoder("windows-1251");
    const QString text = decoder(file.readAll());
    const QStringList lines = text.split("\r\n");
    return lines.mid(lines.indexOf("Значения измеренных величин") + 1).filter(" - ");
}

// LibreOffice prints each report page of the saved workbook on one A4 sheet: the pages before
// the chart-data sheet are exactly the report's pages, each beginning with its heading.
TEST(ReportInterop, LibreOfficePrintsOneSheetPerReportPage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString report = buildExampleReport(dir);
    const ProcessResult conversion = test::ConvertWithLibreOffice(
        dir.filePath("profile"), report, QStringLiteral("pdf"), dir.path());
    ASSERT_EQ(conversion.exitCode, 0) << conversion.output.toStdString();
    QString pdf = report;
    pdf.replace(QStringLiteral(".xlsx"), QStringLiteral(".pdf"));
    const int samples = int(ExampleSamples().size());
    const int reportPages = 2 + (samples + 113) / 114;  // heading block, chart, tables
    for (int page = 1; page <= reportPages; ++page) {
        EXPECT_TRUE(PageText(pdf, page).contains(QString("Страница %1").arg(page))) << page;
    }
    EXPECT_TRUE(PageText(pdf, reportPages + 1).contains(QStringLiteral("График температуры")));
}

class ReportPdf : public test::OnEachSystem {};
QORV_ON_EACH_SYSTEM(ReportPdf);

// The program's own PDF copy: one page per report page, each with its heading, the device
// number and the samples of its rows, numbers and dates with the system's separators; the
// chart page shows both series.
TEST_P(ReportPdf, PagesMatchTheReportPages) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgramState state;
    LoadLogFile(state, kExample);
    state.options.Edit2 = dir.path();
    state.options.setChecked(ReportOptions::CheckBox8, true);
    ProgressListener quiet;
    const ReportFiles files = BuildReport(state, quiet);
    ASSERT_TRUE(files.pdf.has_value());
    EXPECT_EQ(*files.pdf, files.workbook.chopped(5) + ".pdf");
    const QStringList samples = ExampleSamples();
    const int pages = 2 + int(samples.size() + 113) / 114;
    ASSERT_EQ(PageCount(*files.pdf), pages);
    const QChar decimal = GetParam().decimal;
    const QChar date = GetParam().date;
    for (int page = 1; page <= pages; ++page) {
        const QString text = PageText(*files.pdf, page);
        EXPECT_TRUE(text.contains(QString("Страница %1").arg(page))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Qorv-TH 0A0000"))) << page;
        if (page < 3) {
            continue;
        }
        // The first sample of each of the page's two blocks.
        for (const int first : {(page - 3) * 114, (page - 3) * 114 + 57}) {
            if (first >= samples.size()) {
                break;
            }
            QString time = samples[first].section(QStringLiteral(" - "), 0, 0).trimmed();
            time.replace(u'/', date);
            QString value = samples[first].section(QStringLiteral(" - "), 1).section(u' ', 0, 0);
            value.replace(u'.', decimal);
            EXPECT_TRUE(text.contains(time)) << page << " " << time.toStdString();
            EXPECT_TRUE(text.contains(value)) << page << " " << value.toStdString();
        }
    }
    // Page 2 carries the chart: the black temperature line and the red humidity line.
    const ProcessResult render =
        RunProcess(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                    QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
                    QStringLiteral("2"), *files.pdf, dir.filePath(QStringLiteral("page"))});
    ASSERT_EQ(render.exitCode, 0) << render.output.toStdString();
    const QImage image(dir.filePath(QStringLiteral("page-02.png")));
    ASSERT_FALSE(image.isNull());
    int red = 0;
    int black = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
            black += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    }
    EXPECT_GT(red, 200);
    EXPECT_GT(black, 400);
}

// Dark blue pixels of page 2 (the chart) of a PDF: the lower limit lines, which nothing else
// on the example's chart is drawn in.
int BlueOnChartPage(const QString& pdf, const QString& prefix) {
    const ProcessResult render = RunProcess(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-f"),
         QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"), pdf, prefix});
    const QImage image(prefix + QStringLiteral("-02.png"));
    if (render.exitCode != 0 || image.isNull()) {
        return -1;
    }
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            blue += c.blue() > 160 && c.red() < 100 && c.green() < 100;
        }
    }
    return blue;
}

// With both channels' lines each channel's lines take its series' colour; the temperature's
// alone are red and blue, and the pictures look for that blue.
ReportFiles BuildWithLimitLines(const QTemporaryDir& dir, bool bothChannels) {
    ProgramState state;
    LoadLogFile(state, kExample);
    state.options.Edit2 = dir.path();
    state.options.setChecked(ReportOptions::CheckBox8, true);
    state.chart.TempLimitLines = true;
    state.chart.DataLimitLines = bothChannels;
    ProgressListener quiet;
    return BuildReport(state, quiet);
}

// openpyxl finds each limit of the logger file as a dashed series on its channel's axes, with
// its block on the chart-data sheet; the program's PDF copy draws the lines.
TEST_P(ReportInterop, LimitLinesAreSeriesOnTheirChannelsAxes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ReportFiles files = BuildWithLimitLines(dir, true);
    const ProcessResult check = RunProcess(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(QORV_TEST_DATA "/interop/check_limits.py"), files.workbook, kExample});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.startsWith("OK")) << check.output.toStdString();
    const ReportFiles one = BuildWithLimitLines(dir, false);
    ASSERT_TRUE(one.pdf.has_value());
    EXPECT_GT(BlueOnChartPage(*one.pdf, dir.filePath(QStringLiteral("ours"))), 100);
}

// LibreOffice draws the limit lines of the saved chart too.
TEST(ReportInterop, LibreOfficeDrawsTheLimitLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ReportFiles files = BuildWithLimitLines(dir, false);
    const QString out = dir.filePath(QStringLiteral("libreoffice"));
    const ProcessResult conversion = test::ConvertWithLibreOffice(
        dir.filePath("profile"), files.workbook, QStringLiteral("pdf"), out);
    ASSERT_EQ(conversion.exitCode, 0) << conversion.output.toStdString();
    const QString pdf = out + u'/' + QFileInfo(files.workbook).completeBaseName() + ".pdf";
    // LibreOffice's plot is narrower than ours: shorter lines.
    EXPECT_GT(BlueOnChartPage(pdf, dir.filePath(QStringLiteral("theirs"))), 30);
}

}  // namespace
}  // namespace qorv
