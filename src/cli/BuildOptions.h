#pragma once

#include "report/LoadLogFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace qorv::cli {

// The build form's options, each the command-line counterpart of one window control. Only
// what was given is set; everything else keeps what the load of each file put there.
struct ReportOverrides {
    std::optional<QString> outDir;          // Edit2
    bool pdf = false;                       // CheckBox8
    std::optional<QString> title1, title2;  // Edit3, Edit4
    bool noSetup = false, noLabel = false, noStatus = false, noParams = false;
    bool noChart = false;                               // CheckBox9 off
    std::optional<bool> channel1, channel2;             // CheckBox6, CheckBox7
    std::optional<QString> channel1Name, channel2Name;  // Edit12, Edit13
    std::optional<QString> a, b, c, d;                  // Edit7, Edit8, Edit9, Edit11
    bool mkt = false;                                   // CheckBox5
    std::optional<QString> deltaH;                      // Edit10
    std::optional<QString> smoothing;                   // Edit6
    std::optional<QString> step;                        // Edit5
    bool compress = false;                              // CheckBox4
    // Range ends: date text and the hour, minute, second texts.
    struct RangeEnd {
        QString date, hour, minute, second;
    };
    std::optional<RangeEnd> from, to;
    std::optional<int> decimals1, decimals2;
    std::optional<int> color1, color2;
    bool marker1 = false, marker2 = false;
    std::optional<int> unit1, unit2;
    std::optional<std::pair<int, int>> scale1, scale2;
    bool timeGrid = false;
    bool statistics = false;  // the statistics section
    bool limitLines = false;  // the limit lines of both channels' charts
    std::optional<double> timeUnitDays;
};

// Parses one option value; each returns nothing for a value the option does not take.
std::optional<int> ParseColor(const QString& text);                  // 255, or #RRGGBB
std::optional<std::pair<int, int>> ParseScale(const QString& text);  // MIN:MAX, MIN < MAX
std::optional<double> ParseTimeUnit(const QString& text);            // 10m, 6h, 2d → days
std::optional<ReportOverrides::RangeEnd> ParseRangeEnd(const QString& text, bool isEnd);

// Puts the overrides into a freshly loaded state with the window's rules: check boxes change
// through their click rules (so --no-label with --no-status also turns off the set-up block
// and the parameters), a new range date resets its time as picking it in the window does.
void ApplyOverrides(const ReportOverrides& overrides, ProgramState& state);

}  // namespace qorv::cli
