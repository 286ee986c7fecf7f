#include "ui/ChartAppearanceDialog.h"
#include "ui/TimeAxisDialog.h"

#include "report/FormatSettings.h"
#include "ui/ScriptedDesktop.h"
#include "ui/UiMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace qorv::ui {
namespace {

using testing::ScriptedDesktop;
namespace msg = messages;

// The captions that name a field in its conversion message.
const QString kDivision = QStringLiteral("Цена деления");
const QString kMinimum = QStringLiteral("Минимальное значение");
const QString kMaximum = QStringLiteral("Максимальное значение");

template <typename T>
T* Find(QWidget& dialog, const char* name) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return control;
}

QColor SwatchColor(QWidget& dialog) {
    return Find<QLineEdit>(dialog, "Edit1")->palette().color(QPalette::Base);
}

void ClickSwatch(QWidget& dialog) {
    QLineEdit* swatch = Find<QLineEdit>(dialog, "Edit1");
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, swatch->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &press);
}

void PressEscape(QWidget& dialog) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
}

// ---------------------------------------------------------------- chart appearance dialogs

TEST(ChartDialogsTest, TForm2AfterAResetShowsTheDefaults) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("График температуры"));
    EXPECT_EQ(Find<QPushButton>(dialog, "Button1")->text(), QStringLiteral("\u041E\u041A"));
    EXPECT_EQ(dialog.size(), QSize(290, 336));
    EXPECT_EQ(SwatchColor(dialog), QColor(Qt::black));
    EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox1")->isChecked());
    EXPECT_EQ(Find<QComboBox>(dialog, "ComboBox1")->currentText(), "1");
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox2")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox3")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(dialog, "Edit2")->text(), "1");
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Edit2")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox4")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox5")->isChecked());
    for (const char* name : {"Edit3", "Edit4"}) {
        EXPECT_TRUE(Find<QLineEdit>(dialog, name)->text().isEmpty()) << name;
        EXPECT_FALSE(Find<QLineEdit>(dialog, name)->isEnabled()) << name;
    }
    EXPECT_FALSE(Find<QLabel>(dialog, "Label3")->isEnabled());
    EXPECT_FALSE(Find<QLabel>(dialog, "Label4")->isEnabled());
}

TEST(ChartDialogsTest, EveryOpeningLoadsTheRecordAsItIsThen) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();
    dialog.close();

    settings.TempColor = 0x0080FF;  // orange: red 255, green 128
    settings.TempMarker = "OK";
    settings.TempDecimals = 3;
    settings.TempMajorUnit = 5;
    settings.TempScaleAuto = "NO";
    settings.TempScaleMin = -10;
    settings.TempScaleMax = 40;
    settings.TempLimitLines = true;
    dialog.show();

    EXPECT_EQ(SwatchColor(dialog), QColor(255, 128, 0));
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox6")->isChecked());
    EXPECT_EQ(Find<QComboBox>(dialog, "ComboBox1")->currentText(), "3");
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox3")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(dialog, "Edit2")->text(), "5");
    EXPECT_TRUE(Find<QLineEdit>(dialog, "Edit2")->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(dialog, "Edit4")->text(), "-10");
    EXPECT_EQ(Find<QLineEdit>(dialog, "Edit3")->text(), "40");
    // A fixed scale in effect shows as fixed, with its limits.
    EXPECT_FALSE(Find<QCheckBox>(dialog, "CheckBox4")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox5")->isChecked());
    EXPECT_TRUE(Find<QLineEdit>(dialog, "Edit3")->isEnabled());

    Find<QCheckBox>(dialog, "CheckBox1")->click();
    EXPECT_EQ(settings.TempMarker, "NO");
    Find<QCheckBox>(dialog, "CheckBox6")->click();
    EXPECT_FALSE(settings.TempLimitLines);
}

struct CheckBoxPair {
    const char* automatic;
    const char* fixed;
    std::vector<const char*> fixedControls;
};

void PrintTo(const CheckBoxPair& pair, std::ostream* os) {
    *os << pair.automatic << "/" << pair.fixed;
}

class ChartDialogsPairTest : public ::testing::TestWithParam<CheckBoxPair> {};

