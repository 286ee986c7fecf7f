#include "report/ChartSettings.h"
#include "report/ReportOptions.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

using O = ReportOptions;

TEST(ReportOptions, UntickingLabelAndStatusUnticksTheSetupBlock) {
    ReportOptions o;
    o.setChecked(O::CheckBox2, false);
    EXPECT_TRUE(o.isChecked(O::CheckBox1));  // status still on
    o.setChecked(O::CheckBox3, false);
    EXPECT_FALSE(o.isChecked(O::CheckBox1));
    EXPECT_FALSE(o.isChecked(O::CheckBox10));
    EXPECT_FALSE(o.CheckBox2Enabled);
    EXPECT_FALSE(o.CheckBox3Enabled);
    EXPECT_FALSE(o.CheckBox10Enabled);

    o.setChecked(O::CheckBox1, true);
    EXPECT_TRUE(o.isChecked(O::CheckBox2));
    EXPECT_TRUE(o.isChecked(O::CheckBox3));
    EXPECT_TRUE(o.isChecked(O::CheckBox10));
    EXPECT_TRUE(o.CheckBox2Enabled);
    EXPECT_TRUE(o.CheckBox3Enabled);
    EXPECT_TRUE(o.CheckBox10Enabled);
}

TEST(ReportOptions, ChannelBoxesShowTheirGroupsOnlyOnceAFileIsNamed) {
    ReportOptions o;
    o.setChecked(O::CheckBox6, true);
    o.setChecked(O::CheckBox7, true);
    EXPECT_FALSE(o.GroupBox1Visible);
    EXPECT_FALSE(o.GroupBox2Visible);

    o.Edit1 = "/data/a.txt";
    o.setChecked(O::CheckBox6, false);
    o.setChecked(O::CheckBox6, true);
    EXPECT_TRUE(o.GroupBox1Visible);
    EXPECT_TRUE(o.Button2Visible);
}

TEST(ReportOptions, SettingAnUnchangedBoxRunsNoRule) {
    ReportOptions o;
    o.setChecked(O::CheckBox2, false);
    o.setChecked(O::CheckBox3, false);  // CheckBox1 off, 2/3/10 disabled
    o.setChecked(O::CheckBox1, false);  // already off: nothing re-enabled
    EXPECT_FALSE(o.CheckBox2Enabled);
}

TEST(ReportOptions, ResetForLoadRestoresTheFieldsButKeepsDirectoryAndChannel1Name) {
    ReportOptions o;
    o.Edit2 = "/out/";
    o.Edit12 = "Камера";
    o.Edit3 = "Заголовок";
    o.Edit5 = "3";
    o.Edit10 = "90";
    o.setChecked(O::CheckBox4, true);
    o.setChecked(O::CheckBox8, true);
    o.setChecked(O::CheckBox9, false);
    o.setChecked(O::CheckBox2, false);
    o.setChecked(O::CheckBox3, false);
    o.ComboBoxText[1] = "01/01/2020";
    o.Memo2 << "old";

    o.resetForLoad("/data/b.txt");
    EXPECT_EQ(o.Edit2, QString("/out/"));
    EXPECT_EQ(o.Edit12, QString("Камера"));
    EXPECT_EQ(o.Edit1, QString("/data/b.txt"));
    EXPECT_TRUE(o.Edit3.isEmpty());
    EXPECT_EQ(o.Edit5, QString("1"));
    EXPECT_EQ(o.Edit10, QString("83,14472"));
    EXPECT_FALSE(o.isChecked(O::CheckBox4));
    EXPECT_FALSE(o.isChecked(O::CheckBox8));
    EXPECT_TRUE(o.isChecked(O::CheckBox9));
    EXPECT_TRUE(o.GroupBox6Visible);
    EXPECT_TRUE(o.isChecked(O::CheckBox1));
    EXPECT_TRUE(o.isChecked(O::CheckBox2));
    EXPECT_TRUE(o.isChecked(O::CheckBox3));
    EXPECT_TRUE(o.isChecked(O::CheckBox10));
    EXPECT_TRUE(o.CheckBox2Enabled);
    EXPECT_TRUE(o.ComboBoxText[1].isEmpty());
    EXPECT_TRUE(o.Memo2.isEmpty());
    EXPECT_FALSE(o.CheckBox6Enabled);
    EXPECT_FALSE(o.CheckBox7Enabled);
}

LogData twoChannelData() {
    LogData d;
    d.TempChannelHeader = "Канал температуры - 2 байта";
    d.DataChannelHeader = "Канал данных - влажность ()";
    d.DataChannelCaption = "Канал данных - влажность ()";
    d.LabelRows = {"Склад 3"};
    return d;
}

LoadSummary twoDaySummary() {
    LoadSummary s;
    s.SampleDates = {"01/02/2015", "02/02/2015"};
    s.FirstTime = {"10", "00", "05"};
    s.LastTime = {"09", "59", "35"};
    s.Channel2Name = "Влажность";
    s.LimitRows = {"Верхний температурный предел: 25",  "NO", "NO", "NO", "NO",
                   "Выходы за пределы канала данных: 0"};
    s.CelsiusCount = 1;
    return s;
}

