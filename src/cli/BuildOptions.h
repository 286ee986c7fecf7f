#pragma once

#include "report/LoadLogFile.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <span>
#include <utility>

namespace qorv::cli {

// The build form's report options as given: under each option's name (its long one, "--out"
// for -o too) the value given, for a flag the spelling given ("--ch1" or "--no-ch1"); of an
// option given twice, the last. Only what was given is there; everything else keeps what the
// load of each file put there.
struct ReportOverrides {
    std::map<QString, QString> given;

    std::optional<QString> value(const QString& name) const;
    bool pdf() const;  // a PDF copy is asked for
};

// One option of the build form: how it is spelt, how the help shows it, which values it takes
// and what it changes in a freshly loaded state, each report option being the command-line
// counterpart of one window control.
struct BuildOption {
    const char* name;                 // "--out"
    const char* shortName = nullptr;  // "-o"
    const char* offName = nullptr;    // a flag's spelling that turns it off: "--no-ch1"
    bool takesValue = false;
    // The help's text for it ("-o, --out DIR"), and what the help says of it; an option without
    // a description shares the next option's line.
    const char* usage = nullptr;
    const char* description = nullptr;
    // Whether it takes `value`; any value when there is no such check.
    bool (*accepts)(const QString& value) = nullptr;
    // Puts the value into the state with the window's rules: check boxes change through their
    // click rules (so --no-label with --no-status also turns off the set-up block and the
    // parameters), a new range date resets its time as picking it in the window does. None for
    // the options of a batch (-j, --progress), which change how the files are built.
    void (*apply)(const QString& value, ProgramState& state) = nullptr;
};

// Every option, in the order of the help, which is also the order they are applied in.
std::span<const BuildOption> BuildOptions();

// The option with the spelling `spelling` (its name, short name or off name), or none.
const BuildOption* FindBuildOption(const QString& spelling);

// A range end: date text and the hour, minute, second texts.
struct RangeEnd {
    QString date, hour, minute, second;
};

// Parses one option value; each returns nothing for a value the option does not take.
std::optional<int> ParseColor(const QString& text);                  // 255, or #RRGGBB
std::optional<std::pair<int, int>> ParseScale(const QString& text);  // MIN:MAX, MIN < MAX
std::optional<double> ParseTimeUnit(const QString& text);            // 10m, 6h, 2d → days
std::optional<RangeEnd> ParseRangeEnd(const QString& text, bool isEnd);

// Puts the overrides into a freshly loaded state, each option as its `apply` does, in the
// order of BuildOptions().
void ApplyOverrides(const ReportOverrides& overrides, ProgramState& state);

}  // namespace qorv::cli