TEST_P(ChartDialogsPairTest, ExactlyOneBoxIsTickedAndTheFixedControlsFollow) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();
    QCheckBox* automatic = Find<QCheckBox>(dialog, GetParam().automatic);
    QCheckBox* fixed = Find<QCheckBox>(dialog, GetParam().fixed);
    const auto expectFixed = [&](bool isFixed, const char* step) {
        EXPECT_EQ(automatic->isChecked(), !isFixed) << step;
        EXPECT_EQ(fixed->isChecked(), isFixed) << step;
        for (const char* name : GetParam().fixedControls) {
            EXPECT_EQ(Find<QWidget>(dialog, name)->isEnabled(), isFixed) << step << " " << name;
        }
    };

    automatic->click();
    expectFixed(true, "automatic unticked");
    automatic->click();
    expectFixed(false, "automatic ticked");
    fixed->click();
    expectFixed(true, "fixed ticked");
    fixed->click();
    expectFixed(false, "fixed unticked");
    automatic->setChecked(false);  // from code, as the show step does
    expectFixed(true, "automatic unticked by code");
}

INSTANTIATE_TEST_SUITE_P(ChartDialogs, ChartDialogsPairTest,
                         ::testing::Values(CheckBoxPair{"CheckBox2", "CheckBox3", {"Edit2"}},
                                           CheckBoxPair{"CheckBox4",
                                                        "CheckBox5",
                                                        {"Edit3", "Edit4", "Label3", "Label4"}}));

