#include "ui/TimeAxisDialog.h"

#include "report/FormatSettings.h"
#include "ui/PixelFonts.h"
#include "ui/UiMessages.h"
#include "ui_TimeAxisDialog.h"

#include <QButtonGroup>
#include <QLocale>

#include <cmath>
#include <optional>

namespace qorv::ui {

namespace {

enum UnitItem { kAutomatic = 0, kMinutes = 1, kHours = 2, kDays = 3 };

// The item captions, which name the lists in a conversion message.
const QString kItemCaptions[] = {QString(), QStringLiteral("Минуты"), QStringLiteral("Часы"),
                                 QStringLiteral("Сутки")};

// Items of a fixed unit, largest first, with their length in days.
constexpr std::pair<int, double> kFixedUnits[] = {
    {kDays, 1.0}, {kHours, 1.0 / 24}, {kMinutes, 1.0 / 24 / 60}};

// Whether two major units in days are the same up to the rounding of a division.
bool SameUnit(double a, double b) {
    return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

bool IsAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// A floating point number written with the system's decimal separator: an optional sign,
// digits with at most one separator (at least one digit), and an optional exponent
// ("E+2", "e-3"). Nothing else is accepted: no blanks, no group separators, and not the
// other separator ("1.5" is no number on a comma system, "1,5" none on a point system).
std::optional<double> ReadFloat(const QString& text, QChar separator) {
    QString normalized;
    normalized.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        normalized += text[i++];
    }
    int mantissaDigits = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        if (IsAsciiDigit(text[i])) {
            ++mantissaDigits;
            normalized += text[i];
        } else if (text[i] == separator && !separatorSeen) {
            separatorSeen = true;
            normalized += u'.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        normalized += u'e';
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            normalized += text[i++];
        }
        int exponentDigits = 0;
        for (; i < n && IsAsciiDigit(text[i]); ++i) {
            ++exponentDigits;
            normalized += text[i];
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(normalized, &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TForm4::TForm4(ChartSettings& settings, Desktop& desktop, QWidget* parent)
    : SettingsDialog(parent),
      ui_(std::make_unique<Ui::TimeAxisDialog>()),
      settings_(settings),
      desktop_(desktop),
      unitItems_(new QButtonGroup(this)) {
    ui_->setupUi(this);
    UseScreenPixelFonts(this);
    setFixedSize(size());

    unitItems_->addButton(ui_->RadioGroup1Item0, kAutomatic);
    unitItems_->addButton(ui_->RadioGroup1Item1, kMinutes);
    unitItems_->addButton(ui_->RadioGroup1Item2, kHours);
    unitItems_->addButton(ui_->RadioGroup1Item3, kDays);
    connect(unitItems_, &QButtonGroup::idToggled, this, [this](int item, bool selected) {
        if (selected) {
            enableUnitList(item);
        }
    });
    connect(ui_->Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TForm4::~TForm4() = default;

// The show step: the controls show the settings the next report uses. A choice whose list
// already gives the unit in effect is left as the user wrote it ("90" minutes stays 90 minutes);
// otherwise the unit is shown in the largest of days, hours, minutes that counts it whole, or in
// minutes.
void TForm4::showSettingsInEffect() {
    ui_->CheckBox1->setChecked(settings_.TimeGridlines == "OK");
    if (settings_.TimeUnitAuto == "OK") {
        unitItems_->button(kAutomatic)->setChecked(true);
        return;
    }
    const double unit = settings_.TimeMajorUnit;
    const int item = unitItems_->checkedId();
    if (item != kAutomatic) {
        if (const std::optional<double> shown = unitOfControls(item);
            shown && SameUnit(*shown, unit)) {
            return;
        }
    }
    int chosen = kMinutes;
    double count = unit * 24 * 60;
    for (const auto& [fixed, days] : kFixedUnits) {
        const double n = unit / days;
        if (n >= 1 && SameUnit(n, std::round(n))) {
            chosen = fixed;
            count = std::round(n);
            break;
        }
    }
    QString text = QString::number(count, 'g', 15);
    text.replace(u'.', FormatSettings::instance().decimalSeparator());
    unitItems_->button(chosen)->setChecked(true);
    listOf(chosen)->setEditText(text);
}

QComboBox* TForm4::listOf(int item) const {
    return item == kMinutes ? ui_->ComboBox1 : item == kHours ? ui_->ComboBox2 : ui_->ComboBox3;
}

// The major unit in days that the list of `item` gives; nothing when its text is no number.
std::optional<double> TForm4::unitOfControls(int item) const {
    const std::optional<double> count =
        ReadFloat(listOf(item)->currentText(), FormatSettings::instance().decimalSeparator());
    if (!count) {
        return std::nullopt;
    }
    // The chart's time axis counts in days.
    switch (item) {
        case kMinutes:
            return *count / 60 / 24;
        case kHours:
            return *count / 24;
        default:
            return *count;
    }
}

// Only the list beside the selected item can be edited.
void TForm4::enableUnitList(int item) {
    ui_->ComboBox1->setEnabled(item == kMinutes);
    ui_->ComboBox2->setEnabled(item == kHours);
    ui_->ComboBox3->setEnabled(item == kDays);
}

// Writes the controls into the record. Returns false when the selected item's list does not
// read as a number: the message is shown and the dialog stays open, with the grid lines and
// the automatic flag already stored and the major unit left as it was.
bool TForm4::closeStep() {
    settings_.TimeGridlines = ui_->CheckBox1->isChecked() ? "OK" : "NO";

    const int item = unitItems_->checkedId();
    if (item == kAutomatic) {
        // The major unit keeps its value; it is not used while the unit is automatic.
        settings_.TimeUnitAuto = QStringLiteral("OK");
        return true;
    }
    settings_.TimeUnitAuto = QStringLiteral("NO");

    const std::optional<double> unit = unitOfControls(item);
    if (!unit) {
        desktop_.showMessage(
            this, messages::NotAValidFloat(kItemCaptions[item], listOf(item)->currentText()));
        return false;
    }
    settings_.TimeMajorUnit = *unit;
    return true;
}

}  // namespace qorv::ui
