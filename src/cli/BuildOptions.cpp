#include "cli/BuildOptions.h"

#include "files/FileName.h"
#include "report/NumberText.h"

#include <QRegularExpression>

#include <array>

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

std::optional<RangeEnd> ParseRangeEnd(const QString& text, bool isEnd) {
    // "DATE hh:mm:ss"; the time may be left out, which sets it as picking a date does in the
    // window (start 00:00:00, end 23:59:00). The texts are checked by the validation.
    const QStringList parts = text.simplified().split(' ');
    if (parts.isEmpty() || parts.size() > 2 || parts[0].isEmpty()) {
        return std::nullopt;
    }
    RangeEnd end{parts[0], QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")};
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

namespace {

using R = ReportOptions;

// A text that goes into the report. The arguments arrive as file names (bytes that are not
// UTF-8 kept as they are); the report shows such bytes as U+FFFD.
QString shown(const QString& value) {
    return files::DisplayFileName(value);
}

bool titleLength(const QString& value) {
    return shown(value).size() <= 25;
}

// A number of files built at once: a whole number of at least 1, digits only.
bool jobCount(const QString& value) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool ok = false;
    const int n = value.toInt(&ok);
    return digits.match(value).hasMatch() && ok && n >= 1;
}

std::optional<int> decimals(const QString& value) {
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n >= 0 && n <= 7 ? std::optional<int>(n) : std::nullopt;
}

// A value-axis major unit: a whole number of at least 0 (0 = automatic).
std::optional<int> majorUnit(const QString& value) {
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

std::optional<RangeEnd> rangeStart(const QString& value) {
    return ParseRangeEnd(value, false);
}

std::optional<RangeEnd> rangeEnd(const QString& value) {
    return ParseRangeEnd(value, true);
}

template <auto parse>
bool parses(const QString& value) {
    return parse(value).has_value();
}

// The range lists of one end: date, hour, minute, second.
void putRangeEnd(const RangeEnd& end, ReportOptions& options,
                 const std::array<R::ComboBox, 4>& boxes) {
    const std::array<const QString*, 4> texts = {&end.date, &end.hour, &end.minute, &end.second};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        options.ComboBoxText[boxes[i]] = *texts[i];
    }
}

void putScale(const QString& value, QString& automatic, std::int32_t& min, std::int32_t& max) {
    const auto [low, high] = *ParseScale(value);
    automatic = QStringLiteral("NO");
    min = low;
    max = high;
}

// What the options put into the state, each by the field it sets.
template <QString ReportOptions::*field>
void putText(const QString& value, ProgramState& state) {
    state.options.*field = shown(value);
}

template <R::CheckBox box, bool on>
void putCheck(const QString&, ProgramState& state) {
    state.options.setChecked(box, on);
}

// A check box that an option turns on, and its off spelling off.
template <R::CheckBox box>
void putSwitch(const QString& spelling, ProgramState& state) {
    state.options.setChecked(box, !spelling.startsWith(QLatin1String("--no-")));
}

template <QString ChartSettings::*field>
void putOk(const QString&, ProgramState& state) {
    state.chart.*field = QStringLiteral("OK");
}

template <auto ChartSettings::*field, auto parse>
void putNumber(const QString& value, ProgramState& state) {
    state.chart.*field = *parse(value);
}

using S = ProgramState;
using V = const QString&;

const BuildOption kOptions[] = {
    {.name = "--jobs",
     .shortName = "-j",
     .takesValue = true,
     .usage = "-j N, --jobs N",
     .description = "строить до N протоколов одновременно, каждый в отдельном\n"
                    "процессе (по умолчанию — по числу ядер)",
     .accepts = jobCount},
    {.name = "--progress",
     .usage = "--progress",
     .description = "строка на каждый шаг построения в стандартном потоке\n"
                    "ошибок, даже когда это не терминал"},
    {.name = "--out",
     .shortName = "-o",
     .takesValue = true,
     .usage = "-o, --out DIR",
     .description = "директория сохранения (по умолчанию текущая)",
     .apply = [](V v, S& s) { s.options.Edit2 = v; }},  // a folder: the bytes the system gave
    {.name = "--pdf",
     .usage = "--pdf",
     .description = "сделать копию в формате PDF",
     .apply = putCheck<R::CheckBox8, true>},
    {.name = "--title1",
     .takesValue = true,
     .usage = "--title1 T",
     .accepts = titleLength,
     .apply = putText<&R::Edit3>},
    {.name = "--title2",
     .takesValue = true,
     .usage = "--title2 T",
     .description = "строки заголовка протокола (до 25 символов)",
     .accepts = titleLength,
     .apply = putText<&R::Edit4>},
    {.name = "--no-setup",
     .usage = "--no-setup",
     .description = "без установочных параметров",
     .apply = putCheck<R::CheckBox1, false>},
    {.name = "--no-label", .usage = "--no-label", .apply = putCheck<R::CheckBox2, false>},
    {.name = "--no-status", .usage = "--no-status", .apply = putCheck<R::CheckBox3, false>},
    {.name = "--no-params",
     .usage = "--no-params",
     .description = "без ярлыка, статуса, параметров протокола",
     .apply = putCheck<R::CheckBox10, false>},
    {.name = "--no-chart",
     .usage = "--no-chart",
     .description = "без графика",
     .apply = putCheck<R::CheckBox9, false>},
    {.name = "--ch1",
     .offName = "--no-ch1",
     .usage = "--ch1, --no-ch1",
     .apply = putSwitch<R::CheckBox6>},
    {.name = "--ch2",
     .offName = "--no-ch2",
     .usage = "--ch2, --no-ch2",
     .description = "включить или выключить канал",
     .apply = putSwitch<R::CheckBox7>},
    {.name = "--ch1-name",
     .takesValue = true,
     .usage = "--ch1-name T",
     .apply = putText<&R::Edit12>},
    {.name = "--ch2-name",
     .takesValue = true,
     .usage = "--ch2-name T",
     .description = "имена каналов",
     .apply = putText<&R::Edit13>},
    {.name = "--a", .takesValue = true, .usage = "--a X", .apply = putText<&R::Edit7>},
    {.name = "--b", .takesValue = true, .usage = "--b X", .apply = putText<&R::Edit8>},
    {.name = "--c", .takesValue = true, .usage = "--c X", .apply = putText<&R::Edit9>},
    {.name = "--d",
     .takesValue = true,
     .usage = "--d X",
     .description = "коэффициенты T = at + b, M = cm + d",
     .apply = putText<&R::Edit11>},
    {.name = "--mkt", .usage = "--mkt", .apply = putCheck<R::CheckBox5, true>},
    {.name = "--dh",
     .takesValue = true,
     .usage = "--dh X",
     .description = "средняя кинетическая температура и ΔH, кДж/моль",
     .apply = putText<&R::Edit10>},
    {.name = "--smooth", .takesValue = true, .usage = "--smooth K", .apply = putText<&R::Edit6>},
    {.name = "--step", .takesValue = true, .usage = "--step S", .apply = putText<&R::Edit5>},
    {.name = "--compress",
     .usage = "--compress",
     .description = "сглаживание, шаг в отсчётах, сжатие",
     .apply = putCheck<R::CheckBox4, true>},
    {.name = "--from",
     .takesValue = true,
     .usage = "--from \"ДАТА чч:мм:сс\"",
     .accepts = parses<rangeStart>,
     .apply =
         [](V v, S& s) {
             putRangeEnd(*rangeStart(v), s.options,
                         {R::ComboBox1, R::ComboBox3, R::ComboBox5, R::ComboBox6});
         }},
    {.name = "--to",
     .takesValue = true,
     .usage = "--to \"ДАТА чч:мм:сс\"",
     .description = "диапазон (дата дд/мм/гггг)",
     .accepts = parses<rangeEnd>,
     .apply =
         [](V v, S& s) {
             putRangeEnd(*rangeEnd(v), s.options,
                         {R::ComboBox2, R::ComboBox4, R::ComboBox7, R::ComboBox8});
         }},
    {.name = "--decimals1",
     .takesValue = true,
     .usage = "--decimals1 N",
     .accepts = parses<decimals>,
     .apply = putNumber<&ChartSettings::TempDecimals, decimals>},
    {.name = "--decimals2",
     .takesValue = true,
     .usage = "--decimals2 N",
     .description = "число десятичных знаков (0–7)",
     .accepts = parses<decimals>,
     .apply = putNumber<&ChartSettings::DataDecimals, decimals>},
    {.name = "--color1",
     .takesValue = true,
     .usage = "--color1 C",
     .accepts = parses<ParseColor>,
     .apply = putNumber<&ChartSettings::TempColor, ParseColor>},
    {.name = "--color2",
     .takesValue = true,
     .usage = "--color2 C",
     .description = "цвет линии: число RGB или #RRGGBB",
     .accepts = parses<ParseColor>,
     .apply = putNumber<&ChartSettings::DataColor, ParseColor>},
    {.name = "--marker1", .usage = "--marker1", .apply = putOk<&ChartSettings::TempMarker>},
    {.name = "--marker2",
     .usage = "--marker2",
     .description = "маркеры",
     .apply = putOk<&ChartSettings::DataMarker>},
    {.name = "--unit1",
     .takesValue = true,
     .usage = "--unit1 N",
     .accepts = parses<majorUnit>,
     .apply = putNumber<&ChartSettings::TempMajorUnit, majorUnit>},
    {.name = "--unit2",
     .takesValue = true,
     .usage = "--unit2 N",
     .description = "цена деления оси значений (0 — автоматически)",
     .accepts = parses<majorUnit>,
     .apply = putNumber<&ChartSettings::DataMajorUnit, majorUnit>},
    {.name = "--scale1",
     .takesValue = true,
     .usage = "--scale1 MIN:MAX",
     .accepts = parses<ParseScale>,
     .apply =
         [](V v, S& s) {
             putScale(v, s.chart.TempScaleAuto, s.chart.TempScaleMin, s.chart.TempScaleMax);
         }},
    {.name = "--scale2",
     .takesValue = true,
     .usage = "--scale2 MIN:MAX",
     .description = "пределы оси значений",
     .accepts = parses<ParseScale>,
     .apply =
         [](V v, S& s) {
             putScale(v, s.chart.DataScaleAuto, s.chart.DataScaleMin, s.chart.DataScaleMax);
         }},
    {.name = "--time-grid",
     .usage = "--time-grid",
     .description = "вертикальные линии сетки",
     .apply = putOk<&ChartSettings::TimeGridlines>},
    {.name = "--time-unit",
     .takesValue = true,
     .usage = "--time-unit N{m,h,d}",
     .description = "цена деления оси времени в минутах, часах или сутках",
     .accepts = parses<ParseTimeUnit>,
     .apply =
         [](V v, S& s) {
             s.chart.TimeUnitAuto = QStringLiteral("NO");
             s.chart.TimeMajorUnit = *ParseTimeUnit(v);
         }},
    {.name = "--stats",
     .usage = "--stats",
     .description = "раздел «Статистика» после параметров протокола",
     .apply = [](V, S& s) { s.options.Statistics = true; }},
    {.name = "--limits",
     .usage = "--limits",
     .description = "пределы из файла логгера линиями на графике",
     .apply = [](V, S& s) { s.chart.TempLimitLines = s.chart.DataLimitLines = true; }},
};

}  // namespace

std::optional<QString> ReportOverrides::value(const QString& name) const {
    const auto it = given.find(name);
    return it == given.end() ? std::nullopt : std::optional<QString>(it->second);
}

bool ReportOverrides::pdf() const {
    return given.contains(QStringLiteral("--pdf"));
}

std::span<const BuildOption> BuildOptions() {
    return kOptions;
}

const BuildOption* FindBuildOption(const QString& spelling) {
    for (const BuildOption& option : kOptions) {
        for (const char* name : {option.name, option.shortName, option.offName}) {
            if (name && spelling == QLatin1String(name)) {
                return &option;
            }
        }
    }
    return nullptr;
}

void ApplyOverrides(const ReportOverrides& overrides, ProgramState& state) {
    for (const BuildOption& option : kOptions) {
        const auto value = overrides.value(QString::fromLatin1(option.name));
        if (option.apply && value) {
            option.apply(*value, state);
        }
    }
}

}  // namespace qorv::cli