// What is typed, then what is expected. A field a case leaves out has its default: both boxes
// automatic and the fields empty; no message, the dialog closed, and the record as an automatic
// close leaves it (no unit, automatic scale, the limits unchanged).
struct CloseCase {
    const char* name = "";
    bool divisionFixed = false;
    QString unitText = "";
    bool scaleFixed = false;
    QString minimumText = "";
    QString maximumText = "";
    // Expected.
    std::optional<QString> message = std::nullopt;
    bool staysOpen = false;
    std::int32_t majorUnit = 0;
    QString scaleAuto = "OK";
    std::int32_t scaleMin = -5;
    std::int32_t scaleMax = 5;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class ChartDialogsCloseTest : public ::testing::TestWithParam<CloseCase> {};

// The record starts with unit 7 and the fixed scale -5..5, so "unchanged" is visible.
TEST_P(ChartDialogsCloseTest, StoresDivisionAndScale) {
    const CloseCase& c = GetParam();
    ChartSettings settings;
    settings.TempMajorUnit = 7;
    settings.TempScaleAuto = "NO";
    settings.TempScaleMin = -5;
    settings.TempScaleMax = 5;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();

    Find<QCheckBox>(dialog, "CheckBox2")->setChecked(!c.divisionFixed);
    Find<QLineEdit>(dialog, "Edit2")->setText(c.unitText);
    Find<QCheckBox>(dialog, "CheckBox4")->setChecked(!c.scaleFixed);
    Find<QLineEdit>(dialog, "Edit4")->setText(c.minimumText);
    Find<QLineEdit>(dialog, "Edit3")->setText(c.maximumText);
    Find<QPushButton>(dialog, "Button1")->click();

    EXPECT_EQ(desktop.messages, c.message ? QStringList{*c.message} : QStringList{});
    EXPECT_EQ(dialog.isVisible(), c.staysOpen);
    EXPECT_EQ(settings.TempMajorUnit, c.majorUnit);
    EXPECT_EQ(settings.TempScaleAuto, c.scaleAuto);
    EXPECT_EQ(settings.TempScaleMin, c.scaleMin);
    EXPECT_EQ(settings.TempScaleMax, c.scaleMax);
}

const QString kNotFilled = msg::AxisScaleFieldEmpty;
const QString kBelow = msg::AxisMaximumBelowMinimum;

INSTANTIATE_TEST_SUITE_P(
    ChartDialogs, ChartDialogsCloseTest,
    ::testing::Values(
        CloseCase{.name = "BothAutomatic", .unitText = "abc", .minimumText = "x"},
        CloseCase{.name = "UnitZeroIsAutomatic", .divisionFixed = true, .unitText = "0"},
        CloseCase{.name = "Unit", .divisionFixed = true, .unitText = "12", .majorUnit = 12},
        CloseCase{.name = "SignedUnits", .divisionFixed = true, .unitText = "-3", .majorUnit = -3},
        CloseCase{.name = "PlusSign", .divisionFixed = true, .unitText = "+3", .majorUnit = 3},
        CloseCase{.name = "LargestUnit",
                  .divisionFixed = true,
                  .unitText = "2147483647",
                  .majorUnit = 2147483647},
        CloseCase{.name = "UnitOutOfRange",
                  .divisionFixed = true,
                  .unitText = "2147483648",
                  .message = msg::NotAValidInteger(kDivision, "2147483648"),
                  .staysOpen = true,
                  .majorUnit = 7,
                  .scaleAuto = "NO"},
        CloseCase{.name = "EmptyUnit",
                  .divisionFixed = true,
                  .unitText = "",
                  .message = msg::NotAValidInteger(kDivision, ""),
                  .staysOpen = true,
                  .majorUnit = 7,
                  .scaleAuto = "NO"},
        CloseCase{.name = "UnitWithBlank",
                  .divisionFixed = true,
                  .unitText = " 5",
                  .message = msg::NotAValidInteger(kDivision, " 5"),
                  .staysOpen = true,
                  .majorUnit = 7,
                  .scaleAuto = "NO"},
        CloseCase{.name = "FractionalUnit",
                  .divisionFixed = true,
                  .unitText = "1,5",
                  .message = msg::NotAValidInteger(kDivision, "1,5"),
                  .staysOpen = true,
                  .majorUnit = 7,
                  .scaleAuto = "NO"},
        CloseCase{.name = "Limits",
                  .scaleFixed = true,
                  .minimumText = "0",
                  .maximumText = "50",
                  .scaleAuto = "NO",
                  .scaleMin = 0,
                  .scaleMax = 50},
        CloseCase{.name = "NegativeLimits",
                  .scaleFixed = true,
                  .minimumText = "-40",
                  .maximumText = "-1",
                  .scaleAuto = "NO",
                  .scaleMin = -40,
                  .scaleMax = -1},
        CloseCase{.name = "EqualLimits",
                  .scaleFixed = true,
                  .minimumText = "10",
                  .maximumText = "10",
                  .message = kBelow,
                  .scaleAuto = "NO"},
        CloseCase{.name = "ReversedLimits",
                  .scaleFixed = true,
                  .minimumText = "20",
                  .maximumText = "10",
                  .message = kBelow,
                  .scaleAuto = "NO"},
        CloseCase{.name = "MinimumEmpty",
                  .scaleFixed = true,
                  .maximumText = "10",
                  .message = kNotFilled,
                  .scaleAuto = "NO"},
        CloseCase{.name = "MaximumEmpty",
                  .divisionFixed = true,
                  .unitText = "4",
                  .scaleFixed = true,
                  .minimumText = "1",
                  .message = kNotFilled,
                  .majorUnit = 4,
                  .scaleAuto = "NO"},
        CloseCase{.name = "BothEmptyOneMessage",
                  .scaleFixed = true,
                  .message = kNotFilled,
                  .scaleAuto = "NO"},
        // The division stored before the failing limit stays stored.
        CloseCase{.name = "MinimumNotAnInteger",
                  .divisionFixed = true,
                  .unitText = "9",
                  .scaleFixed = true,
                  .minimumText = "x",
                  .maximumText = "10",
                  .message = msg::NotAValidInteger(kMinimum, "x"),
                  .staysOpen = true,
                  .majorUnit = 9,
                  .scaleAuto = "NO"},
        CloseCase{.name = "MaximumNotAnInteger",
                  .scaleFixed = true,
                  .minimumText = "1",
                  .maximumText = "1e2",
                  .message = msg::NotAValidInteger(kMaximum, "1e2"),
                  .staysOpen = true,
                  .scaleAuto = "NO"}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

struct CloseWay {
    const char* name;
    std::function<void(QDialog&)> close;
};

void PrintTo(const CloseWay& way, std::ostream* os) {
    *os << way.name;
}

class ChartDialogsCloseWayTest : public ::testing::TestWithParam<CloseWay> {};

TEST_P(ChartDialogsCloseWayTest, AFailedConversionKeepsTheDialogOpen) {
    ChartSettings settings;
    const LogData data;
    ScriptedDesktop desktop;
    TForm3 dialog(settings, data, desktop);
    dialog.show();
    Find<QCheckBox>(dialog, "CheckBox3")->click();
    Find<QLineEdit>(dialog, "Edit2")->setText("x");

    GetParam().close(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(desktop.messages, QStringList{msg::NotAValidInteger(kDivision, "x")});

    Find<QLineEdit>(dialog, "Edit2")->setText("4");
    GetParam().close(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.DataMajorUnit, 4);
    EXPECT_EQ(desktop.messages.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    ChartDialogs, ChartDialogsCloseWayTest,
    ::testing::Values(CloseWay{"Button1",
                               [](QDialog& d) { Find<QPushButton>(d, "Button1")->click(); }},
                      CloseWay{"CloseBox", [](QDialog& d) { d.close(); }},
                      CloseWay{"Escape", [](QDialog& d) { PressEscape(d); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

TEST(ChartDialogsTest, NextOpeningShowsWhatTheCloseStored) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();
    Find<QCheckBox>(dialog, "CheckBox3")->click();
    Find<QLineEdit>(dialog, "Edit2")->setText("0");
    // Scale fixed with empty limits: refused with a message, the record keeps "OK".
    Find<QCheckBox>(dialog, "CheckBox5")->click();
    dialog.close();
    EXPECT_EQ(desktop.messages, QStringList{msg::AxisScaleFieldEmpty});

    dialog.show();
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox2")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(dialog, "Edit2")->text(), "1");
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Edit2")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "CheckBox4")->isChecked());
    EXPECT_FALSE(Find<QLineEdit>(dialog, "Edit3")->isEnabled());
}

TEST(ChartDialogsTest, DecimalsAreStoredOnEveryChangeOfTheSelection) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();
    QComboBox* decimals = Find<QComboBox>(dialog, "ComboBox1");

    decimals->setCurrentIndex(4);
    EXPECT_EQ(settings.TempDecimals, 4);
    decimals->setEditText("6");  // typed text naming an item selects it
    EXPECT_EQ(decimals->currentIndex(), 6);
    EXPECT_EQ(settings.TempDecimals, 6);
    decimals->setEditText("9");  // no such item: the selection stays
    EXPECT_EQ(settings.TempDecimals, 6);
    decimals->setEditText("6");
    Find<QPushButton>(dialog, "Button1")->click();
    EXPECT_EQ(settings.TempDecimals, 6);

    dialog.show();
    EXPECT_EQ(decimals->currentText(), "6");
}

TEST(ChartDialogsTest, TForm3ShowsAndEditsTheDataHalfOnly) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    desktop.colorChoices.push_back(QColor(0x12, 0x34, 0x56));
    const LogData data;
    TForm3 dialog(settings, data, desktop);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("График данных"));
    EXPECT_EQ(dialog.size(), QSize(290, 333));
    EXPECT_EQ(SwatchColor(dialog), QColor(Qt::red));

    ClickSwatch(dialog);
    Find<QCheckBox>(dialog, "CheckBox1")->click();
    Find<QCheckBox>(dialog, "CheckBox6")->click();
    Find<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(2);
    Find<QCheckBox>(dialog, "CheckBox3")->click();
    Find<QLineEdit>(dialog, "Edit2")->setText("4");
    Find<QCheckBox>(dialog, "CheckBox5")->click();
    Find<QLineEdit>(dialog, "Edit4")->setText("0");
    Find<QLineEdit>(dialog, "Edit3")->setText("100");
    Find<QPushButton>(dialog, "Button1")->click();

    EXPECT_EQ(settings.DataColor, 0x563412);
    EXPECT_EQ(settings.DataMarker, "OK");
    EXPECT_EQ(settings.DataDecimals, 2);
    EXPECT_EQ(settings.DataMajorUnit, 4);
    EXPECT_EQ(settings.DataScaleAuto, "NO");
    EXPECT_EQ(settings.DataScaleMin, 0);
    EXPECT_EQ(settings.DataScaleMax, 100);
    EXPECT_TRUE(settings.DataLimitLines);
    ChartSettings defaults;
    EXPECT_FALSE(settings.TempLimitLines);
    EXPECT_EQ(settings.TempColor, defaults.TempColor);
    EXPECT_EQ(settings.TempMarker, defaults.TempMarker);
    EXPECT_EQ(settings.TempDecimals, defaults.TempDecimals);
    EXPECT_EQ(settings.TempMajorUnit, defaults.TempMajorUnit);
    EXPECT_EQ(settings.TempScaleAuto, defaults.TempScaleAuto);
}

TEST(ChartDialogsTest, ColourDialogStartsWithTheSeriesColour) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    const LogData log;
    TForm3 data(settings, log, desktop);
    TForm2 temperature(settings, desktop);
    data.show();

    ClickSwatch(data);  // cancelled
    EXPECT_EQ(settings.DataColor, 255);
    EXPECT_EQ(SwatchColor(data), QColor(Qt::red));

    desktop.colorChoices.push_back(QColor(Qt::green));
    ClickSwatch(data);
    EXPECT_EQ(settings.DataColor, 0x00FF00);
    EXPECT_EQ(SwatchColor(data), QColor(Qt::green));
    ClickSwatch(data);  // cancelled
    data.close();

    settings.reset();  // a file load
    data.show();
    ClickSwatch(data);  // cancelled
    temperature.show();
    ClickSwatch(temperature);

    ASSERT_EQ(desktop.colorDialogStarts.size(), 5u);
    EXPECT_EQ(desktop.colorDialogStarts[0], QColor(Qt::red));    // channel 2's red swatch
    EXPECT_EQ(desktop.colorDialogStarts[1], QColor(Qt::red));    // a cancel chooses nothing
    EXPECT_EQ(desktop.colorDialogStarts[2], QColor(Qt::green));  // the colour chosen last
    EXPECT_EQ(desktop.colorDialogStarts[3], QColor(Qt::red));    // the reset setting
    EXPECT_EQ(desktop.colorDialogStarts[4], QColor(Qt::black));  // channel 1's own
    EXPECT_EQ(settings.DataColor, 255);
}

TEST(ChartDialogsTest, ATypedNumberOfDecimalsOutsideTheListIsRefusedWithTheRange) {
    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm2 dialog(settings, desktop);
    dialog.show();
    auto* decimals = Find<QComboBox>(dialog, "ComboBox1");
    decimals->setEditText("8");
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(desktop.messages, QStringList{msg::DecimalsOutOfRange});
    EXPECT_EQ(settings.TempDecimals, 1);

    decimals->setEditText("7");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.TempDecimals, 7);
    EXPECT_EQ(desktop.messages.size(), 1);
}

TEST(ChartDialogsTest, TForm3LaysItselfOutForEventsAtEveryOpening) {
    ChartSettings settings;
    LogData data;
    data.HasEvents = "true";
    ScriptedDesktop desktop;
    TForm3 dialog(settings, data, desktop);
    const char* const full[] = {"Label1",    "ComboBox1", "GroupBox1", "GroupBox2", "CheckBox2",
                                "CheckBox3", "CheckBox4", "CheckBox5", "Edit2",     "CheckBox6"};
    const auto tops = [&] {
        return std::vector<int>{
            Find<QWidget>(dialog, "Button1")->y(), Find<QWidget>(dialog, "Label2")->y(),
            Find<QWidget>(dialog, "Edit1")->y(), Find<QWidget>(dialog, "CheckBox1")->y()};
    };

    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(290, 82));
    for (const char* name : full) {
        EXPECT_FALSE(Find<QWidget>(dialog, name)->isVisible()) << name;
    }
    for (const char* name : {"Label2", "Edit1", "CheckBox1", "Button1"}) {
        EXPECT_TRUE(Find<QWidget>(dialog, name)->isVisible()) << name;
    }
    EXPECT_EQ(tops(), (std::vector<int>{45, 13, 11, 13}));
    Find<QPushButton>(dialog, "Button1")->click();
    EXPECT_FALSE(dialog.isVisible());

    data.HasEvents = "NO";  // the next file has a measured channel 2
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(290, 333));
    for (const char* name : full) {
        EXPECT_TRUE(Find<QWidget>(dialog, name)->isVisible()) << name;
    }
    EXPECT_EQ(tops(), (std::vector<int>{300, 40, 38, 40}));
}

// ---------------------------------------------------------------- time axis dialog

class TimeAxisDialogTest : public ::testing::Test {
  protected:
    void choose(int item, const char* list = nullptr, const QString& text = {}) {
        Find<QRadioButton>(dialog, qPrintable(QStringLiteral("RadioGroup1Item%1").arg(item)))
            ->click();
        if (list != nullptr) {
            Find<QComboBox>(dialog, list)->setEditText(text);
        }
    }
    void closeWithOk() { Find<QPushButton>(dialog, "Button1")->click(); }

