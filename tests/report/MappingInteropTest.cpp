// The mapping study's workbook as other programs read it: openpyxl finds the summary's figures
// and a series per logger with the range's dashed lines; the PDF copy prints the summary and
// each chart on a landscape A4 page, numbers in the system's separator.

#include "report/MappingWorkbook.h"

#include "LocaleTestSupport.h"
#include "MappingTestSupport.h"
#include "support/LinuxToolsOnly.h"
#include "support/RunProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace qorv {
namespace {

using test::RunProcess;

const QDateTime kStart(QDate(2026, 2, 1), QTime(14, 3, 9));

QJsonObject ReadBack(const QString& workbook) {
    const test::ProcessResult read =
        RunProcess(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(QORV_TEST_DATA "/interop/read_mapping.py"), workbook});
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
    return QJsonDocument::fromJson(read.output.toUtf8()).object();
}

QJsonArray Row(std::initializer_list<QJsonValue> values) {
    return QJsonArray(values);
}

TEST(MappingInterop, OpenpyxlReadsTheSummaryAndTheCharts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgressListener quiet;
    const MappingFiles files =
        BuildMappingWorkbook(test::HandStudy(), dir.path(), false, quiet, kStart);
    const QJsonObject book = ReadBack(files.workbook);
    EXPECT_EQ(book["sheets"].toArray(), Row({"Сводка", "График", "Данные"}));

    // One row per logger; the device number stays text, the figures are numbers and times.
    const QJsonArray rows = book["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].toArray(), Row({2, "0A0002", "Стеллаж 2, верх", 4, 7.5, "2026-02-01T10:10:00",
                                      9.0, "2026-02-01T10:05:00", 8.25, 0.5, 8.5, "0 мин", "10 мин",
                                      "нет", "макс.↑ ср.↑"}));
    EXPECT_EQ(rows[2].toArray()[1], "0033");
    EXPECT_EQ(rows[2].toArray()[11], "5 мин");
    EXPECT_EQ(rows[2].toArray()[14], "мин.↓ ср.↓");
    EXPECT_EQ(rows[0].toArray()[13], "да");
    EXPECT_EQ(rows[0].toArray()[14], QJsonValue());
    const QJsonArray formats = book["formats"].toArray()[1].toArray();
    EXPECT_EQ(formats[4], "0.0");
    EXPECT_EQ(formats[5], "dd\\.mm\\.yyyy hh:mm:ss");
    EXPECT_EQ(formats[8], "0.00");

    // The warmest and the coldest place named below the table, the largest difference with its
    // step's start and both places.
    const QJsonObject lines = book["lines"].toObject();
    EXPECT_EQ(lines["Самое тёплое место (наибольший максимум)"].toArray(),
              Row({9.0, "2026-02-01T10:05:00", "0A0002 — Стеллаж 2, верх"}));
    EXPECT_EQ(lines["Самое холодное место (наименьшее среднее)"].toArray(),
              Row({2.25, QJsonValue(), "0033 — humid.txt"}));
    EXPECT_EQ(lines["Наибольшая разница между местами в один момент, °C"].toArray(),
              Row({7.0, "2026-02-01T10:00:00", QJsonValue()}));
    EXPECT_EQ(lines["В этот момент теплее всего"].toArray()[0], "0A0002 — Стеллаж 2, верх");
    EXPECT_EQ(lines["В этот момент холоднее всего"].toArray()[0], "0033 — humid.txt");
    EXPECT_EQ(lines["Максимум по всем логгерам, °C"].toArray()[0], 9.0);

    // Temperature: a series per logger from its column pair, then the range as two dashed
    // lines; humidity: the one logger that has it.
    const QJsonArray charts = book["charts"].toArray();
    ASSERT_EQ(charts.size(), 2);
    const QJsonArray temperature = charts[0].toArray();
    ASSERT_EQ(temperature.size(), 5);
    const QJsonObject second = temperature[1].toObject();
    EXPECT_EQ(second["name"], "0A0002 — Стеллаж 2, верх");
    EXPECT_EQ(second["x"], "'Данные'!$C$3:$C$6");
    EXPECT_EQ(second["y"], "'Данные'!$D$3:$D$6");
    QSet<QString> colours;
    for (int i = 0; i < 3; ++i) {
        colours.insert(temperature[i].toObject()["colour"].toString());
        EXPECT_NE(temperature[i].toObject()["dash"], "dash") << i;
    }
    EXPECT_EQ(colours.size(), 3);
    for (const auto& [index, name, value] :
         {std::tuple{3, "Нижняя граница диапазона", "$K$3:$K$4"},
          std::tuple{4, "Верхняя граница диапазона", "$L$3:$L$4"}}) {
        const QJsonObject line = temperature[index].toObject();
        EXPECT_EQ(line["name"], name);
        EXPECT_EQ(line["dash"], "dash");
        EXPECT_EQ(line["x"], "'Данные'!$J$3:$J$4");
        EXPECT_EQ(line["y"], QStringLiteral("'Данные'!") + value);
    }
    const QJsonArray humidity = charts[1].toArray();
    ASSERT_EQ(humidity.size(), 1);
    EXPECT_EQ(humidity[0].toObject()["y"], "'Данные'!$H$3:$H$6");
    // The chart data: each pair under its logger's name.
    const QJsonArray data = book["data"].toArray();
    EXPECT_EQ(data[0].toArray(),
              Row({"0A0001 — Стеллаж 1, низ", QJsonValue(), "0A0002 — Стеллаж 2, верх"}));
    EXPECT_EQ(data[1].toArray(), Row({"Время", "Температура, °C", "Время"}));
    EXPECT_EQ(data[2].toArray(), Row({"2026-02-01T10:00:00", 2.0, "2026-02-01T10:00:00"}));
}

