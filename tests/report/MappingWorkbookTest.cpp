// The mapping study's workbook on disk: its name, never over another file, nothing after a
// failure.

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

    const MappingFiles second = BuildMappingWorkbook(study, dir.path(), false, quiet, kStart);
    EXPECT_EQ(second.workbook, dir.filePath(QStringLiteral("Картирование-010226_140309_2.xlsx")));
    EXPECT_EQ(Contents(first.workbook), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
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

}  // namespace
}  // namespace qorv
