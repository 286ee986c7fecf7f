#include "SampleWorkbook.h"
#include "automation/AutomationError.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <zip.h>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace qorv::automation;

namespace {

const QDateTime kStamp(QDate(2015, 12, 8), QTime(14, 3, 9), Qt::UTC);

QByteArray readAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QStringList entries(const QString& directory) {
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(SaveAs, AddsTheExtensionAndNeverReplacesAFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString base = dir.filePath(QStringLiteral("1234-081215_140309"));
    Workbook first, second, third;
    EXPECT_EQ(first.saveAs(base), base + ".xlsx");
    EXPECT_EQ(second.saveAs(base), base + "_2.xlsx");
    EXPECT_EQ(third.saveAs(base + ".xlsx"), base + "_3.xlsx");
    EXPECT_EQ(third.fullName(), base + "_3.xlsx");
    const QByteArray before = readAll(base + ".xlsx");
    // Save goes to the path SaveAs used, replacing that file only.
    third.worksheet(1).range("A1").setValue2(QStringLiteral("изменено"));
    third.save();
    EXPECT_EQ(readAll(base + ".xlsx"), before);
    EXPECT_TRUE(readAll(base + "_3.xlsx").contains("xl/sharedStrings.xml"));
    EXPECT_EQ(entries(dir.path()).size(), 3);  // no temporary files left behind
}

TEST(SaveAs, WritesAZipOfTheWorkbookParts) {
    QTemporaryDir dir;
    Workbook book;
    book.setTimestamp(kStamp);
    sample::buildSampleReport(book, {.samples = 30});
    const QByteArray bytes = readAll(book.saveAs(dir.filePath("r")));
    EXPECT_TRUE(bytes.startsWith("PK\x03\x04"));
    for (const char* part :
         {"[Content_Types].xml", "_rels/.rels", "docProps/core.xml", "xl/workbook.xml",
          "xl/_rels/workbook.xml.rels", "xl/styles.xml", "xl/sharedStrings.xml",
          "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml",
          "xl/worksheets/_rels/sheet1.xml.rels", "xl/drawings/drawing1.xml",
          "xl/drawings/_rels/drawing1.xml.rels", "xl/charts/chart1.xml"}) {
        EXPECT_TRUE(bytes.contains(part)) << part;
    }
}

TEST(SaveAs, SameInputGivesTheSameBytes) {
    QTemporaryDir dir;
    QByteArray files[2];
    for (QByteArray& bytes : files) {
        Workbook book;
        book.setTimestamp(kStamp);
        sample::buildSampleReport(book, {.samples = 120});
        bytes = readAll(book.saveAs(dir.filePath("same")));
    }
    EXPECT_FALSE(files[0].isEmpty());
    EXPECT_EQ(files[0], files[1]);
}

// The worksheets after the first are compressed ahead on other threads and copied into the
// archive piece by piece: a second sheet of many pieces reads back whole, its CRC checked.
TEST(SaveAs, ALargeSecondSheetReadsBackWhole) {
    QTemporaryDir dir;
    Workbook book;
    book.setTimestamp(kStamp);
    Worksheet& data = book.sheets().add(&book.worksheet(1));
    constexpr int kRows = 150000;
    TextArray values(kRows, 2);
    QRandomGenerator random(7);  // digits that compress poorly: several megabytes compressed
    for (int row = 0; row < kRows; ++row) {
        values.at(row, 0) = QString::number(random.generateDouble() * 1e6, 'f', 9);
        values.at(row, 1) = QString::number(random.generate());
    }
    data.range(QStringLiteral("A1:B%1").arg(kRows)).setValue(values);
    const QString path = book.saveAs(dir.filePath("large"));

    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    zip_stat_t stat;
    ASSERT_EQ(zip_stat(archive, "xl/worksheets/sheet2.xml", 0, &stat), 0);
    EXPECT_GT(stat.comp_size, 3u << 20);
    zip_file_t* file = zip_fopen(archive, "xl/worksheets/sheet2.xml", 0);
    ASSERT_NE(file, nullptr);
    QByteArray sheet;
    char buffer[1 << 16];
    zip_int64_t got = 0;
    // Reading on to the end makes libzip compare the CRC; a mismatch fails the read.
    while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
        sheet.append(buffer, got);
    }
    EXPECT_EQ(got, 0) << zip_strerror(archive);
    zip_fclose(file);
    zip_close(archive);
    EXPECT_EQ(zip_uint64_t(sheet.size()), stat.size);
    EXPECT_EQ(sheet.count("<row "), kRows);
    EXPECT_TRUE(sheet.endsWith("</worksheet>"));
    EXPECT_TRUE(sheet.contains("<v>" + values.at(kRows - 1, 1).toLatin1() + "</v></c></row>"));
}

TEST(SaveAs, FailsClearlyWhereItCannotWrite) {
    Workbook book;
    try {
        book.saveAs(QStringLiteral("/nonexistent-qorv-dir/report"));
        FAIL() << "saved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::DirectoryMissing);
        EXPECT_TRUE(error.message().contains("nonexistent-qorv-dir"));
    }
    try {
        book.saveAs(QStringLiteral("/proc/qorv-report"));  // exists, but takes no files
        FAIL() << "saved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::CannotWrite);
        EXPECT_TRUE(error.message().contains("/proc/qorv-report.xlsx"));
    }
    EXPECT_TRUE(book.fullName().isEmpty());
    try {
        book.save();
        FAIL() << "saved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::NotSavedYet);
    }
}

TEST(SaveAs, AFullDiskLeavesNoFileBehind) {
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is made with fork and a file-size limit, which Windows lacks";
#else
    QTemporaryDir dir;
    const QString target = dir.filePath("full");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writing past 64 KiB fails as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        Workbook big;
        sample::buildSampleReport(big, {.samples = 20000});
        try {
            big.saveAs(target);
            _exit(1);
        } catch (const AutomationError& error) {
            if (error.kind() != ErrorKind::CannotWrite || error.systemError() != EFBIG) {
                _exit(2);
            }
        }
        // A workbook saved small, then saved again too large: the save fails and the file
        // keeps what the first save wrote.
        Workbook growing;
        sample::buildSampleReport(growing, {.samples = 30});
        if (growing.saveAs(target) != target + ".xlsx") {
            _exit(3);
        }
        TextArray column(20000, 1);
        for (int i = 0; i < 20000; ++i) {
            column.at(i, 0) = QString::number(i * 7919 % 100003) + QStringLiteral(".25");
        }
        growing.worksheet(1).range("H1:H20000").setValue(column);
        try {
            growing.save();
            _exit(4);
        } catch (const AutomationError& error) {
            _exit(error.kind() == ErrorKind::CannotWrite ? 0 : 5);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(entries(dir.path()), QStringList{"full.xlsx"});  // no temporary files
    const QByteArray saved = readAll(target + ".xlsx");
    EXPECT_TRUE(saved.startsWith("PK\x03\x04") && saved.size() < 65536) << saved.size();
#endif
}

TEST(SaveAs, RefusesAnUnplacedChartSheet) {
    QTemporaryDir dir;
    Workbook book;
    book.charts().add(&book.sheetAt(1));
    try {
        book.saveAs(dir.filePath("chart"));
        FAIL() << "saved";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::ChartSheetNotSaved);
    }
    EXPECT_EQ(entries(dir.path()), QStringList());
}
