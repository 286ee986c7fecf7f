#include "report/CarriedState.h"

#include "report/DataTables.h"

#include <QJsonValue>

namespace qorv {

namespace {

// The fields, each once: its JSON key and where it lives in the carried record.
struct TextField {
    const char* key;
    std::optional<QString> CarriedState::*field;
};
constexpr TextField kOptionalTexts[] = {
    {"DeviceHeader", &CarriedState::DeviceHeader},
    {"DeviceNumber", &CarriedState::DeviceNumber},
    {"RateText", &CarriedState::RateText},
    {"DataChannelCaption", &CarriedState::DataChannelCaption},
    {"WindowTitle", &CarriedState::WindowTitle},
};
struct PlainTextField {
    const char* key;
    QString CarriedState::*field;
};
constexpr PlainTextField kTexts[] = {
    {"Caption", &CarriedState::Caption},
    {"GroupBox1Caption", &CarriedState::GroupBox1Caption},
    {"GroupBox2Caption", &CarriedState::GroupBox2Caption},
};
constexpr const char* kMktControlsVisible = "MktControlsVisible";

}  // namespace

CarriedState CarriedStateOf(const ProgramState& state) {
    CarriedState c;
    c.DeviceHeader = state.data.DeviceHeader;
    c.DeviceNumber = state.data.DeviceNumber;
    c.RateText = state.data.RateText;
    c.DataChannelCaption = state.data.DataChannelCaption;
    c.WindowTitle = state.summary.WindowTitle;
    c.Caption = state.options.Caption;
    c.GroupBox1Caption = state.options.GroupBox1Caption;
    c.GroupBox2Caption = state.options.GroupBox2Caption;
    c.MktControlsVisible = state.options.MktControlsVisible;
    return c;
}

void RestoreCarriedState(ProgramState& state, const CarriedState& c) {
    state.data.DeviceHeader = c.DeviceHeader;
    state.data.DeviceNumber = c.DeviceNumber;
    state.data.RateText = c.RateText;
    state.data.DataChannelCaption = c.DataChannelCaption;
    state.summary.WindowTitle = c.WindowTitle;
    state.options.Caption = c.Caption;
    state.options.GroupBox1Caption = c.GroupBox1Caption;
    state.options.GroupBox2Caption = c.GroupBox2Caption;
    state.options.MktControlsVisible = c.MktControlsVisible;
}

QJsonObject CarriedStateToJson(const CarriedState& c) {
    QJsonObject o;
    for (const TextField& f : kOptionalTexts) {
        const std::optional<QString>& value = c.*f.field;
        o[QLatin1String(f.key)] = value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
    }
    for (const PlainTextField& f : kTexts) {
        o[QLatin1String(f.key)] = c.*f.field;
    }
    o[QLatin1String(kMktControlsVisible)] = c.MktControlsVisible;
    return o;
}

std::optional<CarriedState> CarriedStateFromJson(const QJsonObject& o) {
    CarriedState c;
    for (const TextField& f : kOptionalTexts) {
        const QJsonValue value = o.value(QLatin1String(f.key));
        if (value.isString()) {
            c.*f.field = value.toString();
        } else if (!value.isNull()) {  // null is no value; a missing key is refused
            return std::nullopt;
        }
    }
    for (const PlainTextField& f : kTexts) {
        const QJsonValue value = o.value(QLatin1String(f.key));
        if (!value.isString()) {
            return std::nullopt;
        }
        c.*f.field = value.toString();
    }
    const QJsonValue mkt = o.value(QLatin1String(kMktControlsVisible));
    if (!mkt.isBool()) {
        return std::nullopt;
    }
    c.MktControlsVisible = mkt.toBool();
    return c;
}

bool RunMayChangeWhatIsCarried(const ProgramState& loaded) {
    if (!loaded.data.hasEvents()) {
        return false;  // the run makes no state-duration table, which is what reduces the line
    }
    const QString once = ReducedRateText(loaded.data.RateText.value_or(QString()));
    return ReducedRateText(once) != once;
}

}  // namespace qorv