    ChartSettings settings;
    ScriptedDesktop desktop;
    TForm4 dialog{settings, desktop};
};

TEST_F(TimeAxisDialogTest, ClosingTheInitialStateStoresNoGridAndAnAutomaticUnit) {
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Настройка оси времени"));
    EXPECT_EQ(Find<QPushButton>(dialog, "Button1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.size(), QSize(223, 252));
    closeWithOk();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.TimeGridlines, "NO");
    EXPECT_EQ(settings.TimeUnitAuto, "OK");
    EXPECT_EQ(settings.TimeMajorUnit, 4.0);
    EXPECT_TRUE(desktop.messages.isEmpty());
}

TEST_F(TimeAxisDialogTest, OnlyTheListOfTheSelectedItemIsEnabled) {
    dialog.show();
    const auto enabled = [&] {
        return std::vector<bool>{Find<QComboBox>(dialog, "ComboBox1")->isEnabled(),
                                 Find<QComboBox>(dialog, "ComboBox2")->isEnabled(),
                                 Find<QComboBox>(dialog, "ComboBox3")->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    choose(1);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false}));
    choose(2);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
    choose(3);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true}));
    choose(0);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
}

struct UnitCase {
    int item;
    const char* list;
    const char* text;
    double days;
};

void PrintTo(const UnitCase& c, std::ostream* os) {
    *os << "item " << c.item << " \"" << c.text << "\"";
}

