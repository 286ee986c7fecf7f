#include "report/ReportValidation.h"

#include "report/DateTimeText.h"
#include "report/FormatSettings.h"
#include "report/Messages.h"
#include "report/NumberText.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace qorv {

namespace {

QString rangeText(const ReportOptions& o, int date, int hour, int minute, int second) {
    QString day = o.ComboBoxText[date];
    day.replace(QChar('.'), QChar('/'));
    return day + ' ' + o.ComboBoxText[hour] + ':' + o.ComboBoxText[minute] + ':' +
           o.ComboBoxText[second];
}

}  // namespace

QString RangeStartText(const ReportOptions& options) {
    return rangeText(options, 1, 3, 5, 6);
}

QString RangeEndText(const ReportOptions& options) {
    return rangeText(options, 2, 4, 7, 8);
}

std::optional<int> ReadStepInSamples(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (QChar c : t) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value >= 1 ? std::optional<int>(value) : std::nullopt;
}

std::optional<QString> ValidateReportOptions(const ReportOptions& o) {
    FormatSettings::instance().applyProgramConventions();

    const auto start = TryReadDateTime(RangeStartText(o));
    const auto end = TryReadDateTime(RangeEndText(o));
    if (!start || !end) {
        return messages::DateFieldsError;
    }

    if (!TryReadNumber(o.Edit10)) {
        return messages::MktFieldError;
    }
    const auto smoothing = TryReadNumber(o.Edit6);
    if (!smoothing || *smoothing > 1) {
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
    if (!QFileInfo(o.Edit2).isDir()) {
        return messages::SaveDirectoryError;
    }
    if (!QFileInfo(o.Edit1).isFile()) {
        return messages::FileMissing(o.Edit1);
    }
    return std::nullopt;
}

}  // namespace qorv
