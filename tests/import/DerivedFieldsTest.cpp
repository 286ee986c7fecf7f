// What the reader derives from the lines: device number, window title, rate, channel 2 name and
// caption, data series kind, sample dates and times, and what a second load keeps.
#include "ImportTestSupport.h"
#include "import/LogLineReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qorv::test {
namespace {

using ::testing::ElementsAre;

QStringList WithSamples(QStringList head, const QStringList& samples) {
    head += samples;
    return head;
}

// --- Device line ----------------------------------------------------------------------------

TEST(DeviceNumber, RunsFromThe14thCharacterToTheFirstDoubleBlank) {
    struct Case {
        const char* line;
        const char* number;
    };
    for (const Case& c : {
             Case{"Устройство - Qorv-TH 0A00000012345678  Версия 2  x", "Qorv-TH 0A00000012345678"},
             Case{"Устройство - DS1921G-F5 2A000000A1B2C3D4  ", "DS1921G-F5 2A000000A1B2C3D4"},
             // A double blank right at the 14th character leaves nothing: 16 characters instead.
             Case{"Устройство -   DS1921G-F5 2A000000A1B2C3D4", "  DS1921G-F5 2A0"},
             // Without a double blank after it the number has no end and counts as empty.
             Case{"Устройство - DS1921G-F5 2A000000A1B2C3D4", "DS1921G-F5 2A000"},
             Case{"Устройство - AB", "AB"},
             Case{"Устройство -", ""},
             // Two blanks right after "Устройство -" are the line's first double blank: the
             // number ends before it begins, so it is empty and the 16 characters stand instead.
             Case{"Устройство -  X  Y", " X  Y"},
         }) {
        EXPECT_EQ(DeviceNumberOf(QString::fromUtf8(c.line)), QString::fromUtf8(c.number)) << c.line;
    }
}

TEST(DeviceLine, LastDeviceLineGivesHeaderNumberAndTitle) {
    RecordingListener listener;
    const Loaded l = LoadLines(
        {"Устройство - Qorv-T 0100000000000001  a", "Устройство - Qorv-TH 0A00000012345678  b"},
        &listener);
    EXPECT_EQ(l.data.DeviceHeader, "Устройство - Qorv-TH 0A00000012345678  b");
    EXPECT_EQ(l.data.DeviceNumber, "Qorv-TH 0A00000012345678");
    EXPECT_EQ(l.summary.WindowTitle, "Qorv_Pr – Qorv-TH 0A00000012345678  b");
    EXPECT_EQ(listener.events.filter("title:").size(), 2);
}

TEST(DeviceLine, TitleReplacesEveryDevicePrefixIgnoringCase) {
    const Loaded l = LoadLines({"Устройство - X1  (УСТРОЙСТВО - копия, устройство - ещё)"});
    EXPECT_EQ(l.summary.WindowTitle, "Qorv_Pr – X1  (Qorv_Pr – копия, Qorv_Pr – ещё)");
    EXPECT_EQ(l.summary.WindowTitle->at(8), QChar(0x2013));  // an en dash, not a hyphen
}

// --- Rate and summary lines -----------------------------------------------------------------

TEST(RateText, LastRateLineOfEitherFormWins) {
    const Loaded l = LoadLines({"Частота регистрации: 5 мин.", "Частота отсчёта: 10 сек."});
    EXPECT_EQ(l.data.RateText, "Частота отсчёта: 10 сек.");
    // "Частота отсчёта" is a rate line but not one of the summary lines.
    EXPECT_THAT(l.summary.SummaryRows, ElementsAre("Частота регистрации: 5 мин."));
}

TEST(SummaryRows, EachSummaryLineIsAppendedAndAnnounced) {
    const QStringList lines = {"Частота регистрации: 1",
                               "Данные сохранены: 2",
                               "Состояние устройства: 3",
                               "Условия начала измерений: 4",
                               "Кольцевой буфер: 5",
                               "Превышения кольцевого буфера: 6",
                               "Первый отсчёт: 7",
                               "Задержка: 8",
                               "Отсчётов в данной сессии: 9",
                               "Всего измерений: 10",
                               "Текущее время Устройства: 11",
                               "Частота отсчётов: 12",
                               "Первый отсчет: без ё",
                               "Текущее время устройства: 13"};
    RecordingListener listener;
    const Loaded l = LoadLines(lines, &listener);
    EXPECT_EQ(l.summary.SummaryRows, lines.mid(0, 12));
    QStringList announced = listener.events.filter("summary:");
    announced.replaceInStrings("summary:", "");
    EXPECT_EQ(announced, lines.mid(0, 12));
    EXPECT_EQ(l.data.RateText, "Частота отсчётов: 12");
}

// --- Channel 2 name and caption -------------------------------------------------------------

TEST(Channel2Name, FollowsTheFirstSample) {
    struct Case {
        const char* firstSample;
        const char* name;
    };
    for (const Case& c : {
             Case{" 01/01/2023 00:00:00 - 21.0 °C 45.0 %", "Влажность"},
             Case{" 01/01/2023 00:00:00 - 21.0 °C (Есть)", "Событие"},
             Case{" 01/01/2023 00:00:00 - 21.0 °C (Нет)", "Событие"},
             Case{" 01/01/2023 00:00:00 - 21.0 °C", "Данные"},
             // Both: "%" is looked at last.
             Case{" 01/01/2023 00:00:00 - (Нет) 5 %", "Влажность"},
         }) {
        const Loaded l = LoadLines(WithSamples(TwoChannelHead("Канал данных - X"),
                                               {c.firstSample, " 01/01/2023 00:01:00 - (Есть)"}));
        EXPECT_EQ(l.summary.Channel2Name, c.name) << c.firstSample;
    }
}

TEST(Channel2Name, IsResetAndAnnouncedOnlyWhenItChanges) {
    RecordingListener listener;
    Loaded l;
    LoadLinesInto(l, WithSamples(TwoChannelHead(), {" 01/01/2023 00:00:00 - 1 °C 45.0 %"}),
                  &listener);
    EXPECT_EQ(l.summary.Channel2Name, "Влажность");
    EXPECT_THAT(listener.events.filter("name:"), ElementsAre("name:Влажность"));

    listener.events.clear();
    LoadLinesInto(l, WithSamples(TwoChannelHead(), {" 01/01/2023 00:00:00 - 1 °C"}), &listener);
    EXPECT_EQ(l.summary.Channel2Name, "Данные");
    EXPECT_TRUE(listener.events.filter("name:").isEmpty());
}

struct CaptionCase {
    const char* what;
    QString tempChannel;  // the "Канал температуры" line
    QString dataChannel;
    QStringList samples;
    QString caption;
    QString channel2Name;
};

TEST(DataChannelCaption, IsMadeFromTheHeaderAndTheFirstSample) {
    const QString temp = "Канал температуры - 2 байта (°C)";
    const QString tempAbsent = "Канал температуры отсутствует";
    const QString unit = "Канал данных - 2 байта ()";
    const QString s = " 01/01/2023 00:00:00 - ";
    const CaptionCase cases[] = {
        {"humidity keeps ()", temp, unit, {s + "21.0 °C 45.0 %"}, unit, "Влажность"},
        {"events",
         temp,
         unit,
         {s + "21.0 °C (Нет)", s + "21.0 °C (Есть)"},
         "Канал данных - 2 байта (Есть/Нет)",
         "Событие"},
        {"events in a later sample",
         temp,
         unit,
         {s + "21.0 °C 1", s + "21.0 °C (Есть)"},
         "Канал данных - 2 байта (Есть/Нет)",
         "Данные"},
        {"second temperature",
         temp,
         unit,
         {s + "21.0 °C 19.5 °C"},
         "Канал данных - 2 байта (°C)",
         "Темпер."},
        {"single temperature is channel 1's", temp, unit, {s + "21.0 °C"}, unit, "Данные"},
        {"temperature absent, °C belongs to channel 2",
         tempAbsent,
         unit,
         {s + "19.5 °C"},
         "Канал данных - 2 байта (°C)",
         "Темпер."},
        {"temperature absent, humidity", tempAbsent, unit, {s + "45.0 %"}, unit, "Влажность"},
        {"no samples: no unit", temp, unit, {}, unit, "Данные"},
        {"header without ()",
         temp,
         "Канал данных - влажность (%)",
         {s + "21.0 °C 19.5 °C"},
         "Канал данных - влажность (%)",
         "Данные"},
        {"every () is replaced",
         temp,
         "Канал данных () ()",
         {s + "1 °C 2 °C"},
         "Канал данных (°C) (°C)",
         "Темпер."},
    };
    for (const CaptionCase& c : cases) {
        QStringList lines = {"Данные сохранены", c.tempChannel, c.dataChannel,
                             "Значения измеренных величин"};
        const Loaded l = LoadLines(lines + c.samples);
        EXPECT_EQ(l.data.DataChannelCaption, c.caption) << c.what;
        EXPECT_EQ(l.summary.Channel2Name, c.channel2Name) << c.what;
    }
}

TEST(DataChannelCaption, WithoutHeaderThePreviousCaptionStays) {
    Loaded l;
    LoadLinesInto(l, TwoChannelHead("Канал данных - влажность ()"));
    EXPECT_EQ(l.data.DataChannelCaption, "Канал данных - влажность ()");
    LoadLinesInto(l, {"Данные сохранены", "Канал данных отсутствует"});
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
    EXPECT_EQ(l.data.DataChannelCaption, "Канал данных - влажность ()");
}

// --- Data series kind, events, "°C" count ---------------------------------------------------

TEST(DataSeriesKind, EndsAsTheChannelsSay) {
    struct Case {
        const char* what;
        const char* tempChannel;
        QStringList samples;
        const char* kind;
        const char* hasEvents;
    };
    const QString s = " 01/01/2023 00:00:00 - ";
    const Case cases[] = {
        {"humidity alone",
         "Канал температуры отсутствует",
         {s + "45.0 %", s + "46.0 %"},
         "OK",
         "NO"},
        {"events alone",
         "Канал температуры отсутствует",
         {s + "(Есть)", s + "(Нет)"},
         "NO",
         "true"},
        {"temperature with events", "Канал температуры - (°C)", {s + "1 °C (Нет)"}, "XXX", "true"},
        {"events only in a later line",
         "Канал температуры - (°C)",
         {s + "1 °C 0", s + "1 °C (Есть)"},
         "XXX",
         "true"},
        {"temperature with humidity", "Канал температуры - (°C)", {s + "1 °C 45 %"}, "NO", "NO"},
        {"temperature alone", "Канал температуры - (°C)", {s + "1 °C"}, "NO", "NO"},
        {"absent, no samples", "Канал температуры отсутствует", {}, "OK", "NO"},
        {"absent, but a temperature sample",
         "Канал температуры отсутствует",
         {s + "1 °C (Есть)"},
         "XXX",
         "true"},
    };
    for (const Case& c : cases) {
        const QStringList lines = {"Данные сохранены", c.tempChannel,
                                   "Значения измеренных величин"};
        const Loaded l = LoadLines(lines + c.samples);
        EXPECT_EQ(l.data.DataSeriesKind, c.kind) << c.what;
        EXPECT_EQ(l.data.HasEvents, c.hasEvents) << c.what;
    }
}

TEST(CelsiusCount, CountsTheFirstSampleOnly) {
    const Loaded two = LoadLines(WithSamples(
        TwoChannelHead(), {" 01/01/2023 00:00:00 - 1 °C 2 °C", " 01/01/2023 00:01:00 - 1 °C"}));
    EXPECT_EQ(two.summary.CelsiusCount, 2);
    const Loaded none = LoadLines(TwoChannelHead());
    EXPECT_EQ(none.summary.CelsiusCount, 0);
    const Loaded latin = LoadLines(WithSamples(TwoChannelHead(), {" 01/01/2023 00:00:00 - 1 C"}));
    EXPECT_EQ(latin.summary.CelsiusCount, 0);
}

// --- Sample dates and times -----------------------------------------------------------------

TEST(SampleDates, AreDistinctInOrderWithOrWithoutLeadingBlank) {
    const Loaded l = LoadLines(WithSamples(TwoChannelHead(), {
                                                                 " 31/12/2022 23:59:00 - 1 °C",
                                                                 "31/12/2022 23:59:30 - 1 °C",
                                                                 " 01/01/2023 00:00:00 - 1 °C",
                                                                 " 31/12/2022 23:58:00 - 1 °C",
                                                                 " 02/01/2023 00:00:00 - 1 °C",
                                                             }));
    EXPECT_THAT(l.summary.SampleDates, ElementsAre("31/12/2022", "01/01/2023", "02/01/2023"));
    EXPECT_EQ(l.data.FirstDate, "31/12/2022");
    EXPECT_EQ(l.data.LastDate, "02/01/2023");
}

TEST(SampleDates, EveryBlankInTheFirst11CharactersIsRemoved) {
    const Loaded l =
        LoadLines(WithSamples(TwoChannelHead(), {"1 / 2 /2023 00:00:00 - 1 °C", "x", " ab cd"}));
    EXPECT_THAT(l.summary.SampleDates, ElementsAre("1/2/2023", "x", "abcd"));
}

TEST(SampleTime, TakesHourMinuteSecondOfFirstAndLastSample) {
    const Loaded l = LoadLines(WithSamples(
        TwoChannelHead(), {" 01/01/2023 07:05:09 - 1 °C", "01/01/2023 23:59:58 - 2 °C - x"}));
    EXPECT_THAT(l.summary.FirstTime, ElementsAre("07", "05", "09"));
    EXPECT_THAT(l.summary.LastTime, ElementsAre("23", "59", "58"));
}

TEST(SampleTime, OddLinesGiveWhatIsThere) {
    struct Case {
        const char* line;
        bool ds1921;
        std::array<const char*, 3> time;
    };
    for (const Case& c : {
             Case{" 01/01/2023 07:05 - 1 °C", true, {"07", "05", "00"}},
             Case{" 01/01/2023 07:05:09 - 1 °C", true, {"07", "05", "00"}},
             Case{" 01/01/2023 07:05 - 1 °C", false, {"07", "05", ""}},
             // No " - ": the whole line is date and time.
             Case{" 01/01/2023 07:05:09 1 °C", false, {"07", "05", "09"}},
             // No blank after the first character: no time.
             Case{"01/01/2023-07:05:09", false, {"", "", ""}},
             Case{"", true, {"", "", "00"}},
             Case{"x", false, {"", "", ""}},
         }) {
        const auto time = SampleTime(QString::fromUtf8(c.line), c.ds1921);
        EXPECT_THAT(time, ElementsAre(c.time[0], c.time[1], c.time[2])) << c.line;
    }
}

TEST(SampleTime, WithoutSamplesIsEmptyExceptDs1921Seconds) {
    const Loaded plain = LoadFile(FixturePath("no_samples.txt"));
    EXPECT_THAT(plain.summary.FirstTime, ElementsAre("", "", ""));
    EXPECT_THAT(plain.summary.LastTime, ElementsAre("", "", ""));
    EXPECT_TRUE(plain.summary.SampleDates.isEmpty());
    EXPECT_EQ(plain.data.FirstDate, "");
    EXPECT_EQ(plain.data.LastDate, "");

    const Loaded ds = LoadLines({"Устройство - DS1921G-F5 2A000000A1B2C3D4  x"});
    EXPECT_THAT(ds.summary.FirstTime, ElementsAre("", "", "00"));
    EXPECT_THAT(ds.summary.LastTime, ElementsAre("", "", "00"));
}

TEST(SampleTime, Ds1921FileHasZeroSeconds) {
    const Loaded l = LoadFile(FixturePath("ds1921_layout.txt"));
    EXPECT_THAT(l.summary.FirstTime, ElementsAre("08", "00", "00"));
    EXPECT_THAT(l.summary.LastTime, ElementsAre("00", "10", "00"));
    EXPECT_THAT(l.summary.SampleDates, ElementsAre("03/04/2023", "04/04/2023"));
}

// --- Two loads in a row ---------------------------------------------------------------------

TEST(KeptFields, SecondFileWithoutTheirLinesKeepsTheFirstFilesValues) {
    Loaded l;
    PuskFile(l.data, l.summary, FixturePath("two_channel_layout.txt"));
    const LogData first = l.data;
    const LoadSummary firstSummary = l.summary;

    LoadLinesInto(l, {"Ярлык", "другой ярлык"});

    EXPECT_EQ(l.data.DeviceHeader, first.DeviceHeader);
    EXPECT_EQ(l.data.DeviceNumber, "Qorv-TH 0A00000012345678");
    EXPECT_EQ(l.data.RateText, "Частота регистрации: 5 мин.");
    EXPECT_EQ(l.summary.WindowTitle, firstSummary.WindowTitle);
    EXPECT_EQ(l.data.DataChannelCaption, "Канал данных - влажность, 2 байта ()");
    // Everything else starts afresh.
    EXPECT_THAT(l.data.LabelRows, ElementsAre("другой ярлык"));
    EXPECT_TRUE(l.data.StatusRows.isEmpty());
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
    EXPECT_TRUE(l.summary.SummaryRows.isEmpty());
    EXPECT_THAT(l.summary.LimitRows, ElementsAre("NO", "NO", "NO", "NO", "NO", "NO"));
    EXPECT_EQ(l.data.TempChannelHeader, "NO");
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
    EXPECT_EQ(l.summary.Channel2Name, "Данные");
    EXPECT_EQ(l.summary.CelsiusCount, 0);
    EXPECT_TRUE(l.summary.SampleDates.isEmpty());
    EXPECT_EQ(l.data.FirstDate, "");
    EXPECT_THAT(l.summary.FirstTime, ElementsAre("", "", ""));
}

TEST(KeptFields, FlagsOfTheFirstFileDoNotLeakIntoTheSecond) {
    Loaded l;
    PuskFile(l.data, l.summary, FixturePath("ds1921_layout.txt"));
    LoadLinesInto(l, {"Данные сохранены", "Канал температуры отсутствует",
                      "Значения измеренных величин", " 01/01/2023 00:00:00 - (Есть)"});
    EXPECT_EQ(l.data.DeviceKind, "XX");
    EXPECT_EQ(l.data.DataChannelState, "OK");
    EXPECT_EQ(l.data.HasEvents, "true");
    EXPECT_EQ(l.data.DataSeriesKind, "NO");

    LoadLinesInto(l, {"Данные сохранены"});
    EXPECT_EQ(l.data.TempChannelState, "OK");
    EXPECT_EQ(l.data.HasEvents, "NO");
    EXPECT_EQ(l.data.DataSeriesKind, "NO");
    EXPECT_EQ(l.data.DeviceNumber, "DS1921G-F5 2A000000A1B2C3D4");
}

}  // namespace
}  // namespace qorv::test
