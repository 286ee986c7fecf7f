#include "cli/BuildCommand.h"
#include "support/LoggerFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

// A batch goes on past a missing file and a file whose options fail, reports each with the
// window's own message, and prints the path of every report it saved.
TEST(RunBuild, BatchReportsEachFileAndSavesTheGoodOnes) {
    QTemporaryDir dir;
    const QString good = test::WriteLoggerFile(
        QDir(dir.path()), "good.txt",
        {"Устройство - Qorv-TH 0A0000001  Версия 2", "Частота регистрации: 5 мин.",
         "Данные сохранены: 02/02/2015 10:00:00", "Канал температуры - 2 байта (°C)",
         "Значения измеренных величин", "01/02/2015 10:00:00 - 23.5 °C",
         "01/02/2015 10:05:00 - 23.6 °C"});
    BuildRequest request;
    request.files = {good, dir.filePath("missing.txt"), good};
    request.overrides.given["--out"] = dir.path();
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(RunBuild(request, out, err, false), 2);
    const QStringList saved = outText.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(saved.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(saved[0]) && QFileInfo::exists(saved[1]));
    EXPECT_NE(saved[0], saved[1]);  // same device, same second: the second gets "_2"
    const QString missing = dir.filePath("missing.txt");
    EXPECT_TRUE(errText.contains(missing + ": Файл - " + missing + " - не существует.\n"));
    // Standard error that is no terminal gets no step lines unless they are asked for.
    EXPECT_FALSE(errText.contains("good.txt: 1/14\n")) << errText.toStdString();

    request.files = {good};
    request.progressSteps = true;
    errText.clear();
    EXPECT_EQ(RunBuild(request, out, err, false), 0);
    EXPECT_TRUE(errText.contains("good.txt: 14/14\n")) << errText.toStdString();
    request.progressSteps = false;

    request.files = {good};
    request.overrides.given["--step"] = "1,5";
    errText.clear();
    EXPECT_EQ(RunBuild(request, out, err, false), 2);
    EXPECT_TRUE(errText.startsWith(good + ": Ошибка поля \"Шаг в отсчетах\"!\n"));
}

}  // namespace
}  // namespace qorv::cli
