// libFuzzer target over the logger file reader. Every input is loaded twice, once from memory
// and once through a seekable device (the path a file takes: encoding sniff, seek back, read in
// pieces); both loads must agree and leave LogData in a consistent state.
#include "import/LogData.h"
#include "import/PuskFile.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_reader: %s\n", what);
        std::abort();
    }
}

bool SameLoad(const qorv::LogData& a, const qorv::LoadSummary& as, const qorv::LogData& b,
              const qorv::LoadSummary& bs) {
    return a.DeviceHeader == b.DeviceHeader && a.DeviceNumber == b.DeviceNumber &&
           a.RateText == b.RateText && a.DeviceKind == b.DeviceKind &&
           a.TempChannelState == b.TempChannelState && a.TempChannelHeader == b.TempChannelHeader &&
           a.DataChannelState == b.DataChannelState && a.DataChannelHeader == b.DataChannelHeader &&
           a.DataChannelCaption == b.DataChannelCaption && a.HasEvents == b.HasEvents &&
           a.DataSeriesKind == b.DataSeriesKind && a.FirstDate == b.FirstDate &&
           a.LastDate == b.LastDate && a.LabelRows == b.LabelRows && a.StatusRows == b.StatusRows &&
           a.SampleRows == b.SampleRows && as.WindowTitle == bs.WindowTitle &&
           as.SummaryRows == bs.SummaryRows && as.LimitRows == bs.LimitRows &&
           as.CelsiusCount == bs.CelsiusCount && as.Channel2Name == bs.Channel2Name &&
           as.SampleDates == bs.SampleDates && as.FirstTime == bs.FirstTime &&
           as.LastTime == bs.LastTime;
}

void CheckInvariants(const qorv::LogData& d) {
    for (const QStringList& rows : {d.LabelRows, d.StatusRows, d.SampleRows.toList()}) {
        for (const QString& row : rows) {
            Check(!row.isEmpty(), "an empty line was collected");
            Check(!row.contains(u'\n') && !row.contains(u'\r'), "a line end inside a line");
        }
    }
    Check(d.TempChannelHeader == u"NO" || d.TempChannelHeader.startsWith(u"Канал температуры"),
          "TempChannelHeader");
    Check(d.DataChannelHeader == u"NO" || d.DataChannelHeader.startsWith(u"Канал данных"),
          "DataChannelHeader");
    Check(d.DeviceKind != u"21" || d.DataChannelState == u"NO", "DS1921 with a data channel");
    const QString firstDate = d.SampleRows.copyAt(0).left(11).remove(u' ');
    Check(d.FirstDate == firstDate, "FirstDate is not the first sample's date");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));

    qorv::LogData fromMemory;
    qorv::LoadSummary memorySummary;
    qorv::PuskBytes(fromMemory, memorySummary, "fuzz.txt", input);
    CheckInvariants(fromMemory);

    qorv::LogData fromDevice;
    qorv::LoadSummary deviceSummary;
    QBuffer device;
    device.setData(input);
    qorv::PuskFile(fromDevice, deviceSummary, "fuzz.txt", device);
    Check(SameLoad(fromMemory, memorySummary, fromDevice, deviceSummary),
          "memory and device loads differ");
    return 0;
}