TEST(ReportOptions, ApplyLoadFillsChannelsRangeAndLimits) {
    ReportOptions o;
    o.resetForLoad("/data/th.txt");
    LogData d = twoChannelData();
    o.applyLoad(d, twoDaySummary());

    EXPECT_TRUE(o.isChecked(O::CheckBox6));
    EXPECT_TRUE(o.isChecked(O::CheckBox7));
    EXPECT_TRUE(o.CheckBox6Enabled);
    EXPECT_TRUE(o.CheckBox7Enabled);
    EXPECT_TRUE(o.GroupBox1Visible);
    EXPECT_TRUE(o.GroupBox2Visible);
    EXPECT_EQ(o.GroupBox1Caption, d.TempChannelHeader);
    EXPECT_EQ(o.GroupBox2Caption, QString("Канал данных - влажность ()"));
    EXPECT_EQ(o.Edit13, QString("Влажность"));
    EXPECT_EQ(o.ComboBoxText[1], QString("01/02/2015"));
    EXPECT_EQ(o.ComboBoxText[2], QString("02/02/2015"));
    EXPECT_EQ(o.ComboBoxText[3] + o.ComboBoxText[5] + o.ComboBoxText[6], QString("100005"));
    EXPECT_EQ(o.ComboBoxText[4] + o.ComboBoxText[7] + o.ComboBoxText[8], QString("095935"));
    EXPECT_EQ(o.ComboBoxItems[4].size(), 24);
    EXPECT_EQ(o.ComboBoxItems[8].back(), QString("59"));
    EXPECT_EQ(o.ComboBoxItems[5].front(), QString("00"));
    EXPECT_EQ(o.LimitLabels[0], QString("Верхний температурный предел: 25"));
    EXPECT_TRUE(o.LimitLabels[1].isEmpty());
    EXPECT_EQ(o.LimitLabels[5], QString("Выходы за пределы канала данных: 0"));
    EXPECT_EQ(o.Memo1, QStringList{"Склад 3"});
    EXPECT_TRUE(o.MktControlsVisible);
    EXPECT_TRUE(o.Channel2CoefficientsVisible);
    EXPECT_EQ(d.FirstDate, QString("01/02/2015"));
    EXPECT_EQ(d.LastDate, QString("02/02/2015"));
}

TEST(ReportOptions, AbsentChannelsAndEvents) {
    ReportOptions o;
    o.resetForLoad("/data/ev.txt");
    LogData d;
    d.TempChannelState = "NO";
    d.DataChannelState = "OK";
    d.HasEvents = "true";
    LoadSummary s;
    s.Channel2Name = "Событие";
    o.applyLoad(d, s);
    EXPECT_FALSE(o.isChecked(O::CheckBox6));
    EXPECT_TRUE(o.CheckBox6Enabled);  // enabled even without a temperature channel
    EXPECT_FALSE(o.GroupBox1Visible);
    EXPECT_FALSE(o.Button2Visible);
    EXPECT_TRUE(o.isChecked(O::CheckBox7));
    EXPECT_FALSE(o.Channel2CoefficientsVisible);
    EXPECT_TRUE(o.ComboBoxText[1].isEmpty());

    // A DS1921 file: no data channel.
    o.resetForLoad("/data/ds.txt");
    LogData ds;
    ds.DataChannelState = "NO";
    o.applyLoad(ds, LoadSummary());
    EXPECT_FALSE(o.isChecked(O::CheckBox7));
    EXPECT_FALSE(o.CheckBox7Enabled);
    EXPECT_FALSE(o.GroupBox2Visible);
    EXPECT_TRUE(o.isChecked(O::CheckBox6));
}

TEST(ReportOptions, MeanKineticControlsStayVisibleOnceShown) {
    ReportOptions o;
    LogData d = twoChannelData();
    LoadSummary s = twoDaySummary();
    s.CelsiusCount = 2;
    o.resetForLoad("/a.txt");
    o.applyLoad(d, s);
    EXPECT_FALSE(o.MktControlsVisible);
    s.CelsiusCount = 1;
    o.resetForLoad("/b.txt");
    o.applyLoad(d, s);
    EXPECT_TRUE(o.MktControlsVisible);
    s.CelsiusCount = 2;
    o.resetForLoad("/c.txt");
    o.applyLoad(d, s);
    EXPECT_TRUE(o.MktControlsVisible);
    EXPECT_FALSE(o.isChecked(O::CheckBox5));
}

TEST(ChartSettings, ResetRestoresEveryDefault) {
    ChartSettings c;
    c.TempDecimals = 3;
    c.TempColor = 65280;
    c.TempMarker = "OK";
    c.DataScaleAuto = "NO";
    c.DataScaleMin = -5;
    c.DataScaleMax = 50;
    c.TimeGridlines = "OK";
    c.TimeUnitAuto = "NO";
    c.TimeMajorUnit = 0.25;
    c.reset();
    EXPECT_EQ(c.TempDecimals, 1);
    EXPECT_EQ(c.DataDecimals, 1);
    EXPECT_EQ(c.TempColor, 0);
    EXPECT_EQ(c.DataColor, 255);
    EXPECT_EQ(c.TempMarker, QString("NO"));
    EXPECT_EQ(c.DataMarker, QString("NO"));
    EXPECT_EQ(c.TempScaleAuto, QString("OK"));
    EXPECT_EQ(c.DataScaleAuto, QString("OK"));
    EXPECT_EQ(c.DataScaleMin, 0);
    EXPECT_EQ(c.DataScaleMax, 0);
    EXPECT_EQ(c.TimeGridlines, QString("NO"));
    EXPECT_EQ(c.TimeUnitAuto, QString("OK"));
    EXPECT_EQ(c.TimeMajorUnit, 4.0);
}

}  // namespace
}  // namespace qorv
