// `map`: each place's figures are the ones `stats` gives for the same file over the study's
// period, and a study that cannot be made ends with 1 and no workbook.
#include "cli/CommandLine.h"
#include "cli/StatsCommand.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

QStringList StudyFiles() {
    const QDir folder(QStringLiteral(QORV_EXAMPLES "/mapping"));
    QStringList files;
    for (const QString& name : folder.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        files << folder.filePath(name);
    }
    return files;
}

// Runs the tool's form for `arguments`; its standard output, the exit code in `code`.
QString RunTool(const QStringList& arguments, int& code, QString* errors = nullptr) {
    const Request request = ParseCommandLine(arguments);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    if (const auto* map = std::get_if<MapRequest>(&request)) {
        code = RunMap(*map, out, err);
    } else if (const auto* stats = std::get_if<StatsRequest>(&request)) {
        code = RunStats(*stats, out, err);
    } else {
        code = -1;
    }
    out.flush();
    err.flush();
    if (errors) {
        *errors = errText;
    }
    return outText;
}

std::string Text(const QJsonObject& object) {
    return QJsonDocument(object).toJson().toStdString();
}

// "2023-09-04T10:00:00" as the build form's "04/09/2023 10:00:00".
QString RangeText(const QJsonValue& isoTime) {
    return QDateTime::fromString(isoTime.toString(), Qt::ISODate)
        .toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

TEST(MapCommand, EachPlaceHasTheFiguresOfStatsOverThePeriod) {
    const QStringList files = StudyFiles();
    ASSERT_EQ(files.size(), 5);
    int code = 0;
    const QJsonObject study =
        QJsonDocument::fromJson(RunTool(QStringList{"map", "--json"} + files, code).toUtf8())
            .object();
    ASSERT_EQ(code, 0);
    const QJsonArray loggers = study["loggers"].toArray();
    ASSERT_EQ(loggers.size(), files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QJsonArray stats =
            QJsonDocument::fromJson(RunTool({"stats", "--json", "--from", RangeText(study["start"]),
                                             "--to", RangeText(study["end"]), files[i]},
                                            code)
                                        .toUtf8())
                .array();
        ASSERT_EQ(code, 0);
        const QJsonObject expected = stats[0].toObject()["channels"].toArray()[0].toObject();
        const QJsonObject place = loggers[i].toObject();
        EXPECT_EQ(Text(place["temperature"].toObject()), Text(expected)) << files[i].toStdString();
        EXPECT_EQ(place["interval_seconds"], stats[0].toObject()["interval_seconds"]);
    }
    // The hand-checked figures of the bundled study: the logger started an hour late sets the
    // start, the one logging every 15 minutes the end and the step; the place by the door is
    // warmest, and it alone left the loggers' own range 2–8 °C.
    EXPECT_EQ(study["start"].toString(), QString("2023-09-04T10:00:00"));
    EXPECT_EQ(study["end"].toString(), QString("2023-09-06T08:45:00"));
    EXPECT_EQ(study["step_seconds"].toDouble(), 900);
    EXPECT_EQ(study["range"].toObject()["source"].toString(), QString("loggers"));
    EXPECT_EQ(study["warmest"].toObject()["by_maximum"].toInt(), 3);
    EXPECT_EQ(study["coldest"].toObject()["by_minimum"].toInt(), 0);
    for (qsizetype i = 0; i < loggers.size(); ++i) {
        EXPECT_EQ(loggers[i].toObject()["range"].toObject()["within"].toBool(), i != 3) << i;
    }
    EXPECT_EQ(study["largest_difference"].toObject()["degrees"].toDouble(), 5.2);
}

TEST(MapCommand, AStudyThatCannotBeMadeSavesNothing) {
    QTemporaryDir folder;
    QStringList files = StudyFiles();
    files.insert(2, folder.filePath("missing.txt"));
    int code = 0;
    QString errors;
    const QString out =
        RunTool(QStringList{"map", "--pdf", "-o", folder.path()} + files, code, &errors);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(errors.contains("missing.txt")) << errors.toStdString();
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

    files.removeAt(2);
    const QString saved = RunTool(QStringList{"map", "-o", folder.path()} + files, code, &errors);
    EXPECT_EQ(code, 0) << errors.toStdString();
    EXPECT_TRUE(saved.trimmed().endsWith(".xlsx")) << saved.toStdString();
    EXPECT_TRUE(QFileInfo(saved.trimmed()).fileName().startsWith(QString("Картирование-")));
}

}  // namespace
}  // namespace qorv::cli
