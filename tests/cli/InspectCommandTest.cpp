#include "cli/InspectCommand.h"
#include "support/LoggerFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

class InspectCommandTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QStringList& lines) {
        const QString path = test::WriteLoggerFile(QDir(dir_.path()), name, lines);
        EXPECT_FALSE(path.isEmpty());
        return path;
    }

    QJsonArray inspect(const QStringList& files, int expectedExit = 0) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        EXPECT_EQ(RunInspect(InspectRequest{true, files}, out, err), expectedExit)
            << errText.toStdString();
        return QJsonDocument::fromJson(outText.toUtf8()).array();
    }

    QTemporaryDir dir_;
};

TEST_F(InspectCommandTest, ObjectHasEveryFieldAndNullsForMissingOnes) {
    const QString bare =
        write("bare.txt", {"Значения измеренных величин", "01/02/2015 10:00:00 - 23.5 °C 45.2 %"});
    const QJsonArray result = inspect({bare});
    ASSERT_EQ(result.size(), 1);
    const QJsonObject o = result[0].toObject();
    const QStringList keys = {
        "SourceFileName",    "DeviceHeader",       "DeviceNumber",      "DeviceKind",
        "RateText",          "TempChannelState",   "TempChannelHeader", "DataChannelState",
        "DataChannelHeader", "DataChannelCaption", "HasEvents",         "DataSeriesKind",
        "FirstDate",         "LastDate",           "LabelRows",         "StatusRows",
        "SampleRows",        "WindowTitle",        "SummaryRows",       "LimitRows",
        "CelsiusCount",      "Channel2Name",       "SampleDates",       "FirstTime",
        "LastTime"};
    QStringList sortedKeys = keys;
    sortedKeys.sort();
    EXPECT_EQ(o.keys(), sortedKeys);
    for (const char* field :
         {"DeviceHeader", "DeviceNumber", "RateText", "WindowTitle", "DataChannelCaption"}) {
        EXPECT_TRUE(o[field].isNull()) << field;
    }
    EXPECT_EQ(o["SampleRows"].toArray().size(), 1);
    EXPECT_EQ(o["FirstTime"].toArray(), QJsonArray({"10", "00", "00"}));
    EXPECT_EQ(o["CelsiusCount"].toInt(), 1);
    EXPECT_EQ(o["Channel2Name"].toString(), QString("Влажность"));
}

TEST_F(InspectCommandTest, KeptFieldsCarryToTheNextFile) {
    const QString first = write(
        "first.txt", {"Устройство - Qorv-TH 0A0000001  Версия 2", "Частота регистрации: 5 мин."});
    const QString second = write("second.txt", {"Ярлык", "Склад"});
    const QJsonArray result = inspect({first, second});
    ASSERT_EQ(result.size(), 2);
    const QJsonObject o = result[1].toObject();
    EXPECT_EQ(o["SourceFileName"].toString(), second);
    EXPECT_EQ(o["DeviceNumber"].toString(), QString("Qorv-TH 0A0000001"));
    EXPECT_EQ(o["RateText"].toString(), QString("Частота регистрации: 5 мин."));
    EXPECT_EQ(o["WindowTitle"].toString(), QString("Qorv_Pr – Qorv-TH 0A0000001  Версия 2"));
    EXPECT_TRUE(o["SummaryRows"].toArray().isEmpty());
    EXPECT_EQ(o["LabelRows"].toArray(), QJsonArray({"Склад"}));
}

TEST_F(InspectCommandTest, UnreadableFileIsReportedAndTheOthersStillLoad) {
    const QString good = write("good.txt", {"Ярлык", "Склад"});
    const QJsonArray result = inspect({dir_.filePath("missing.txt"), good}, 1);
    ASSERT_EQ(result.size(), 2);
    EXPECT_TRUE(result[0].toObject().contains("Error"));
    EXPECT_FALSE(result[1].toObject().contains("Error"));
    EXPECT_EQ(result[1].toObject()["LabelRows"].toArray(), QJsonArray({"Склад"}));
}

TEST_F(InspectCommandTest, EveryExampleLoads) {
    const QStringList examples = QDir(QORV_EXAMPLES).entryList({"*.txt"}, QDir::Files);
    ASSERT_GE(examples.size(), 6);
    for (const QString& name : examples) {
        const QJsonArray result = inspect({QDir(QORV_EXAMPLES).filePath(name)});
        ASSERT_EQ(result.size(), 1);
        const QJsonObject o = result[0].toObject();
        EXPECT_FALSE(o["DeviceNumber"].isNull()) << name.toStdString();
        EXPECT_GT(o["SampleRows"].toArray().size(), 100) << name.toStdString();
        EXPECT_GT(o["SampleDates"].toArray().size(), 1) << name.toStdString();
    }
}

}  // namespace
}  // namespace qorv::cli

namespace qorv::cli {
namespace {

TEST(InspectCommand, SourceFileNameIsTheFullPath) {
    QTemporaryDir dir;
    const QString path = test::WriteLoggerFile(QDir(dir.path()), "a.txt", {"Ярлык", "Склад"});
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    RunInspect(InspectRequest{true, {"a.txt"}}, out, err);
    QDir::setCurrent(previous);
    const QJsonArray result = QJsonDocument::fromJson(outText.toUtf8()).array();
    ASSERT_EQ(result.size(), 1);
    EXPECT_EQ(result[0].toObject()["SourceFileName"].toString(),
              QFileInfo(path).absoluteFilePath());
}

}  // namespace
}  // namespace qorv::cli
