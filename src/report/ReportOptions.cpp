#include "report/ReportOptions.h"

namespace qorv {

namespace {

QStringList twoDigitNumbers(int last) {
    QStringList items;
    items.reserve(last + 1);
    for (int i = 0; i <= last; ++i) {
        items << QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
    }
    return items;
}

}  // namespace

void ReportOptions::setChecked(CheckBox box, bool on) {
    if (checked_[box] == on) {
        return;
    }
    checked_[box] = on;
    onClick(box);
}

void ReportOptions::onClick(CheckBox box) {
    switch (box) {
        case CheckBox1: {
            // The set-up block switches label, status and parameters together.
            const bool on = checked_[CheckBox1];
            for (CheckBox part : {CheckBox2, CheckBox3, CheckBox10}) {
                setChecked(part, on);
            }
            CheckBox2Enabled = CheckBox3Enabled = CheckBox10Enabled = on;
            break;
        }
        case CheckBox2:
        case CheckBox3:
            if (!checked_[CheckBox2] && !checked_[CheckBox3]) {
                setChecked(CheckBox1, false);
            }
            break;
        case CheckBox6:
            // Only once a file path is shown does the channel's group follow the box.
            if (Edit1.size() > 2) {
                GroupBox1Visible = Edit12Visible = Button2Visible = checked_[CheckBox6];
            }
            break;
        case CheckBox7:
            if (Edit1.size() > 2) {
                GroupBox2Visible = Edit13Visible = checked_[CheckBox7];
            }
            break;
        case CheckBox9:
            GroupBox6Visible = checked_[CheckBox9];
            break;
        default:
            break;
    }
}

void ReportOptions::resetForLoad(const QString& path) {
    Edit13 = QStringLiteral("Данные");
    Edit3.clear();
    Edit4.clear();
    Edit7 = QStringLiteral("1");
    Edit9 = QStringLiteral("1");
    Edit8 = QStringLiteral("0");
    Edit11 = QStringLiteral("0");
    for (CheckBox box : {CheckBox1, CheckBox2, CheckBox3, CheckBox10}) {
        setChecked(box, true);
    }
    setChecked(CheckBox8, false);
    setChecked(CheckBox9, true);
    setChecked(CheckBox5, false);
    Edit10 = QStringLiteral("83,14472");
    Edit6 = QStringLiteral("1");
    Edit5 = QStringLiteral("1");
    setChecked(CheckBox4, false);

    Memo1.clear();
    Memo2.clear();
    LimitLabels.fill(QString());
    for (int i = ComboBox1; i <= ComboBox8; ++i) {
        ComboBoxText[i].clear();
        ComboBoxItems[i].clear();
    }
    CheckBox6Enabled = false;
    CheckBox7Enabled = false;

    Edit1 = path;
}

void ReportOptions::takeLimitLabels(const LoadSummary& summary, LoadSummary::LimitRow first,
                                    LoadSummary::LimitRow last) {
    for (int i = first; i <= last; ++i) {
        if (summary.LimitRows[i] != "NO") {
            LimitLabels[i] = summary.LimitRows[i];
        }
    }
}

void ReportOptions::applyLoad(LogData& data, const LoadSummary& summary) {
    Memo1 += data.LabelRows;

    if (!data.hasDataChannel()) {
        GroupBox2Visible = Edit13Visible = false;
        setChecked(CheckBox7, false);
        CheckBox7Enabled = false;
    } else {
        GroupBox2Visible = Edit13Visible = true;
        setChecked(CheckBox7, true);
        CheckBox7Enabled = true;
    }

    if (!data.hasTemperatureChannel()) {
        GroupBox1Visible = Edit12Visible = Button2Visible = false;
        setChecked(CheckBox6, false);
    } else {
        GroupBox1Visible = Edit12Visible = true;
        setChecked(CheckBox6, true);
        Button2Visible = true;
    }
    CheckBox6Enabled = true;

    takeLimitLabels(summary, LoadSummary::TempUpper, LoadSummary::TempExcursions);
    if (data.TempChannelHeader != "NO") {
        GroupBox1Caption = data.TempChannelHeader;
    }

    if (data.DataChannelCaption) {
        GroupBox2Caption = *data.DataChannelCaption;
    }
    Edit13 = summary.Channel2Name;

    takeLimitLabels(summary, LoadSummary::DataUpper, LoadSummary::DataExcursions);

    Channel2CoefficientsVisible = !data.hasEvents();

    ComboBoxItems[ComboBox1] = summary.SampleDates;
    ComboBoxItems[ComboBox2] = summary.SampleDates;
    ComboBoxText[ComboBox1] =
        summary.SampleDates.isEmpty() ? QString() : summary.SampleDates.front();
    ComboBoxText[ComboBox2] =
        summary.SampleDates.isEmpty() ? QString() : summary.SampleDates.back();

    ComboBoxText[ComboBox3] = summary.FirstTime[0];
    ComboBoxText[ComboBox5] = summary.FirstTime[1];
    ComboBoxText[ComboBox6] = summary.FirstTime[2];
    ComboBoxText[ComboBox4] = summary.LastTime[0];
    ComboBoxText[ComboBox7] = summary.LastTime[1];
    ComboBoxText[ComboBox8] = summary.LastTime[2];

    data.FirstDate = ComboBoxText[ComboBox1];

    ComboBoxItems[ComboBox3] = ComboBoxItems[ComboBox4] = twoDigitNumbers(23);
    for (int i = ComboBox5; i <= ComboBox8; ++i) {
        ComboBoxItems[i] = twoDigitNumbers(59);
    }

    data.LastDate = ComboBoxText[ComboBox2];

    if (summary.CelsiusCount == 1) {
        MktControlsVisible = true;
    }
}

}  // namespace qorv
