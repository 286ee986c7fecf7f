// The bundled example exports load as the loggers they stand for.
#include "ImportTestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <optional>

namespace qorv::test {
namespace {

struct Example {
    const char* file;
    const char* deviceNumber;
    const char* deviceKind;
    const char* tempChannelState;
    const char* dataChannelState;
    const char* channel2Name;
    const char* dataSeriesKind;
    const char* hasEvents;
    int celsiusCount;
    std::optional<QString> caption;
};

const Example kExamples[] = {
    {"ds1921_temperature.txt", "DS1921G-F5 21000000B2C4D6E8", "21", "OK", "NO", "Данные", "NO",
     "NO", 1, std::nullopt},
    {"temperature_humidity.txt", "Qorv-TH 0A00000012345678", "XX", "OK", "OK", "Влажность", "NO",
     "NO", 1, "Канал данных - 2 байта (%RH)"},
    {"temperature_events.txt", "Qorv-TE 0B00000023456789", "XX", "OK", "OK", "Событие", "XXX",
     "true", 1, "Канал данных - 1 байт (Есть/Нет)"},
    {"events_only.txt", "Qorv-E 0C00000034567890", "XX", "NO", "OK", "Событие", "NO", "true", 0,
     "Канал данных - 1 байт (Есть/Нет)"},
    {"humidity_only.txt", "Qorv-H 0D00000045678901", "XX", "NO", "OK", "Влажность", "OK", "NO", 0,
     "Канал данных - 2 байта (%RH)"},
    {"temperature_second_temperature.txt", "Qorv-TT 0E00000056789012", "XX", "OK", "OK", "Темпер.",
     "NO", "NO", 2, "Канал данных - 2 байта (°C)"},
};

TEST(Examples, LoadAsTheirLoggers) {
    // Date, time (a DS1921 ends it after the minutes), " - ", then values with a blank before
    // each unit.
    const QRegularExpression sampleForm(
        R"(^ \d\d/\d\d/\d{4} \d\d:\d\d(:\d\d)? - (-?\d+\.\d (°C|%)|[01] \((Есть|Нет)\))( |$))");
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.file);
        const Loaded l = LoadFile(QStringLiteral(QORV_EXAMPLES "/") + e.file);
        EXPECT_EQ(l.data.DeviceNumber, QString::fromUtf8(e.deviceNumber));
        EXPECT_EQ(l.data.DeviceKind, e.deviceKind);
        EXPECT_EQ(l.data.TempChannelState, e.tempChannelState);
        EXPECT_EQ(l.data.DataChannelState, e.dataChannelState);
        EXPECT_EQ(l.summary.Channel2Name, QString::fromUtf8(e.channel2Name));
        EXPECT_EQ(l.data.DataSeriesKind, e.dataSeriesKind);
        EXPECT_EQ(l.data.HasEvents, e.hasEvents);
        EXPECT_EQ(l.summary.CelsiusCount, e.celsiusCount);
        EXPECT_EQ(l.data.DataChannelCaption, e.caption);
        EXPECT_TRUE(l.data.RateText.has_value());
        EXPECT_GE(l.data.LabelRows.size(), 2);
        EXPECT_GE(l.data.StatusRows.size(), 3);
        EXPECT_GE(l.summary.SummaryRows.size(), 5);
        EXPECT_GE(l.data.SampleRows.size(), 300);
        EXPECT_GE(l.summary.SampleDates.size(), 2);  // more than one day
        for (const QString& sample : l.data.SampleRows.toList()) {
            ASSERT_TRUE(sampleForm.match(sample).hasMatch()) << sample.toStdString();
        }
    }
}

}  // namespace
}  // namespace qorv::test
