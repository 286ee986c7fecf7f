#pragma once

#include "import/LineNumbers.h"
#include "import/TextColumn.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace qorv {

// What remains in memory after one logger text file has been loaded. There is one instance for
// the whole program run; every load replaces most of it, but the fields marked "kept" keep the
// previous file's value when the new file has no line for them. Samples stay unparsed text: the
// report run parses dates, times and values out of `SampleRows` each time it runs. The sample
// lines are held end to end in one buffer: a large file holds a million of them.
//
// State flags are short texts tested by equality, as the rest of the program knows them:
// "OK"/"NO" (present), "true"/"NO" (events), "XX"/"21" (device kind), "NO"/"XXX"/"OK"
// (data series kind); a header string holds "NO" while its line has not been met.
struct LogData {
    QString SourceFileName;  // full path of the file being (or last) loaded

    // Kept across loads; empty (no value) until a file first provides the line.
    std::optional<QString> DeviceHeader;  // the whole last line that starts with "Устройство -"
    std::optional<QString> DeviceNumber;  // taken from DeviceHeader
    std::optional<QString> RateText;      // the whole last rate line

    QString DeviceKind = "XX";        // "21" for a DS1921 export, else "XX"
    QString TempChannelState = "OK";  // "NO" once the temperature channel is reported absent
    QString TempChannelHeader = "NO";
    QString DataChannelState = "OK";  // "NO" once the data channel is absent (always for "21")
    QString DataChannelHeader = "NO";
    // Title of channel 2 as the window shows it (the caption of the channel-2 group). Kept
    // across loads: a load whose file has no data channel header leaves it as it was. Empty
    // until the first caption is made; the window's own start caption then stands.
    std::optional<QString> DataChannelCaption;
    QString HasEvents = "NO";       // "true" once a sample line holds "(Есть)" or "(Нет)"
    QString DataSeriesKind = "NO";  // "NO", "XXX" or "OK"
    QString FirstDate;              // first distinct sample date, "" without samples
    QString LastDate;               // last distinct sample date, "" without samples
    QStringList LabelRows;
    QStringList StatusRows;
    TextColumn SampleRows;
    // The line number in the file (1-based) of each entry of SampleRows, set beside it.
    LineNumbers SampleLineNumbers;

    // The flags asked as questions; the texts above stay what is stored and shown.
    bool isDs1921() const { return DeviceKind == u"21"; }
    bool hasTemperatureChannel() const { return TempChannelState != u"NO"; }
    bool hasDataChannel() const { return DataChannelState != u"NO"; }
    // Channel 2 records on/off events ("(Есть)", "(Нет)") rather than measured values.
    bool hasEvents() const { return HasEvents != u"NO"; }
};

// The reader's display results, shown by the main window. Like LogData, one instance lives for
// the whole program run; `WindowTitle` is kept across loads, everything else is set anew.
struct LoadSummary {
    // Indices into LimitRows.
    enum LimitRow {
        TempUpper = 0,
        TempLower = 1,
        TempExcursions = 2,
        DataUpper = 3,
        DataLower = 4,
        DataExcursions = 5
    };

    std::optional<QString> WindowTitle;  // kept; empty until a file has a device line
    QStringList SummaryRows;
    std::array<QString, 6> LimitRows{"NO", "NO", "NO", "NO", "NO", "NO"};
    int CelsiusCount = 0;  // "°C" occurrences in the first sample line
    QString Channel2Name = "Данные";  // "Данные", "Событие", "Влажность" or "Темпер."
    QStringList SampleDates;           // distinct sample dates in order of first appearance
    std::array<QString, 3> FirstTime;  // hour, minute, second texts of the first sample line
    std::array<QString, 3> LastTime;   // the same of the last sample line
};

}  // namespace qorv
