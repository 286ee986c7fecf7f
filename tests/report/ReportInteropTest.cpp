// Reports opened by other programs: openpyxl reads every sample where an independent reading
// of the logger file says it must stand, on a comma and a point system; LibreOffice converts
// the report.

#include "report/BuildReport.h"

#include "LocaleTestSupport.h"
#include "support/RunProcess.h"

#include <QDir>
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

TEST(ReportInterop, LibreOfficeConvertsTheReport) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString report = buildExampleReport(dir);
    const ProcessResult conversion = test::ConvertWithLibreOffice(
        dir.filePath("profile"), report, QStringLiteral("pdf"), dir.path());
    ASSERT_EQ(conversion.exitCode, 0) << conversion.output.toStdString();
    QString pdf = report;
    pdf.replace(QStringLiteral(".xlsx"), QStringLiteral(".pdf"));
    const ProcessResult text = RunProcess(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_EQ(text.exitCode, 0) << text.output.toStdString();
    EXPECT_TRUE(text.output.contains(QStringLiteral("Установочные параметры протокола")));
    EXPECT_TRUE(text.output.contains(QStringLiteral("Страница 3")));
    EXPECT_TRUE(text.output.contains(QStringLiteral("Влажность, %")));
}

}  // namespace
}  // namespace qorv
