#include "ui/TimeAxisDialog.h"

#include "report/FormatSettings.h"
#include "ui/PixelFonts.h"
#include "ui/UiMessages.h"
#include "ui_TimeAxisDialog.h"

#include <QButtonGroup>
#include <QLocale>
#include <QScreen>

#include <cmath>
#include <optional>

namespace qorv::ui {

namespace {

enum UnitItem { kAutomatic = 0, kMinutes = 1, kHours = 2, kDays = 3 };

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
    : QDialog(parent),
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

void TForm4::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().topLeft());
        }
    }
    QDialog::setVisible(visible);
}

void TForm4::done(int result) {
    if (!closeStep()) {
        return;
    }
    QDialog::done(result);
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

    const QComboBox* list = item == kMinutes ? ui_->ComboBox1
                            : item == kHours ? ui_->ComboBox2
                                             : ui_->ComboBox3;
    const QString text = list->currentText();
    const std::optional<double> count =
        ReadFloat(text, FormatSettings::instance().decimalSeparator());
    if (!count) {
        desktop_.showMessage(this, messages::NotAValidFloat(text));
        return false;
    }
    // The chart's time axis counts in days.
    switch (item) {
        case kMinutes:
            settings_.TimeMajorUnit = *count / 60 / 24;
            break;
        case kHours:
            settings_.TimeMajorUnit = *count / 24;
            break;
        default:
            settings_.TimeMajorUnit = *count;
            break;
    }
    return true;
}

}  // namespace qorv::ui