class TimeAxisDialogUnitTest : public TimeAxisDialogTest,
                               public ::testing::WithParamInterface<UnitCase> {};

TEST_P(TimeAxisDialogUnitTest, FixedUnitIsStoredInDays) {
    dialog.show();
    Find<QCheckBox>(dialog, "CheckBox1")->click();
    // The lists that do not belong to the selected item are not read.
    for (const char* list : {"ComboBox1", "ComboBox2", "ComboBox3"}) {
        Find<QComboBox>(dialog, list)->setEditText("x");
    }
    choose(GetParam().item, GetParam().list, GetParam().text);
    closeWithOk();
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_EQ(settings.TimeGridlines, "OK");
    EXPECT_EQ(settings.TimeUnitAuto, "NO");
    EXPECT_DOUBLE_EQ(settings.TimeMajorUnit, GetParam().days);
}

INSTANTIATE_TEST_SUITE_P(TimeAxisDialog, TimeAxisDialogUnitTest,
                         ::testing::Values(UnitCase{1, "ComboBox1", "15", 15.0 / 60 / 24},
                                           UnitCase{1, "ComboBox1", "90", 90.0 / 60 / 24},
                                           UnitCase{2, "ComboBox2", "6", 0.25},
                                           UnitCase{3, "ComboBox3", "2", 2.0},
                                           UnitCase{3, "ComboBox3", "-1", -1.0}));