// The text of one page of a PDF, and the pages' count and sizes.
QString PageText(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return RunProcess(QStringLiteral("pdftotext"),
                      {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")})
        .output;
}

QString PdfInfo(const QString& pdf) {
    return RunProcess(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                  QStringLiteral("-l"), QStringLiteral("99"), pdf})
        .output;
}

int PageCount(const QString& info) {
    return info.section(QStringLiteral("Pages:"), 1).section(u'\n', 0, 0).trimmed().toInt();
}

class MappingPdf : public test::OnEachSystem {};
QORV_ON_EACH_SYSTEM(MappingPdf);

TEST_P(MappingPdf, SummaryAndEachChartOnALandscapePage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgressListener quiet;
    const MappingFiles files =
        BuildMappingWorkbook(test::HandStudy(), dir.path(), true, quiet, kStart);
    ASSERT_TRUE(files.pdf.has_value());
    EXPECT_EQ(*files.pdf, dir.filePath(QStringLiteral("Картирование-010226_140309.pdf")));
    const QString info = PdfInfo(*files.pdf);
    EXPECT_EQ(PageCount(info), 3) << info.toStdString();
    EXPECT_EQ(info.count(QStringLiteral("842 x 595")), 3) << info.toStdString();

    const QString summary = PageText(*files.pdf, 1);
    EXPECT_TRUE(summary.contains(QStringLiteral("Стеллаж 2, верх")));
    EXPECT_TRUE(summary.contains(QStringLiteral("01.02.2026 10:05:00")));
    EXPECT_TRUE(summary.contains(local("8.25"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(local("7.0"))) << summary.toStdString();
    EXPECT_TRUE(PageText(*files.pdf, 2).contains(QStringLiteral("Температура по местам")));
    EXPECT_TRUE(PageText(*files.pdf, 3).contains(QStringLiteral("Влажность по местам")));
}

// A table longer than a page starts each of its pages with its heading.
TEST(MappingPdfPaging, LongTableRepeatsItsHeading) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MappingStudy study = test::HandStudy();
    study.loggers.resize(1);
    for (int i = 2; i <= 80; ++i) {
        study.loggers.push_back(study.loggers.front());
        study.loggers.back().place = QStringLiteral("Место %1").arg(i);
    }
    study.largestDifference.reset();
    ProgressListener quiet;
    const MappingFiles files = BuildMappingWorkbook(study, dir.path(), true, quiet, kStart);
    ASSERT_TRUE(files.pdf.has_value());
    const QString info = PdfInfo(*files.pdf);
    const int pages = PageCount(info);
    ASSERT_GE(pages, 3) << info.toStdString();  // the summary's pages and the chart
    QString all;
    int tablePages = 0;
    for (int page = 1; page < pages; ++page) {
        const QString text = PageText(*files.pdf, page);
        if (text.contains(QStringLiteral("Место "))) {
            ++tablePages;
            EXPECT_TRUE(text.contains(QStringLiteral("Номер устройства"))) << page;
        }
        all += text;
    }
    EXPECT_GE(tablePages, 2);
    EXPECT_TRUE(all.contains(QStringLiteral("Место 80")));
    EXPECT_TRUE(all.contains(QStringLiteral("нет шага")));
}

}  // namespace
}  // namespace qorv
