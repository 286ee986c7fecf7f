#include "cli/BuildOptions.h"

#include "report/NumberText.h"

#include <QRegularExpression>

namespace qorv::cli {

namespace {

std::optional<int> parseInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString twoDigits(const QString& field) {
    return field.size() == 1 ? QStringLiteral("0") + field : field;
}

}  // namespace

std::optional<int> ParseColor(const QString& text) {
    const QString t = text.trimmed();
    if (t.startsWith('#')) {
        static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        if (!hex.match(t).hasMatch()) {
            return std::nullopt;
        }
        const int rgb = t.mid(1).toInt(nullptr, 16);
        const int red = (rgb >> 16) & 0xFF;
        const int green = (rgb >> 8) & 0xFF;
        const int blue = rgb & 0xFF;
        return red + 256 * green + 65536 * blue;
    }
    const auto value = parseInt(t);
    if (!value || *value < 0 || *value > 0xFFFFFF) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::pair<int, int>> ParseScale(const QString& text) {
    const QStringList parts = text.split(':');
    if (parts.size() != 2) {
        return std::nullopt;
    }
    const auto min = parseInt(parts[0]);
    const auto max = parseInt(parts[1]);
    if (!min || !max || *min >= *max) {
        return std::nullopt;
    }
    return std::make_pair(*min, *max);
}

std::optional<double> ParseTimeUnit(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() < 2) {
        return std::nullopt;
    }
    const auto count = TryReadNumber(t.left(t.size() - 1));
    if (!count || *count <= 0) {
        return std::nullopt;
    }
    const double n = static_cast<double>(*count);
    switch (t.back().toLatin1()) {
        case 'm':
            return n / 60 / 24;
        case 'h':
            return n / 24;
        case 'd':
            return n;
        default:
            return std::nullopt;
    }
}

std::optional<ReportOverrides::RangeEnd> ParseRangeEnd(const QString& text, bool isEnd) {
    // "DATE hh:mm:ss"; the time may be left out, which sets it as picking a date does in the
    // window (start 00:00:00, end 23:59:00). The texts are checked by the validation.
    const QStringList parts = text.simplified().split(' ');
    if (parts.isEmpty() || parts.size() > 2 || parts[0].isEmpty()) {
        return std::nullopt;
    }
    ReportOverrides::RangeEnd end{parts[0], QStringLiteral("00"), QStringLiteral("00"),
                                  QStringLiteral("00")};
    if (isEnd) {
        end.hour = QStringLiteral("23");
        end.minute = QStringLiteral("59");
    }
    if (parts.size() == 2) {
        const QStringList time = parts[1].split(':');
        if (time.size() != 3) {
            return std::nullopt;
        }
        end.hour = twoDigits(time[0]);
        end.minute = twoDigits(time[1]);
        end.second = twoDigits(time[2]);
    }
    return end;
}

void ApplyOverrides(const ReportOverrides& o, ProgramState& state) {
    using R = ReportOptions;
    ReportOptions& w = state.options;
    ChartSettings& chart = state.chart;

    if (o.outDir) {
        w.Edit2 = *o.outDir;
    }
    if (o.pdf) {
        w.setChecked(R::CheckBox8, true);
    }
    if (o.title1) {
        w.Edit3 = *o.title1;
    }
    if (o.title2) {
        w.Edit4 = *o.title2;
    }
    if (o.noSetup) {
        w.setChecked(R::CheckBox1, false);
    }
    if (o.noLabel) {
        w.setChecked(R::CheckBox2, false);
    }
    if (o.noStatus) {
        w.setChecked(R::CheckBox3, false);
    }
    if (o.noParams) {
        w.setChecked(R::CheckBox10, false);
    }
    if (o.statistics) {
        w.Statistics = true;
    }
    if (o.noChart) {
        w.setChecked(R::CheckBox9, false);
    }
    if (o.channel1) {
        w.setChecked(R::CheckBox6, *o.channel1);
    }
    if (o.channel2) {
        w.setChecked(R::CheckBox7, *o.channel2);
    }
    if (o.channel1Name) {
        w.Edit12 = *o.channel1Name;
    }
    if (o.channel2Name) {
        w.Edit13 = *o.channel2Name;
    }
    const std::pair<const std::optional<QString>*, QString*> texts[] = {
        {&o.a, &w.Edit7},       {&o.b, &w.Edit8},         {&o.c, &w.Edit9},    {&o.d, &w.Edit11},
        {&o.deltaH, &w.Edit10}, {&o.smoothing, &w.Edit6}, {&o.step, &w.Edit5},
    };
    for (const auto& [value, field] : texts) {
        if (*value) {
            *field = **value;
        }
    }
    if (o.mkt) {
        w.setChecked(R::CheckBox5, true);
    }
    if (o.compress) {
        w.setChecked(R::CheckBox4, true);
    }
    if (o.from) {
        w.ComboBoxText[R::ComboBox1] = o.from->date;
        w.ComboBoxText[R::ComboBox3] = o.from->hour;
        w.ComboBoxText[R::ComboBox5] = o.from->minute;
        w.ComboBoxText[R::ComboBox6] = o.from->second;
    }
    if (o.to) {
        w.ComboBoxText[R::ComboBox2] = o.to->date;
        w.ComboBoxText[R::ComboBox4] = o.to->hour;
        w.ComboBoxText[R::ComboBox7] = o.to->minute;
        w.ComboBoxText[R::ComboBox8] = o.to->second;
    }

    if (o.decimals1) {
        chart.TempDecimals = *o.decimals1;
    }
    if (o.decimals2) {
        chart.DataDecimals = *o.decimals2;
    }
    if (o.color1) {
        chart.TempColor = *o.color1;
    }
    if (o.color2) {
        chart.DataColor = *o.color2;
    }
    if (o.marker1) {
        chart.TempMarker = QStringLiteral("OK");
    }
    if (o.marker2) {
        chart.DataMarker = QStringLiteral("OK");
    }
    if (o.unit1) {
        chart.TempMajorUnit = *o.unit1;
    }
    if (o.unit2) {
        chart.DataMajorUnit = *o.unit2;
    }
    if (o.scale1) {
        chart.TempScaleAuto = QStringLiteral("NO");
        chart.TempScaleMin = o.scale1->first;
        chart.TempScaleMax = o.scale1->second;
    }
    if (o.scale2) {
        chart.DataScaleAuto = QStringLiteral("NO");
        chart.DataScaleMin = o.scale2->first;
        chart.DataScaleMax = o.scale2->second;
    }
    if (o.timeGrid) {
        chart.TimeGridlines = QStringLiteral("OK");
    }
    if (o.limitLines) {
        chart.TempLimitLines = true;
        chart.DataLimitLines = true;
    }
    if (o.timeUnitDays) {
        chart.TimeUnitAuto = QStringLiteral("NO");
        chart.TimeMajorUnit = *o.timeUnitDays;
    }
}

}  // namespace qorv::cli
