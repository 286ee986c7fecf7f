#include "report/BuildReport.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportFileName.h"

#include "LocaleTestSupport.h"
#include "ReportTestSupport.h"

#include <QFileInfo>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qorv {
namespace {

using R = ReportOptions;
using test::ReportFixture;
using test::serialOf;
using test::twoChannelLogger;

QString textAt(automation::Worksheet& sheet, const QString& cell) {
    return sheet.range(cell).value2().toString();
}

double numberAt(automation::Worksheet& sheet, const QString& cell) {
    const QVariant v = sheet.range(cell).value2();
    EXPECT_EQ(v.typeId(), QMetaType::Double)
        << cell.toStdString() << " holds " << v.toString().toStdString();
    return v.toDouble();
}

bool isEmpty(automation::Worksheet& sheet, const QString& cell) {
    return !sheet.range(cell).value2().isValid();
}

TEST(BuildReport, PagePositionsOfTheHeadingBlock) {
    struct Case {
        bool setup, status, chart;
        std::vector<int> pageHeadings;
        int tablesBegin;
    };
    const Case cases[] = {
        {true, true, true, {1, 61, 121}, 122}, {true, false, true, {1, 61, 121}, 122},
        {true, true, false, {1, 61}, 63},      {true, false, false, {1, 61}, 66},
        {false, false, true, {1, 61}, 62},     {false, false, false, {1}, 5},
    };
    for (const Case& c : cases) {
        ReportFixture f;
        f.load(twoChannelLogger(3));
        f.state.options.setChecked(R::CheckBox3, c.status);
        f.state.options.setChecked(R::CheckBox1, c.setup);
        f.state.options.setChecked(R::CheckBox9, c.chart);
        f.run();
        const std::string label =
            std::to_string(c.setup) + std::to_string(c.status) + std::to_string(c.chart);
        automation::Worksheet& s = f.report();
        std::set<int> breaks;
        for (size_t page = 0; page < c.pageHeadings.size(); ++page) {
            const int row = c.pageHeadings[page];
            EXPECT_TRUE(textAt(s, QString("E%1").arg(row)).startsWith("№")) << label << row;
            EXPECT_EQ(textAt(s, QString("F%1").arg(row)), QString("Страница %1").arg(page + 1))
                << label;
            if (row != 1) {
                breaks.insert(row);
            }
        }
        EXPECT_EQ(s.rowBreaks(), breaks) << label;
        EXPECT_EQ(textAt(s, QString("A%1").arg(c.tablesBegin)), QString("Время")) << label;
        EXPECT_EQ(textAt(s, "E1"), QString("№Qorv-TH 0A0000001")) << label;
        if (c.pageHeadings.size() > 1) {
            EXPECT_EQ(textAt(s, "E61"), QString("№ Qorv-TH 0A0000001")) << label;
        }
    }
}

TEST(BuildReport, FirstPageOfAFullHeadingBlock) {
    ReportFixture f;
    f.load(twoChannelLogger(2, 2));
    f.state.options.Edit3 = "Протокол";
    f.state.options.Edit4 = "Склад 3";
    f.state.options.setChecked(R::CheckBox5, true);
    f.state.options.setChecked(R::CheckBox4, true);
    f.run();
    automation::Worksheet& s = f.report();
    const int n = 2;
    const int m = f.state.data.StatusRows.size();
    ASSERT_EQ(m, 3);
    const std::vector<std::pair<int, QString>> rows = {
        {1, "Протокол"},
        {2, "Склад 3"},
        {4, "Установочные параметры"},
        {5, "Устройство - Qorv-TH 0A0000001  Версия 2"},
        {6, "Ярлык"},
        {7, "Метка 1"},
        {6 + n, "Метка 2"},
        {7 + n, "Данные сохранены: 02/02/2015 10:00:00"},
        {7 + n + m, "Установочные параметры протокола"},
        {8 + n + m, "1 - Канал - Темпер. - Включен"},
        {9 + n + m, "Коэффициент T = at + b"},
        {10 + n + m, "a=1  b=0"},
        {11 + n + m, "Ср. кинетическая T  ΔH=83,14472 кДж/моль"},
        {12 + n + m, "2 - Канал - Влажность - Включен"},
        {14 + n + m, "a=1  b=0"},
        {15 + n + m, "Коэффициент сглаживания:1"},
        {16 + n + m, "Шаг в отсчеах:1"},
        {17 + n + m, "Сжатие - Включен"},
        {18 + n + m, "Отобразить на графике данные"},
        {19 + n + m, "с 01/02/2015 10:00:00"},
        {20 + n + m, "по 01/02/2015 10:05:00"},
    };
    for (const auto& [row, text] : rows) {
        EXPECT_EQ(textAt(s, QString("A%1").arg(row)), text) << row;
    }
    EXPECT_TRUE(isEmpty(s, "A3"));
    EXPECT_TRUE(isEmpty(s, QString("A%1").arg(21 + n + m)));
    EXPECT_EQ(s.range("A4").font().size(), 12);
    EXPECT_TRUE(s.range("A4").font().bold());
    EXPECT_EQ(s.range("A5").font().size(), 10);
    EXPECT_FALSE(s.range("A5").font().bold());
}

TEST(BuildReport, ChannelsOffListsBothAsSwitchedOff) {
    ReportFixture f;
    f.load(twoChannelLogger(2, 0));
    f.state.options.setChecked(R::CheckBox6, false);
    f.state.options.setChecked(R::CheckBox7, false);
    f.run();
    automation::Worksheet& s = f.report();
    // "Ярлык" alone at row 6, three status rows, then the parameters.
    EXPECT_EQ(textAt(s, "A6"), QString("Ярлык"));
    EXPECT_EQ(textAt(s, "A11"), QString("1 - Канал - Темпер. - Выключен"));
    EXPECT_EQ(textAt(s, "A12"), QString("2 - Канал - Влажность - Выключен"));
    EXPECT_EQ(textAt(s, "A13"), QString("Шаг в отсчеах:1"));
    EXPECT_EQ(f.progress.advances, 3);
}

TEST(BuildReport, ProgressAdvancesFifteenTimesAndStaysFull) {
    ReportFixture f;
    f.load(twoChannelLogger(130));
    f.run();
    EXPECT_EQ(f.progress.maximum, 14);
    EXPECT_EQ(f.progress.advances, 15);
    EXPECT_EQ(f.progress.lastPosition, 14);
    EXPECT_EQ(f.progress.tableMaximum, 130);
    EXPECT_EQ(f.progress.tableAdvances, 130);
    EXPECT_TRUE(f.progress.finished);
}

TEST(BuildReport, LongHeadingBlockContinuesOnTheNextPage) {
    ReportFixture f;
    f.load(twoChannelLogger(3, 70));
    f.run();
    automation::Worksheet& s = f.report();
    EXPECT_EQ(textAt(s, "A60"), QString("Метка 54"));
    EXPECT_TRUE(isEmpty(s, "A61"));
    EXPECT_EQ(textAt(s, "E61"), QString("№ Qorv-TH 0A0000001"));
    EXPECT_EQ(textAt(s, "A62"), QString("Метка 55"));
    EXPECT_EQ(textAt(s, "A77"), QString("Метка 70"));
    EXPECT_EQ(textAt(s, "E121"), QString("№ Qorv-TH 0A0000001"));
    EXPECT_EQ(textAt(s, "F181"), QString("Страница 4"));
    EXPECT_EQ(textAt(s, "A182"), QString("Время"));
    EXPECT_EQ(s.rowBreaks(), std::set<int>({61, 121, 181}));
}

// A range without a sample: the headings, no data row, no printed table and no chart, neither
// in the saved package nor in the PDF copy drawn from the sheet.
TEST(BuildReport, EmptySelectionKeepsTheHeadingsOnly) {
    ReportFixture f;
    f.load(twoChannelLogger(5));
    f.state.options.ComboBoxText[1] = "03/03/2016";
    f.state.options.ComboBoxText[2] = "04/03/2016";
    f.state.options.setChecked(R::CheckBox8, true);
    ASSERT_TRUE(f.state.options.isChecked(R::CheckBox9));
    const ReportFiles files = f.run();
    EXPECT_TRUE(QFileInfo::exists(files.workbook));
    EXPECT_TRUE(files.pdf);
    EXPECT_EQ(f.report().chartObjects().count(), 0);
    QFile saved(files.workbook);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_FALSE(saved.readAll().contains("xl/charts/"));
    EXPECT_EQ(textAt(f.data(), "A3"), QString("График температуры"));
    EXPECT_EQ(textAt(f.data(), "A4"), QString("Время"));
    EXPECT_TRUE(isEmpty(f.data(), "A5"));
    EXPECT_TRUE(isEmpty(f.report(), "A122"));
    EXPECT_TRUE(f.state.data.SampleRows.isEmpty());
    EXPECT_EQ(f.progress.advances, 15);
}

TEST(BuildReport, SecondRunSelectsFromTheFirstRunsSelection) {
    ReportFixture f;
    f.load(twoChannelLogger(10));
    f.state.options.ComboBoxText[4] = "10";
    f.state.options.ComboBoxText[7] = "20";  // 10:00 to 10:20: five samples
    f.run();
    EXPECT_EQ(f.state.data.SampleRows.size(), 5);
    f.state.options.ComboBoxText[7] = "45";
    f.run();
    EXPECT_EQ(f.state.data.SampleRows.size(), 5);
}

QStringList eventLogger(const QStringList& states, const QString& rate) {
    QStringList lines = {"Устройство - Qorv-E 0C0000003  Версия 2",
                         rate,
                         "Данные сохранены: 02/02/2015 10:00:00",
                         "Канал температуры отсутствует",
                         "Канал данных - 1 байт ()",
                         "Значения измеренных величин"};
    const QDateTime start(QDate(2015, 2, 1), QTime(10, 0, 0));
    for (qsizetype i = 0; i < states.size(); ++i) {
        lines << QString("%1 - %2 %3")
                     .arg(start.addSecs(10 * i).toString("dd/MM/yyyy HH:mm:ss"), states[i],
                          states[i] == "1" ? "(Есть)" : "(Нет)");
    }
    return lines;
}

TEST(BuildReport, StateDurationTableListsEachChange) {
    ReportFixture f;
    f.load(eventLogger({"0", "0", "1", "1", "1", "0"}, "Частота регистрации: 10 сек."));
    ASSERT_FALSE(f.state.options.isChecked(R::CheckBox6));
    f.run();
    automation::Worksheet& d = f.data();
    EXPECT_EQ(textAt(d, "B5"), QString("0 (Нет)"));
    EXPECT_EQ(textAt(d, "C5"), QString("1 (Есть)"));
    const QDateTime start(QDate(2015, 2, 1), QTime(10, 0, 0));
    EXPECT_DOUBLE_EQ(numberAt(d, "A6"), serialOf(start.addSecs(20)));
    EXPECT_EQ(numberAt(d, "B6"), 20);
    EXPECT_TRUE(isEmpty(d, "C6"));
    EXPECT_DOUBLE_EQ(numberAt(d, "A7"), serialOf(start.addSecs(50)));
    EXPECT_EQ(numberAt(d, "C7"), 30);
    EXPECT_TRUE(isEmpty(d, "B7"));
    for (const char* cell : {"A8", "B8", "C8", "A11", "C11"}) {
        EXPECT_TRUE(isEmpty(d, cell)) << cell;
    }
    EXPECT_EQ(f.state.data.RateText, QString("10"));

    // A second run on the same loaded file reads the same interval from the reduced text.
    f.run();
    EXPECT_EQ(numberAt(f.data(), "B6"), 20);
}

TEST(BuildReport, StateDurationsOfOneStateAndOfOneSample) {
    ReportFixture f;
    f.load(eventLogger({"1", "1", "1"}, "Частота отсчётов: 2 мин."));
    f.run();
    EXPECT_EQ(numberAt(f.data(), "C6"), 4);
    EXPECT_TRUE(isEmpty(f.data(), "A7"));

    ReportFixture one;
    one.load(eventLogger({"0"}, "Частота регистрации: 10 сек."));
    one.run();
    EXPECT_EQ(numberAt(one.data(), "B6"), 0);
}

TEST(BuildReport, UnreadableRateLineFailsTheEventRun) {
    ReportFixture f;
    f.load(eventLogger({"0", "1"}, "Частота регистрации: раз в 10 сек."));
    EXPECT_THROW(f.run(), ConversionError);
    EXPECT_TRUE(f.progress.finished);
}

TEST(BuildReport, ChannelOneTickedWithoutTemperatureChannel) {
    ReportFixture f;
    f.load(eventLogger({"0", "1", "1"}, "Частота регистрации: 10 сек."));
    f.state.options.setChecked(R::CheckBox6, true);
    f.run();
    // Events with channel 1 ticked: chart data in A and C, channel 1 empty; two-channel table.
    EXPECT_EQ(numberAt(f.data(), "C6"), 0);
    EXPECT_EQ(numberAt(f.data(), "C8"), 1);
    EXPECT_TRUE(isEmpty(f.data(), "B6"));
    EXPECT_TRUE(isEmpty(f.report(), "B123"));
    EXPECT_EQ(numberAt(f.report(), "C124"), 1);
}

TEST(BuildReport, ChannelTwoAloneGoesIntoColumnB) {
    ReportFixture f;
    f.load(twoChannelLogger(3));
    f.state.options.setChecked(R::CheckBox6, false);
    f.run();
    EXPECT_EQ(textAt(f.data(), "B4"), QString("Темпер."));
    EXPECT_EQ(numberAt(f.data(), "B5"), 50);
    EXPECT_TRUE(isEmpty(f.data(), "C5"));
    EXPECT_EQ(textAt(f.report(), "B122"), QString("Влажность, %"));
}

TEST(BuildReport, MeanKineticHeadingInTheTwoChannelTableOnly) {
    ReportFixture f;
    f.load(twoChannelLogger(3));
    f.state.options.setChecked(R::CheckBox5, true);
    f.run();
    EXPECT_EQ(textAt(f.report(), "B122"), QString("CKT,°C"));
    EXPECT_EQ(textAt(f.report(), "C122"), QString("Влажность, %"));

    f.state.options.setChecked(R::CheckBox7, false);
    f.run();
    EXPECT_EQ(textAt(f.report(), "B122"), QString("Темпер.,°C"));
}

TEST(BuildReport, FileNameAndSaves) {
    ReportFixture f;
    f.load(twoChannelLogger(3));
    const QDateTime start(QDate(2015, 12, 8), QTime(14, 3, 9));
    const ReportFiles first = f.run(start);
    EXPECT_EQ(first.workbook, f.dir.filePath("Qorv-TH 0A0000001-081215_140309.xlsx"));
    // The same device in the same second: the second report gets its own name.
    const ReportFiles second = f.run(start);
    EXPECT_EQ(second.workbook, f.dir.filePath("Qorv-TH 0A0000001-081215_140309_2.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(first.workbook));
    EXPECT_TRUE(QFileInfo::exists(second.workbook));

    // A directory typed without its trailing separator still receives the report.
    f.state.options.Edit2 = f.dir.path();
    const ReportFiles third = f.run(QDateTime(QDate(2016, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(QFileInfo(third.workbook).absolutePath(), QFileInfo(f.dir.path()).absoluteFilePath());
    EXPECT_EQ(f.report().name(), QString("График"));
    EXPECT_EQ(f.data().name(), QString("Данные"));
}

// The device number comes from the logger file: whatever it holds, the name it gives stays a
// plain name inside the save directory; real numbers keep theirs.
TEST(ReportFileName, HostileDeviceNumbersGiveHarmlessNames) {
    const std::pair<QString, QString> cases[] = {
        {"Qorv-TH 0A00000012345678", "Qorv-TH 0A00000012345678"},
        {"DS1921G-F5 21000000B2C4D6E8", "DS1921G-F5 21000000B2C4D6E8"},
        {"../../x", "___.._x"},
        {"..", "__"},
        {".hidden", "_hidden"},
        {"a/b\\c", "a_b_c"},
        {"<>:\"|?*", "_______"},
        {"\x1b[31mX", "_[31mX"},
        {"a\tb\nc\x7f", "a_b_c_"},
        {QString::fromUtf8("\u202egpj.exe"), "_gpj.exe"},
        // A Windows device name before the first dot would name the device, not a file.
        {"CON.1", "CON_.1"},
        {"lpt9 .x", "lpt9 _.x"},
        {"COM10.1", "COM10.1"},
        {"CONSOLE.1", "CONSOLE.1"},
        {"", ""},
    };
    for (const auto& [number, name] : cases) {
        EXPECT_EQ(SafeDeviceName(number, 220), name) << number.toStdString();
        EXPECT_EQ(MakeReportPath("/out/", number, "081215_140309"),
                  "/out/" + name + "-081215_140309");
    }
    // Long numbers are cut at a character boundary, so that the name with its stamp, two
    // numbers and the extension fits the file system's 255 bytes.
    for (const QString& unit :
         {QString("Ж"), QString::fromUtf8("\xf0\x9f\x98\x80"), QString("x")}) {
        const QString path = MakeReportPath("/out", unit.repeated(400), "081215_140309");
        const QString name = path.mid(5);
        EXPECT_TRUE(path.startsWith("/out/" + unit) && name.endsWith("-081215_140309"));
        EXPECT_LE(name.toUtf8().size() + 2 * 8 + 5, kMaxNameBytes);
        EXPECT_GT(name.toUtf8().size() + 2 * 8 + 5, kMaxNameBytes - 4);
        EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name);  // no half character
    }
}

// A PDF copy that cannot be written (here: files may grow to 20 kB, enough for the workbook
// and not for the PDF with its fonts) is reported, leaves no file behind, and the run ends
// normally with its workbook saved.
TEST(BuildReport, PdfCopyFailureIsReportedAndTheRunFinishes) {
#ifdef _WIN32
    GTEST_SKIP() << "a failing write is made with fork and a file-size limit, which Windows lacks";
#else
    ReportFixture f;
    f.load(twoChannelLogger(3));
    f.state.options.setChecked(R::CheckBox8, true);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{20000, 20000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const ReportFiles files = f.run();
        // With its reason: the file and the system's word for what went wrong.
        const QString message = f.progress.pdfMessages.value(0);
        const bool reported = f.progress.pdfMessages.size() == 1 &&
                              message.startsWith(QStringLiteral("Ошибка создания PDF: ")) &&
                              message.contains(QStringLiteral(".pdf")) &&
                              message.contains(messages::SystemErrorText(EFBIG));
        _exit(reported && !files.pdf && QFileInfo::exists(files.workbook) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const QStringList left =
        QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(left.filter(".xlsx").size(), 1) << left.join(", ").toStdString();
    EXPECT_EQ(left.size(), 2) << left.join(", ").toStdString();  // the workbook and the logger
#endif
}

TEST(BuildReport, ConversionFailureNamesTheLineAndRemovesTheFirstSave) {
    ReportFixture f;
    QStringList lines = twoChannelLogger(3);
    lines.insert(lines.size() - 1, " 01/02/2015 10:07:00 - 2x.1 °C 50.0 %");
    f.load(lines);
    f.state.options.ComboBoxText[7] = "59";
    try {
        f.run();
        FAIL() << "the run did not fail";
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().contains("2x.1"));
        EXPECT_TRUE(e.message().contains("01/02/2015 10:07:00 - 2x.1 °C 50.0 %"));
        // The line's number in the file, counted over the label and status lines before it.
        EXPECT_TRUE(e.message().contains(QStringLiteral("(строка %1: ").arg(lines.size() - 1)))
            << e.message().toStdString();
    }
    EXPECT_TRUE(f.progress.finished);
    // Nothing that looks like a protocol is left: only the logger file.
    const QStringList left =
        QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_TRUE(left.filter(".xlsx").isEmpty()) << left.join(", ").toStdString();
}

class BuildReportOnEachSystem : public test::OnEachSystem {};
QORV_ON_EACH_SYSTEM(BuildReportOnEachSystem);

TEST_P(BuildReportOnEachSystem, TablesHoldNumbersAndDatesOnEverySystem) {
    ReportFixture f;
    f.load(twoChannelLogger(130));
    f.state.options.Edit7 = "2";
    f.state.options.Edit8 = "-0,5";  // comma on every system
    f.state.chart.TempDecimals = 2;
    f.run();
    const QDateTime start(QDate(2015, 2, 1), QTime(10, 0, 0));
    automation::Worksheet& d = f.data();
    EXPECT_DOUBLE_EQ(numberAt(d, "A5"), serialOf(start));
    EXPECT_DOUBLE_EQ(numberAt(d, "B6"), 39.7);  // 2 * 20.1 - 0.5
    EXPECT_EQ(d.range("B6").numberFormat(), QString("0.000000000000"));
    EXPECT_DOUBLE_EQ(numberAt(d, "C6"), 50.5);

    automation::Worksheet& s = f.report();
    EXPECT_DOUBLE_EQ(numberAt(s, "A123"), serialOf(start));
    EXPECT_DOUBLE_EQ(numberAt(s, "B124"), 39.7);
    EXPECT_EQ(s.range("B124").numberFormat(), QString("0.00"));
    EXPECT_DOUBLE_EQ(numberAt(s, "C124"), 50.5);
    EXPECT_EQ(s.range("C124").numberFormat(), QString("0.0"));
    EXPECT_DOUBLE_EQ(numberAt(s, "D123"), serialOf(start.addSecs(300 * 57)));
    // Sample 115 opens page 4.
    EXPECT_DOUBLE_EQ(numberAt(s, "A183"), serialOf(start.addSecs(300 * 114)));
}

}  // namespace
}  // namespace qorv
