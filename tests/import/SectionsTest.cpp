// Sorting lines into the label, status and values sections, in the two layouts: the DS1921 one
// and the one of the other loggers.
#include "ImportTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qorv::test {
namespace {

using ::testing::ElementsAre;

TEST(Sections, TwoChannelFileIsSortedIntoItsSections) {
    const Loaded l = LoadFile(FixturePath("two_channel_layout.txt"));
    EXPECT_EQ(l.data.DeviceKind, "XX");  // mentions DS1921, but is a Qorv device
    EXPECT_THAT(l.data.LabelRows, ElementsAre("Холодильная камера 2", "Партия 0415"));
    EXPECT_THAT(
        l.data.StatusRows,
        ElementsAre("Данные сохранены: 12/05/2023 10:00:00", "Канал температуры - 2 байта (°C)",
                    "Канал данных - влажность, 2 байта ()", "Верхний температурный предел: 25.0 °C",
                    "Нижний температурный предел: 15.0 °C", "Выходы за температурные пределы: 2",
                    "Верхний предел канала данных: 70.0 %", "Нижний предел канала данных: 30.0 %",
                    "Выходы за пределы канала данных: 0",
                    // Outside a DS1921 export these two change nothing.
                    "Данные считаны: 12/05/2023 10:00:05", "Значения температуры",
                    "Отсчётов в данной сессии: 4", "Всего измерений: 4"));
    EXPECT_THAT(l.data.SampleRows.toList(), ElementsAre(" 11/05/2023 23:55:00 - 21.5 °C 45.0 %",
                                                        " 12/05/2023 00:00:00 - 21.4 °C 45.2 %",
                                                        " 12/05/2023 00:05:00 - 21.3 °C 45.5 %",
                                                        " 12/05/2023 00:10:00 - 21.3 °C 45.9 %"));
    EXPECT_THAT(
        l.summary.LimitRows,
        ElementsAre("Верхний температурный предел: 25.0 °C", "Нижний температурный предел: 15.0 °C",
                    "Выходы за температурные пределы: 2", "Верхний предел канала данных: 70.0 %",
                    "Нижний предел канала данных: 30.0 %", "Выходы за пределы канала данных: 0"));
    EXPECT_EQ(l.data.TempChannelHeader, "Канал температуры - 2 байта (°C)");
    EXPECT_EQ(l.data.DataChannelHeader, "Канал данных - влажность, 2 байта ()");
    EXPECT_EQ(l.data.DataChannelState, "OK");
    EXPECT_EQ(l.data.TempChannelState, "OK");
}

TEST(Sections, SummaryRowsComeInFileOrderOnce) {
    const Loaded l = LoadFile(FixturePath("two_channel_layout.txt"));
    EXPECT_THAT(l.summary.SummaryRows,
                ElementsAre("Состояние устройства: миссия идёт",
                            "Условия начала измерений: немедленно", "Частота регистрации: 5 мин.",
                            "Кольцевой буфер: выключен", "Превышения кольцевого буфера: нет",
                            "Задержка: 0 мин.", "Данные сохранены: 12/05/2023 10:00:00",
                            "Отсчётов в данной сессии: 4", "Всего измерений: 4"));
    EXPECT_EQ(l.data.RateText, "Частота регистрации: 5 мин.");
}

TEST(Sections, DataSavedLineOpensStatusAndIsItsFirstRowAndASummaryRow) {
    const Loaded l = LoadLines({"Ярлык", "метка", "Данные сохранены: 01/01/2023 00:00:00",
                                "Состояние устройства: ожидание"});
    EXPECT_THAT(l.data.LabelRows, ElementsAre("метка"));
    EXPECT_THAT(l.data.StatusRows, ElementsAre("Данные сохранены: 01/01/2023 00:00:00",
                                               "Состояние устройства: ожидание"));
    EXPECT_THAT(l.summary.SummaryRows, ElementsAre("Данные сохранены: 01/01/2023 00:00:00",
                                                   "Состояние устройства: ожидание"));
}

TEST(Sections, LabelKeywordLineIsNotALabelRow) {
    const Loaded l = LoadLines({"Ярлык: склад", "первая", "", "вторая", "Данные сохранены"});
    EXPECT_THAT(l.data.LabelRows, ElementsAre("первая", "вторая"));
}

TEST(Sections, LinesBeforeAnySectionAreNotCollected) {
    const Loaded l = LoadLines({"Отчёт логгера", " 01/01/2023 00:00:00 - 1.0 °C", "Ярлык", "x"});
    EXPECT_THAT(l.data.LabelRows, ElementsAre("x"));
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
    EXPECT_TRUE(l.data.StatusRows.isEmpty());
}

TEST(Sections, KeywordsCountOnlyAtTheFirstCharacterAndWithTheirCase) {
    const Loaded l = LoadLines({" Ярлык", "ярлык", "ЯРЛЫК", "Это Ярлык", "Ярлык", "метка"});
    EXPECT_THAT(l.data.LabelRows, ElementsAre("метка"));
}

TEST(Sections, SamplesRunUntilTheNextSectionKeyword) {
    const Loaded l = LoadLines({
        "Значения измеренных величин",
        " 01/01/2023 00:00:00 - 1.0 °C",
        "",
        " 01/01/2023 00:01:00 - 1.1 °C",
        "Данные сохранены: 02/01/2023",
        " 01/01/2023 00:02:00 - 1.2 °C",
    });
    EXPECT_THAT(l.data.SampleRows.toList(),
                ElementsAre(" 01/01/2023 00:00:00 - 1.0 °C", " 01/01/2023 00:01:00 - 1.1 °C"));
    EXPECT_THAT(l.data.StatusRows,
                ElementsAre("Данные сохранены: 02/01/2023", " 01/01/2023 00:02:00 - 1.2 °C"));
}

// A section keyword changes the section only after the line itself was collected by the
// section it ends, except "Данные сохранены", which switches first.
TEST(Sections, LabelKeywordInsideValuesIsStillCollectedAsASample) {
    const Loaded l = LoadLines(
        {"Значения измеренных величин", " 01/01/2023 00:00:00 - 1.0 °C", "Ярлык", "текст ярлыка"});
    EXPECT_THAT(l.data.SampleRows.toList(), ElementsAre(" 01/01/2023 00:00:00 - 1.0 °C", "Ярлык"));
    EXPECT_THAT(l.data.LabelRows, ElementsAre("текст ярлыка"));
}

TEST(Sections, ValuesHeaderInsideLabelIsStillALabelRow) {
    const Loaded l = LoadLines(
        {"Ярлык", "метка", "Значения измеренных величин", " 01/01/2023 00:00:00 - 1.0 °C"});
    EXPECT_THAT(l.data.LabelRows, ElementsAre("метка", "Значения измеренных величин"));
    EXPECT_THAT(l.data.SampleRows.toList(), ElementsAre(" 01/01/2023 00:00:00 - 1.0 °C"));
}

TEST(Sections, FileWithoutKeywordsLoadsEmpty) {
    const Loaded l = LoadLines({"просто текст", "ещё строка", "", "12345"});
    EXPECT_TRUE(l.data.LabelRows.isEmpty());
    EXPECT_TRUE(l.data.StatusRows.isEmpty());
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
    EXPECT_TRUE(l.summary.SummaryRows.isEmpty());
    EXPECT_FALSE(l.data.DeviceHeader.has_value());
    EXPECT_FALSE(l.summary.WindowTitle.has_value());
}

// --- Channels and limits --------------------------------------------------------------------

TEST(Channels, AbsentAnnouncementsClearTheStatesAndKeepTheHeaders) {
    const Loaded l = LoadLines(
        {"Данные сохранены", "Канал температуры отсутствует", "Канал данных - отсутствует"});
    EXPECT_EQ(l.data.TempChannelState, "NO");
    EXPECT_EQ(l.data.TempChannelHeader, "NO");
    EXPECT_EQ(l.data.DataChannelState, "NO");
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
}

TEST(Channels, ChannelLinesCountOnlyInTheStatusSection) {
    const Loaded l = LoadLines({"Ярлык", "Канал температуры отсутствует",
                                "Канал данных - влажность ()", "Верхний предел канала данных: 1"});
    EXPECT_EQ(l.data.TempChannelState, "OK");
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
    EXPECT_EQ(l.summary.LimitRows[LoadSummary::DataUpper], "NO");
}

TEST(Channels, LastHeaderAndLastLimitLineWin) {
    const Loaded l =
        LoadLines({"Данные сохранены", "Канал данных - A ()", "Канал данных - B ()",
                   "Нижний предел канала данных: 10", "Нижний предел канала данных: 20"});
    EXPECT_EQ(l.data.DataChannelHeader, "Канал данных - B ()");
    EXPECT_EQ(l.summary.LimitRows[LoadSummary::DataLower], "Нижний предел канала данных: 20");
}

TEST(Channels, AbsentLineAfterAHeaderKeepsTheHeader) {
    const Loaded l = LoadLines(
        {"Данные сохранены", "Канал температуры - 2 байта (°C)", "Канал температуры отсутствует"});
    EXPECT_EQ(l.data.TempChannelHeader, "Канал температуры - 2 байта (°C)");
    EXPECT_EQ(l.data.TempChannelState, "NO");
}

TEST(Limits, BothLowerLimitSpellingsCountInStatus) {
    const Loaded one = LoadLines({"Данные сохранены", "Нижний температурный предел: 1"});
    const Loaded two = LoadLines({"Данные сохранены", "Нижний  температурный предел: 2"});
    EXPECT_EQ(one.summary.LimitRows[LoadSummary::TempLower], "Нижний температурный предел: 1");
    EXPECT_EQ(two.summary.LimitRows[LoadSummary::TempLower], "Нижний  температурный предел: 2");
}

TEST(Limits, TemperatureLimitsOutsideStatusAreIgnoredInOtherFiles) {
    const Loaded l = LoadLines(
        {"Устройство - Qorv-T 0100000000000001  x", "Ярлык", "Верхний температурный предел: 9",
         "Нижний  температурный предел: 1", "Выходы за температурные пределы: 3"});
    EXPECT_THAT(l.summary.LimitRows, ElementsAre("NO", "NO", "NO", "NO", "NO", "NO"));
}

// --- The DS1921 layout ----------------------------------------------------------------------

TEST(Ds1921, DeviceKindNeedsDs1921AndNoQorv) {
    struct Case {
        const char* deviceLine;
        const char* kind;
    };
    for (const Case& c : {
             Case{"Устройство - DS1921G-F5 2A000000A1B2C3D4  x", "21"},
             Case{"Устройство - Qorv DS1921 2A000000A1B2C3D4  x", "XX"},
             Case{"Устройство - ds1921 2A000000A1B2C3D4  x", "XX"},
             Case{"Устройство - DS1922L 2A000000A1B2C3D4  x", "XX"},
             Case{"Модель: DS1921G", "XX"},  // not a device line
         }) {
        const Loaded l = LoadLines({c.deviceLine});
        EXPECT_EQ(l.data.DeviceKind, c.kind) << c.deviceLine;
    }
}

TEST(Ds1921, FileIsSortedTheDs1921Way) {
    const Loaded l = LoadFile(FixturePath("ds1921_layout.txt"));
    EXPECT_EQ(l.data.DeviceKind, "21");
    EXPECT_THAT(l.data.LabelRows,
                ElementsAre("Склад №3, стеллаж 12", "Ответственный: Иванов И.И."));
    // "Данные считаны:" ends the status section; nothing is collected until the values.
    EXPECT_THAT(l.data.StatusRows,
                ElementsAre("Данные сохранены: 05/04/2023 09:15:02",
                            "Текущее время Устройства: 05/04/2023 09:14:58",
                            "Верхний температурный предел: 8.0 °C",
                            "Нижний температурный предел: 2.0 °C", "Канал данных - влажность ()"));
    EXPECT_EQ(l.data.SampleRows.size(), 5);
    EXPECT_EQ(l.data.SampleRows.copyAt(0), " 03/04/2023 08:00 - 4.5 °C");
}

TEST(Ds1921, LimitLinesCountOutsideStatusExceptTheOneBlankLowerLimit) {
    const Loaded l = LoadFile(FixturePath("ds1921_layout.txt"));
    EXPECT_EQ(l.summary.LimitRows[LoadSummary::TempUpper], "Верхний температурный предел: 8.0 °C");
    EXPECT_EQ(l.summary.LimitRows[LoadSummary::TempLower], "Нижний  температурный предел: 2.5 °C");
    EXPECT_EQ(l.summary.LimitRows[LoadSummary::TempExcursions],
              "Выходы за температурные пределы: 1");
}

TEST(Ds1921, DataChannelAlwaysCountsAsAbsent) {
    const Loaded l = LoadFile(FixturePath("ds1921_layout.txt"));
    EXPECT_EQ(l.data.DataChannelHeader, "Канал данных - влажность ()");
    EXPECT_EQ(l.data.DataChannelState, "NO");
}

TEST(Ds1921, MeasuredValuesHeaderDoesNotOpenValues) {
    const Loaded l = LoadLines({"Устройство - DS1921G-F5 2A000000A1B2C3D4  x",
                                "Значения измеренных величин", " 01/01/2023 00:00 - 1.0 °C"});
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
}

TEST(Ds1921, TemperatureValuesHeaderOpensValuesFromAnySection) {
    const Loaded l = LoadLines({"Устройство - DS1921G-F5 2A000000A1B2C3D4  x", "Ярлык", "метка",
                                "Значения температуры", " 01/01/2023 00:00 - 1.0 °C"});
    // The header line is still a label row: the label section collects it before it switches.
    EXPECT_THAT(l.data.LabelRows, ElementsAre("метка", "Значения температуры"));
    EXPECT_THAT(l.data.SampleRows.toList(), ElementsAre(" 01/01/2023 00:00 - 1.0 °C"));
}

TEST(Ds1921, DeviceLineLateInTheFileSwitchesTheLayoutFromThere) {
    const Loaded l =
        LoadLines({"Данные сохранены", "Данные считаны: 1", "Устройство - DS1921 01  x",
                   "Данные считаны: 2", "Канал данных - ()"});
    EXPECT_THAT(l.data.StatusRows,
                ElementsAre("Данные сохранены", "Данные считаны: 1", "Устройство - DS1921 01  x"));
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
}

}  // namespace
}  // namespace qorv::test
