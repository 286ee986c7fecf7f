// `stats`: the command line reads its options like the build form, prints the figures or the
// JSON keys the README documents, and reports a refused file without stopping the others.
#include "cli/StatsCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

QString Example(const char* name) {
    return QStringLiteral(QORV_EXAMPLES "/") + name;
}

TEST(StatsCommand, JsonOfEachFileWithTheBuildFormsOptions) {
    const Request request =
        ParseCommandLine({"stats", "--json", "--from", "12/05/2023 08:00:00", "--to",
                          "12/05/2023 08:55:00", "--b", "1", Example("temperature_humidity.txt"),
                          Example("events_only.txt"), "--a", "x", "missing.txt"});
    const auto* stats = std::get_if<StatsRequest>(&request);
    ASSERT_NE(stats, nullptr);
    EXPECT_TRUE(stats->json);
    // The options apply to every file; "--a x" refuses them all, so the good files come first
    // in a call of their own.
    StatsRequest good = *stats;
    good.overrides.given.erase("--a");
    good.files = good.files.mid(0, 2);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(RunStats(good, out, err), 0) << errText.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(outText.toUtf8()).array();
    ASSERT_EQ(files.size(), 2);

    const QJsonObject first = files[0].toObject();
    EXPECT_EQ(first["selected"].toInt(), 12);  // 08:00 to 08:55, every 5 minutes
    EXPECT_DOUBLE_EQ(first["interval_seconds"].toDouble(), 300);
    const QJsonObject temperature = first["channels"].toArray()[0].toObject();
    EXPECT_EQ(temperature["kind"].toString(), "temperature");
    EXPECT_EQ(temperature["samples"].toInt(), 12);
    EXPECT_EQ(temperature["first"].toString(), "2023-05-12T08:00:00");
    for (const char* key : {"minimum", "maximum", "mean", "standard_deviation",
                            "mean_kinetic_temperature", "limits"}) {
        EXPECT_TRUE(temperature.contains(key)) << key;
    }
    // ΔH is a number, not the field's text.
    const QJsonValue deltaH = temperature["mean_kinetic_temperature"].toObject()["delta_h"];
    EXPECT_TRUE(deltaH.isDouble());
    EXPECT_DOUBLE_EQ(deltaH.toDouble(), 83.14472);
    EXPECT_EQ(first["non_increasing_spacings"].toInt(-1), 0);
    // "--b 1" moves every value up by one: 20.3 °C at 08:00 counts as 21.3.
    EXPECT_GE(temperature["minimum"].toObject()["value"].toDouble(), 21.3 - 1e-9);
    const QJsonObject events = files[1].toObject()["channels"].toArray()[0].toObject();
    EXPECT_EQ(events["kind"].toString(), "events");
    EXPECT_TRUE(events["events"].toObject().contains("switches"));

    // A refused option and a missing file: each reported, the exit code the worst.
    QString outBad, errBad;
    QTextStream o2(&outBad), e2(&errBad);
    StatsRequest bad = *stats;
    bad.files = {Example("ds1921_temperature.txt"), QStringLiteral("missing.txt")};
    EXPECT_EQ(RunStats(bad, o2, e2), 2);
    const QJsonArray badFiles = QJsonDocument::fromJson(outBad.toUtf8()).array();
    ASSERT_EQ(badFiles.size(), 2);
    EXPECT_EQ(badFiles[0].toObject()["error"].toString(),
              QStringLiteral("Ошибка поля Коэффициент \"a\"!"));
    EXPECT_TRUE(badFiles[1].toObject()["error"].toString().contains("missing.txt"));
}

}  // namespace
}  // namespace qorv::cli
