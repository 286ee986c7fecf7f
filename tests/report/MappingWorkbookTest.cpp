// The mapping study's workbook on disk: its name, never over another file, nothing after a
// failure.

#include "report/MappingSheets.h"
#include "report/MappingWorkbook.h"

#include "MappingTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qorv {
namespace {

const QDateTime kStart(QDate(2026, 2, 1), QTime(14, 3, 9));

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(MappingWorkbook, IsNamedByTheStartAndNeverReplacesAFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgressListener quiet;
    const MappingStudy study = test::HandStudy();
    const MappingFiles first = BuildMappingWorkbook(study, dir.path(), false, quiet, kStart);
    EXPECT_EQ(first.workbook, dir.filePath(QStringLiteral("Картирование-010226_140309.xlsx")));
    EXPECT_FALSE(first.pdf.has_value());
    const QByteArray before = Contents(first.workbook);
    ASSERT_FALSE(before.isEmpty());

    // The PDF copy, drawn while the workbook is saved, takes the workbook's name as it got it.
    const MappingFiles second = BuildMappingWorkbook(study, dir.path(), true, quiet, kStart);
    EXPECT_EQ(second.workbook, dir.filePath(QStringLiteral("Картирование-010226_140309_2.xlsx")));
    EXPECT_EQ(second.pdf, dir.filePath(QStringLiteral("Картирование-010226_140309_2.pdf")));
    EXPECT_EQ(Contents(first.workbook), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST(MappingWorkbook, FailureLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgressListener quiet;
    const QString missing = dir.filePath(QStringLiteral("нет такой папки"));
    EXPECT_ANY_THROW(BuildMappingWorkbook(test::HandStudy(), missing, true, quiet, kStart));
    EXPECT_TRUE(QDir(dir.path())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
}

// The data sheet's times come from milliseconds by day arithmetic; they must be the very
// numbers the calendar conversion gives, at the ends of the plain range and beyond them.
TEST(MappingWorkbook, SerialDayOfMillisecondsIsTheCalendarOne) {
    const QDateTime times[] = {
        {QDate(2020, 1, 1), QTime(0, 0, 0), Qt::UTC},
        {QDate(2020, 1, 1), QTime(0, 40, 0), Qt::UTC},
        {QDate(2026, 12, 10), QTime(23, 59, 59, 999), Qt::UTC},
        {QDate(1970, 1, 1), QTime(0, 0, 0, 1), Qt::UTC},
        {QDate(1969, 12, 31), QTime(23, 59, 59, 500), Qt::UTC},
        {QDate(1900, 3, 1), QTime(0, 0, 0), Qt::UTC},
        {QDate(1900, 2, 28), QTime(12, 0, 0, 250), Qt::UTC},
        {QDate(1899, 12, 31), QTime(6, 0, 0), Qt::UTC},
        {QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC},
        {QDate(10000, 1, 1), QTime(0, 0, 1), Qt::UTC},
    };
    for (const QDateTime& time : times) {
        EXPECT_EQ(mapping::SerialDayOfMSecs(time.toMSecsSinceEpoch()), mapping::SerialDay(time))
            << time.toString(Qt::ISODateWithMs).toStdString();
    }
}

}  // namespace
}  // namespace qorv
