#pragma once

#include "import/LogData.h"

#include <QString>
#include <QStringList>

#include <array>

namespace qorv {

// The main window's input controls that the report run reads, under their control names, with
// the window's rules for them: the start values, the reset before every load, the values a
// load puts in, and the check boxes' click rules. The window shows this record; the command
// line fills it from its options; the report run reads it.
//
//     ReportOptions options;                    // as at program start
//     options.setChecked(ReportOptions::CheckBox2, false);
//     options.setChecked(ReportOptions::CheckBox3, false);   // CheckBox1 and CheckBox10 follow
class ReportOptions {
  public:
    enum CheckBox {
        CheckBox1 = 1,  // "Установочные параметры": the heading and parameter block as a whole
        CheckBox2,   // "Ярлык ": label rows
        CheckBox3,   // "Статус": status rows
        CheckBox4,   // "Сжатие": compression
        CheckBox5,   // mean kinetic temperature
        CheckBox6,   // "1 канал"
        CheckBox7,   // "2 канал"
        CheckBox8,   // PDF copy
        CheckBox9,   // "График": chart
        CheckBox10,  // "Параметры протокола"
    };

    // Text fields, with their values at program start.
    QString Edit1;                                // path of the loaded file
    QString Edit2;                                // save directory
    QString Edit3, Edit4;                         // heading lines
    QString Edit5 = QStringLiteral("1");          // step in samples
    QString Edit6 = QStringLiteral("1");          // smoothing coefficient
    QString Edit7 = QStringLiteral("1");          // a
    QString Edit8 = QStringLiteral("0");          // b
    QString Edit9 = QStringLiteral("1");          // c
    QString Edit10 = QStringLiteral("83,14472");  // ΔH, kJ/mol
    QString Edit11 = QStringLiteral("0");         // d
    QString Edit12 = QStringLiteral("Темпер.");   // channel 1 name
    QString Edit13 = QStringLiteral("Данные");    // channel 2 name
    // "Статистика": the statistics section after the report's parameters. Off at every start;
    // a load leaves it as the user set it.
    bool Statistics = false;

    // The range lists, by control number: ComboBoxText[ComboBox1] is the start date.
    enum ComboBox {
        ComboBox1 = 1,  // start date
        ComboBox2,      // end date
        ComboBox3,      // start hour
        ComboBox4,      // end hour
        ComboBox5,      // start minute
        ComboBox6,      // start second
        ComboBox7,      // end minute
        ComboBox8,      // end second
    };
    // Index 0 is unused.
    std::array<QString, 9> ComboBoxText;
    std::array<QStringList, 9> ComboBoxItems;

    // The lists that hold one end of the range.
    struct RangeFields {
        ComboBox date, hour, minute, second;
    };
    static constexpr RangeFields RangeStart{ComboBox1, ComboBox3, ComboBox5, ComboBox6};
    static constexpr RangeFields RangeEnd{ComboBox2, ComboBox4, ComboBox7, ComboBox8};
    // "hh:mm:ss" of one end of the range, as its lists hold it.
    QString rangeTime(const RangeFields& end) const {
        return ComboBoxText[end.hour] + ':' + ComboBoxText[end.minute] + ':' +
               ComboBoxText[end.second];
    }

    // Captions and display texts.
    QString Caption = QStringLiteral("Qorv_Pr");
    QString GroupBox1Caption = QStringLiteral("GroupBox1");
    QString GroupBox2Caption = QStringLiteral("GroupBox2");
    QStringList Memo1;  // label rows
    QStringList Memo2;  // summary rows
    // Label9, Label10, Label15 (temperature limits), Label19, Label20, Label21 (data limits).
    std::array<QString, 6> LimitLabels;

    // Visibility and enabled states the run depends on or the window shows.
    bool GroupBox1Visible = false;
    bool GroupBox2Visible = false;
    bool GroupBox6Visible = true;
    bool Edit12Visible = true;
    bool Edit13Visible = true;
    bool Button2Visible = false;
    bool MktControlsVisible = false;  // CheckBox5, Edit10 and the kJ/mol labels
    // Label3, Edit6 (smoothing), Label5, Label6, Label7, Edit9, Edit11 (channel 2 coefficients).
    bool Channel2CoefficientsVisible = true;
    bool CheckBox2Enabled = true;
    bool CheckBox3Enabled = true;
    bool CheckBox10Enabled = true;
    bool CheckBox6Enabled = true;
    bool CheckBox7Enabled = true;

    bool isChecked(CheckBox box) const { return checked_[box]; }
    // Sets a check box; when its state changes, its click rule runs as for a user's click.
    void setChecked(CheckBox box, bool on);

    // The window's reset before a file is read: start texts of the fields, check boxes,
    // emptied displays and range lists, channel boxes disabled, `Edit1` := the file's path.
    void resetForLoad(const QString& path);
    // The window's steps after a file was read: channel groups, limits, captions, the range
    // lists and times, the mean kinetic temperature controls. Also re-takes `FirstDate` and
    // `LastDate` from the range lists, as the window does.
    void applyLoad(LogData& data, const LoadSummary& summary);

  private:
    void onClick(CheckBox box);
    // The limit labels of the summary's limit rows first to last that the file has.
    void takeLimitLabels(const LoadSummary& summary, LoadSummary::LimitRow first,
                         LoadSummary::LimitRow last);

    std::array<bool, 11> checked_{false, true,  true,  true, false, false,
                                  false, false, false, true, true};
};

}  // namespace qorv
