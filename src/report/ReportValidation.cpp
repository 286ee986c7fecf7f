#include "report/ReportValidation.h"

#include <limits>

#include "files/FileKind.h"
#include "report/DataTables.h"
#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/NumberText.h"
#include "report/SampleConversion.h"
#include "report/UserMessage.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

using R = ReportOptions;

// One end of the range with its date written with '/'.
QString rangeText(const ReportOptions& o, const R::RangeFields& end) {
    QString day = o.ComboBoxText[end.date];
    day.replace(QChar('.'), QChar('/'));
    return day + ' ' + o.rangeTime(end);
}

}  // namespace

QString RangeStartText(const ReportOptions& options) {
    return rangeText(options, R::RangeStart);
}

QString RangeEndText(const ReportOptions& options) {
    return rangeText(options, R::RangeEnd);
}

std::optional<int> ReadStepInSamples(const QString& text) {
    const auto value = ReadDigits(QStringView(text).trimmed(), 9);
    return value && *value >= 1 ? value : std::nullopt;
}

namespace {

// The lowest and highest value a channel's selected samples hold.
struct ValueSpan {
    long double low = 0;
    long double high = 0;
    bool any = false;

    void take(QStringView text) {
        if (text.isEmpty()) {
            return;
        }
        const auto value = TryReadNumber(text.trimmed().toString());
        if (!value || !std::isfinite(static_cast<double>(*value))) {
            return;  // the run names the line whose value does not read, or is no double
        }
        low = any ? std::min(low, *value) : *value;
        high = any ? std::max(high, *value) : *value;
        any = true;
    }
};

// What the checks need to know of the samples the run will select.
struct SelectionScan {
    qsizetype count = 0;
    ValueSpan channel1;
    ValueSpan channel2;
};

// Goes through the sample lines as the run's selection and splitting will: lines whose time
// reads and lies in the range count, and their channel values span what the corrections will
// see. Lines the run will refuse (no " - ", a time that does not read) are left to the run,
// which names them.
SelectionScan ScanSelection(const LogData& data, const QDateTime& start, const QDateTime& end,
                            bool channel2Corrected) {
    SelectionScan scan;
    const bool hasTemperatureChannel = data.hasTemperatureChannel();
    TextColumn::Reader read(data.SampleRows);
    for (qsizetype i = 0; i < data.SampleRows.size(); ++i) {
        const QStringView line = read[i];
        const auto parts = SplitSampleLine(line, hasTemperatureChannel);
        if (!parts) {
            continue;
        }
        const auto time = TryReadDateTime(parts->time.toString());
        if (!time || *time < start || *time > end) {
            continue;
        }
        ++scan.count;
        if (hasTemperatureChannel) {
            scan.channel1.take(parts->channel1);
        }
        if (channel2Corrected) {
            scan.channel2.take(parts->channel2);
        }
    }
    return scan;
}

bool FiniteAsDouble(long double value) {
    return std::isfinite(static_cast<double>(value));
}

// The message of the coefficient field that makes a corrected value of `span` no finite
// number: `factor` when x·factor already is none, else `offset`.
std::optional<QString> CheckCorrection(const ValueSpan& span, const QString& factorText,
                                       const QString& offsetText, const QString& factorMessage,
                                       const QString& offsetMessage) {
    if (!span.any) {
        return std::nullopt;
    }
    const long double factor = *TryReadNumber(factorText);
    const long double offset = *TryReadNumber(offsetText);
    for (const long double x : {span.low, span.high}) {
        if (!FiniteAsDouble(CorrectedValue(x, factor, 0))) {
            return factorMessage;
        }
    }
    for (const long double x : {span.low, span.high}) {
        if (!FiniteAsDouble(CorrectedValue(x, factor, offset))) {
            return offsetMessage;
        }
    }
    return std::nullopt;
}

// The checks of the selected samples: a selection the chart-data sheet holds, corrections
// that give numbers.
std::optional<QString> CheckSelection(const ReportOptions& o, const LogData& data,
                                      const QDateTime& start, const QDateTime& end,
                                      ValidationPurpose purpose) {
    if (!o.isChecked(R::CheckBox6) && !o.isChecked(R::CheckBox7)) {
        return std::nullopt;  // the run selects no samples
    }
    // Most runs need no pass over the samples: a file that has fewer samples than the sheet
    // holds, with corrections that leave every value as it is.
    const auto identity = [](const QString& factor, const QString& offset) {
        return *TryReadNumber(factor) == 1 && *TryReadNumber(offset) == 0;
    };
    // Statistics write no sheet, so any number of samples will do.
    const qsizetype capacity = purpose == ValidationPurpose::Report
                                   ? ChartDataCapacity(o, data)
                                   : std::numeric_limits<qsizetype>::max();
    if (data.SampleRows.size() <= capacity && identity(o.Edit7, o.Edit8) &&
        (!o.Channel2CoefficientsVisible || identity(o.Edit9, o.Edit11))) {
        return std::nullopt;
    }
    const SelectionScan scan = ScanSelection(data, start, end, o.Channel2CoefficientsVisible);
    if (scan.count > capacity) {
        return messages::TooManySamples(scan.count, capacity);
    }
    if (auto message = CheckCorrection(scan.channel1, o.Edit7, o.Edit8, messages::CoefficientAError,
                                       messages::CoefficientBError)) {
        return message;
    }
    return CheckCorrection(scan.channel2, o.Edit9, o.Edit11, messages::CoefficientCError,
                           messages::CoefficientDError);
}

}  // namespace

std::optional<QString> ValidateReportOptions(const ReportOptions& o, const LogData& data,
                                             ValidationPurpose purpose) {
    FormatSettings::instance().applyProgramConventions();

    const auto start = TryReadDateTime(RangeStartText(o));
    const auto end = TryReadDateTime(RangeEndText(o));
    if (!start || !end) {
        return messages::DateFieldsError;
    }

    // ΔH divides, and its exponent must stay in range: above 0 and at most 1000 kJ/mol when
    // the mean kinetic temperature is on.
    const auto deltaH = TryReadNumber(o.Edit10);
    if (!deltaH || (o.isChecked(R::CheckBox5) && !(*deltaH > 0 && *deltaH <= kMaxDeltaH))) {
        return messages::MktFieldError;
    }
    // A negative weight makes the smoothing grow without bound instead of smoothing; 0 holds
    // the first value throughout.
    const auto smoothing = TryReadNumber(o.Edit6);
    if (!smoothing || !(*smoothing >= 0) || *smoothing > 1) {
        return messages::SmoothingFieldError;
    }
    if (!ReadStepInSamples(o.Edit5)) {
        return messages::StepFieldError;
    }
    const std::pair<const QString*, const QString*> coefficients[] = {
        {&o.Edit7, &messages::CoefficientAError},
        {&o.Edit8, &messages::CoefficientBError},
        {&o.Edit9, &messages::CoefficientCError},
        {&o.Edit11, &messages::CoefficientDError},
    };
    for (const auto& [field, message] : coefficients) {
        if (!TryReadNumber(*field)) {
            return *message;
        }
    }

    if (*end <= *start) {
        return messages::RangeError;
    }
    if (purpose == ValidationPurpose::Report &&
        files::KindOf(o.Edit2) != files::FileKind::Directory) {
        return messages::SaveDirectoryError;
    }
    if (auto refusal = SourceFileRefusal(o.Edit1, files::KindOf(o.Edit1))) {
        return refusal;
    }
    return CheckSelection(o, data, *start, *end, purpose);
}

}  // namespace qorv