TEST_F(TimeAxisDialogTest, ANonNumberKeepsTheDialogOpenAndTheUnitAsItWas) {
    dialog.show();
    Find<QCheckBox>(dialog, "CheckBox1")->click();
    choose(3, "ComboBox3", QStringLiteral("два"));
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(desktop.messages,
              QStringList{msg::NotAValidFloat(QStringLiteral("Сутки"), QStringLiteral("два"))});
    EXPECT_EQ(settings.TimeGridlines, "OK");
    EXPECT_EQ(settings.TimeUnitAuto, "NO");
    EXPECT_EQ(settings.TimeMajorUnit, 4.0);

    Find<QComboBox>(dialog, "ComboBox3")->setEditText("3");
    closeWithOk();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.TimeMajorUnit, 3.0);
}

TEST_F(TimeAxisDialogTest, OpeningShowsTheSettingsInEffect) {
    struct Row {
        const char* typed[2];  // the item's list and its text the user closed with ({} none)
        int typedItem;
        QString grid, automatic;
        double unit;  // what is in effect at the next opening
        bool gridShown;
        int item;
        const char* list;
        const char* text;
    };
    const Row rows[] = {
        // A load resets the settings: the automatic unit and no grid show, whatever was chosen.
        {{"ComboBox1", "90"}, 1, "NO", "OK", 4.0, false, 0, nullptr, nullptr},
        // The choice as written while it is what holds.
        {{"ComboBox1", "90"}, 1, "OK", "NO", 90.0 / 60 / 24, true, 1, "ComboBox1", "90"},
        {{"ComboBox1", "120"}, 1, "OK", "NO", 120.0 / 60 / 24, true, 1, "ComboBox1", "120"},
        // Settings made elsewhere show in the largest whole unit.
        {{nullptr, nullptr}, 0, "OK", "NO", 0.25, true, 2, "ComboBox2", "6"},
        {{nullptr, nullptr}, 0, "NO", "NO", 2.0, false, 3, "ComboBox3", "2"},
        {{nullptr, nullptr}, 0, "NO", "NO", 15.0 / 60 / 24, false, 1, "ComboBox1", "15"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        settings.reset();
        dialog.show();
        if (row.typed[0]) {
            Find<QCheckBox>(dialog, "CheckBox1")->setChecked(true);
            choose(row.typedItem, row.typed[0], QString::fromLatin1(row.typed[1]));
        } else {
            choose(0);
        }
        closeWithOk();
        settings.TimeGridlines = row.grid;
        settings.TimeUnitAuto = row.automatic;
        settings.TimeMajorUnit = row.unit;

        dialog.show();
        EXPECT_EQ(Find<QCheckBox>(dialog, "CheckBox1")->isChecked(), row.gridShown);
        EXPECT_TRUE(Find<QRadioButton>(
                        dialog, qPrintable(QStringLiteral("RadioGroup1Item%1").arg(row.item)))
                        ->isChecked());
        if (row.list) {
            EXPECT_EQ(Find<QComboBox>(dialog, row.list)->currentText(),
                      QString::fromLatin1(row.text));
            EXPECT_TRUE(Find<QComboBox>(dialog, row.list)->isEnabled());
        }
        // Closing unchanged keeps what was in effect.
        closeWithOk();
        EXPECT_EQ(settings.TimeGridlines, row.grid);
        EXPECT_EQ(settings.TimeUnitAuto, row.automatic);
        EXPECT_DOUBLE_EQ(settings.TimeMajorUnit, row.unit);
    }
}

struct SeparatorCase {
    const char* locale;
    const char* text;
    std::optional<double> hours;  // nothing: a conversion error
};

void PrintTo(const SeparatorCase& c, std::ostream* os) {
    *os << c.locale << " \"" << c.text << "\"";
}

class TimeAxisDialogSeparatorTest : public TimeAxisDialogTest,
                                    public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(TimeAxisDialogSeparatorTest, NumbersUseTheSystemDecimalSeparator) {
    const SeparatorCase& c = GetParam();
    const ScopedSystemLocale system{QLocale(QString::fromLatin1(c.locale))};
    dialog.show();
    choose(2, "ComboBox2", QString::fromUtf8(c.text));
    closeWithOk();
    if (c.hours) {
        EXPECT_TRUE(desktop.messages.isEmpty());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_DOUBLE_EQ(settings.TimeMajorUnit, *c.hours / 24);
    } else {
        EXPECT_EQ(desktop.messages, QStringList{msg::NotAValidFloat(QStringLiteral("Часы"),
                                                                    QString::fromUtf8(c.text))});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(settings.TimeMajorUnit, 4.0);
    }
}

INSTANTIATE_TEST_SUITE_P(TimeAxisDialog, TimeAxisDialogSeparatorTest,
                         ::testing::Values(SeparatorCase{"ru_RU", "1,5", 1.5},
                                           SeparatorCase{"ru_RU", "1.5", std::nullopt},
                                           SeparatorCase{"en_US", "1.5", 1.5},
                                           SeparatorCase{"en_US", "1,5", std::nullopt},
                                           SeparatorCase{"ru_RU", ",5", 0.5},
                                           SeparatorCase{"ru_RU", "1,5E1", 15.0},
                                           SeparatorCase{"en_US", "1e", std::nullopt},
                                           SeparatorCase{"en_US", "1,000", std::nullopt},
                                           SeparatorCase{"en_US", "", std::nullopt},
                                           SeparatorCase{"en_US", " 6", std::nullopt},
                                           SeparatorCase{"en_US", "inf", std::nullopt}));

}  // namespace
}  // namespace qorv::ui
