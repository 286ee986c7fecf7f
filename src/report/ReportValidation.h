#pragma once

#include "import/LogData.h"
#include "report/ReportOptions.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace qorv {

// The range as the range lists give it: the start from `ComboBox1` (every "." read as "/"),
// `ComboBox3`, `ComboBox5`, `ComboBox6`; the end likewise from `ComboBox2`, 4, 7, 8.
QString RangeStartText(const ReportOptions& options);
QString RangeEndText(const ReportOptions& options);

// Reads the step in samples: a whole number of at least 1, or nothing.
std::optional<int> ReadStepInSamples(const QString& text);

// The largest ΔH, in kJ/mol, the mean kinetic temperature accepts.
constexpr long double kMaxDeltaH = 1000;

// What the options are checked for: a report run, or the statistics of the selection, which
// need no save directory and write no sheet (so no limit on the number of samples).
enum class ValidationPurpose { Report, Statistics };

// The checks the "Excel" button makes before a report run, in its order: the program's date
// conventions are set, then the range fields, the numeric fields (ΔH, smoothing, step, a, b,
// c, d), the order of the range ends, the save directory and the file named in `Edit1` (which
// must be a regular file). Then, when a channel is included, the samples of `data` that the
// range selects: no more than the chart-data sheet holds, and the corrections T = a·t + b and
// M = c·m + d give finite numbers for every one of them. Values the run could not use are
// refused here with their field's message: ΔH outside (0, 1000] with the mean kinetic
// temperature on, a smoothing coefficient outside [0, 1]. Returns the message of the first
// failing check, or nothing when the run may start. The window and the command line both
// call it.
std::optional<QString> ValidateReportOptions(const ReportOptions& options, const LogData& data,
                                             ValidationPurpose purpose = ValidationPurpose::Report);

}  // namespace qorv
