#pragma once

#include <QString>

#include <cstdint>

namespace qorv {

// How the report's chart and value columns look: per channel the decimals in the tables, the
// series colour, markers, the value axis' major unit and scale; for the time axis its vertical
// grid lines and major unit. One program-wide record, written by the chart dialogs, reset at
// every file load, never saved. Flags are the texts "OK" and "NO"; colours are packed RGB,
// red in the low byte (255 red, 16711680 blue).
struct ChartSettings {
    int TempDecimals = 1;
    std::int32_t TempColor = 0;
    QString TempMarker = "NO";
    std::int32_t TempMajorUnit = 0;  // 0 = automatic
    QString TempScaleAuto = "OK";
    std::int32_t TempScaleMin = 0;
    std::int32_t TempScaleMax = 0;

    int DataDecimals = 1;
    std::int32_t DataColor = 255;
    QString DataMarker = "NO";
    std::int32_t DataMajorUnit = 0;
    QString DataScaleAuto = "OK";
    std::int32_t DataScaleMin = 0;
    std::int32_t DataScaleMax = 0;

    // The logger file's limits of the channel drawn as lines across the chart.
    bool TempLimitLines = false;
    bool DataLimitLines = false;

    QString TimeGridlines = "NO";
    QString TimeUnitAuto = "OK";
    double TimeMajorUnit = 4.0;  // days; used only when TimeUnitAuto is "NO"

    // Back to the defaults above; the only operation of the record.
    void reset();
};

}  // namespace qorv
