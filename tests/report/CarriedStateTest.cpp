#include "report/CarriedState.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace qorv {
namespace {

// The JSON form goes through another process' standard input: a field without a value must
// stay without one (not become ""), and texts from a logger file must arrive unchanged.
TEST(CarriedState, JsonFormKeepsEveryField) {
    CarriedState none;
    none.Caption = "Qorv_Pr";
    CarriedState empty = none;
    empty.DeviceHeader = empty.DeviceNumber = empty.RateText = QString();
    empty.DataChannelCaption = empty.WindowTitle = QString();
    CarriedState texts;
    const QString hostile = QStringLiteral("Устройство - ") + QChar(0x1b) + "[31m\t\r" + QChar(0) +
                            " «x» " + QString::fromUcs4(U"\U0001F321") + ' ' + QChar(0xFFFD);
    texts.DeviceHeader = hostile;
    texts.DeviceNumber = "../X 7";
    texts.RateText = "Частота регистрации: 5 мин.";
    texts.DataChannelCaption = "Канал данных - 2 байта (%RH)";
    texts.WindowTitle = "Qorv_Pr – Qorv-TH 1";
    texts.Caption = hostile;
    texts.GroupBox1Caption = "Канал температуры - 2 байта (°C)";
    texts.GroupBox2Caption = "";
    texts.MktControlsVisible = true;
    for (const CarriedState& c : {none, empty, texts}) {
        const QByteArray json = QJsonDocument(CarriedStateToJson(c)).toJson();
        const auto back = CarriedStateFromJson(QJsonDocument::fromJson(json).object());
        ASSERT_TRUE(back) << json.toStdString();
        EXPECT_TRUE(*back == c) << json.toStdString();
    }
    EXPECT_TRUE(texts.DeviceHeader->contains(QChar(0)));
}

TEST(CarriedState, IncompleteJsonIsRefused) {
    const QJsonObject whole = CarriedStateToJson(CarriedState{});
    for (const QString& key : whole.keys()) {
        QJsonObject missing = whole;
        missing.remove(key);
        EXPECT_FALSE(CarriedStateFromJson(missing)) << key.toStdString();
        QJsonObject wrong = whole;
        wrong[key] = 1;
        EXPECT_FALSE(CarriedStateFromJson(wrong)) << key.toStdString();
    }
}

// Only a rate line whose reduction can be reduced further makes an event report's run matter
// to the files after it.
TEST(CarriedState, OnlyACraftedRateLineMakesTheRunMatter) {
    const struct {
        const char* rate;
        const char* events;
        bool matters;
    } cases[] = {
        {"Частота регистрации: 5 мин.", "true", false},
        {"Частота отсчётов: 10 сек.", "true", false},
        {"Частота регистрации: 5 се к.", "true", true},     // blanks out, "сек." appears
        {"Частота регистрации: 5 семин.к.", "true", true},  // "мин." out, "сек." appears
        {"Частота регистрации: 5 се к.", "NO", false},      // no events: nothing reduces it
    };
    for (const auto& c : cases) {
        ProgramState state;
        state.data.RateText = QString::fromUtf8(c.rate);
        state.data.HasEvents = c.events;
        EXPECT_EQ(RunMayChangeWhatIsCarried(state), c.matters) << c.rate << ' ' << c.events;
    }
    ProgramState noRate;
    noRate.data.HasEvents = "true";
    EXPECT_FALSE(RunMayChangeWhatIsCarried(noRate));
}

}  // namespace
}  // namespace qorv
