#include "ui/ChartAppearanceDialog.h"

#include "ui/PixelFonts.h"
#include "ui/UiMessages.h"
#include "ui_ChartAppearanceDialog.h"

#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QSignalBlocker>

#include <limits>
#include <optional>

namespace qorv::ui {

namespace {

// The events layout of the data channel's dialog was designed as a window 120 pixels high
// (the full one 371) with a 38-pixel title bar and frame; the client area is what remains.
constexpr int kWindowFrameHeight = 38;
constexpr int kEventsWindowHeight = 120;
constexpr int kEventsClientHeight = kEventsWindowHeight - kWindowFrameHeight;  // 82

constexpr int kClientHeightTForm2 = 336;
constexpr int kClientHeightTForm3 = 333;  // 371 - 38

// Tops of the controls that move between the two layouts.
struct LayoutTops {
    int button1;
    int label2;
    int edit1;
    int checkBox1;
};
constexpr LayoutTops kFullTops{300, 40, 38, 40};
constexpr LayoutTops kEventsTops{45, 13, 11, 13};

// A decimal integer read strictly: an optional '+' or '-' followed by ASCII digits and nothing
// else (no blanks, no other notation), within the range of a signed 32-bit integer. The empty
// text is not an integer.
std::optional<std::int32_t> ReadInteger(const QString& text) {
    qsizetype digitsFrom = 0;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        digitsFrom = 1;
    }
    if (digitsFrom == text.size()) {
        return std::nullopt;
    }
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// ChartSettings colours are packed with red in the low byte.
QColor UnpackColor(std::int32_t packed) {
    return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}

std::int32_t PackColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

// The caption of each field whose text is read as an integer, for its conversion message.
const QString kDivisionCaption = QStringLiteral("Цена деления");
const QString kMaximumCaption = QStringLiteral("Максимальное значение");
const QString kMinimumCaption = QStringLiteral("Минимальное значение");

void MoveTop(QWidget* widget, int top) {
    widget->move(widget->x(), top);
}

}  // namespace

ChartAppearanceDialog::ChartAppearanceDialog(ChartSettings& settings, const ChannelFields& fields,
                                             Desktop& desktop, const QString& caption,
                                             int clientHeight, QWidget* parent)
    : SettingsDialog(parent),
      ui_(std::make_unique<Ui::ChartAppearanceDialog>()),
      settings_(settings),
      fields_(fields),
      desktop_(desktop),
      clientHeight_(clientHeight) {
    // In the .ui, Label1..Label4 and CheckBox1 are a few pixels wider than the 96-dpi design
    // and Edit3/Edit4 two pixels further right, so that no caption is cut where Times New Roman
    // is substituted (Liberation Serif draws these captions slightly wider).
    ui_->setupUi(this);
    UseScreenPixelFonts(this);
    setWindowTitle(caption);
    setFixedSize(width(), clientHeight_);

    Ui::ChartAppearanceDialog& f = *ui_;
    // The swatch has no text and takes no typing; a click on it opens the colour dialog.
    f.Edit1->installEventFilter(this);

    couplePair(f.CheckBox2, f.CheckBox3, {f.Edit2});
    couplePair(f.CheckBox4, f.CheckBox5, {f.Edit3, f.Edit4, f.Label3, f.Label4});

    connect(f.CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { settings_.*fields_.marker = ticked ? "OK" : "NO"; });
    connect(f.CheckBox6, &QCheckBox::toggled, this,
            [this](bool ticked) { settings_.*fields_.limitLines = ticked; });
    connect(f.ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_.*fields_.decimals = index; });
    connect(f.ComboBox1, &QComboBox::editTextChanged, this,
            &ChartAppearanceDialog::selectTypedDecimals);
    connect(f.Button1, &QPushButton::clicked, this, [this] {
        settings_.*fields_.decimals = ui_->ComboBox1->currentIndex();
        accept();
    });
}

ChartAppearanceDialog::~ChartAppearanceDialog() = default;

void ChartAppearanceDialog::showStep() {
    arrangeForShow();
    loadControls();
}

// Each box of a pair unticks the other when ticked and ticks it when unticked, so exactly one
// of them is ticked; the controls of the fixed value are enabled while the fixed box is
// ticked. Connected to toggled(), the rule runs for clicks and for changes made by the code,
// and only when the state really changes.
void ChartAppearanceDialog::couplePair(QCheckBox* automatic, QCheckBox* fixed,
                                       const QList<QWidget*>& fixedControls) {
    connect(automatic, &QCheckBox::toggled, this, [fixed, fixedControls](bool ticked) {
        fixed->setChecked(!ticked);
        for (QWidget* control : fixedControls) {
            control->setEnabled(!ticked);
        }
    });
    connect(fixed, &QCheckBox::toggled, this, [automatic, fixedControls](bool ticked) {
        automatic->setChecked(!ticked);
        for (QWidget* control : fixedControls) {
            control->setEnabled(ticked);
        }
    });
}

void ChartAppearanceDialog::useEventsLayout(bool events) {
    Ui::ChartAppearanceDialog& f = *ui_;
    const QList<QWidget*> sections{f.Label1, f.ComboBox1, f.GroupBox1, f.GroupBox2, f.CheckBox6};
    // Hidden one by one in the events layout, so they are shown one by one again as well.
    const QList<QWidget*> boxes{f.CheckBox2, f.CheckBox3, f.CheckBox4, f.CheckBox5, f.Edit2};
    const LayoutTops& tops = events ? kEventsTops : kFullTops;

    if (events) {
        // Decimals, axis scales and limit lines mean nothing for on/off events.
        for (QWidget* control : sections + boxes) {
            control->hide();
        }
        setFixedSize(width(), kEventsClientHeight);
    } else {
        for (QWidget* control : sections) {
            control->show();
        }
        setFixedSize(width(), clientHeight_);
    }
    MoveTop(f.Button1, tops.button1);
    MoveTop(f.Label2, tops.label2);
    MoveTop(f.Edit1, tops.edit1);
    MoveTop(f.CheckBox1, tops.checkBox1);
    MoveTop(f.CheckBox6, tops.checkBox1);
    if (!events) {
        for (QWidget* control : boxes) {
            control->show();
        }
    }
}

// The show step: the controls take the record's current values. Ticking or unticking a box
// here runs its rule as a click would; selecting the decimals item runs no change handler.
void ChartAppearanceDialog::loadControls() {
    Ui::ChartAppearanceDialog& f = *ui_;
    const ChartSettings& s = settings_;

    showSwatch(s.*fields_.color);
    // The box's own rule then stores the same flag again.
    f.CheckBox1->setChecked(s.*fields_.marker != "NO");
    f.CheckBox6->setChecked(s.*fields_.limitLines);
    {
        const QSignalBlocker quiet(f.ComboBox1);
        f.ComboBox1->setCurrentIndex(s.*fields_.decimals);
    }

    const std::int32_t unit = s.*fields_.majorUnit;
    if (unit == 0) {
        f.CheckBox2->setChecked(true);
        f.Edit2->setText(QStringLiteral("1"));
    } else {
        f.CheckBox2->setChecked(false);
        f.Edit2->setText(QString::number(unit));
    }

    if (s.*fields_.scaleAuto == "OK") {
        f.CheckBox4->setChecked(true);
        f.Edit4->clear();
        f.Edit3->clear();
    } else {
        // The fixed scale in effect, with its limits.
        f.CheckBox5->setChecked(true);
        f.Edit4->setText(QString::number(s.*fields_.scaleMin));
        f.Edit3->setText(QString::number(s.*fields_.scaleMax));
    }
}

// The close step. Returns false when a text does not read as an integer: the conversion
// message is shown, the dialog stays open and what was stored before the failure stays.
bool ChartAppearanceDialog::closeStep() {
    Ui::ChartAppearanceDialog& f = *ui_;
    ChartSettings& s = settings_;

    // A typed number of decimals that is no item of the list would be dropped.
    if (!f.ComboBox1->isHidden() &&
        f.ComboBox1->currentText() != f.ComboBox1->itemText(f.ComboBox1->currentIndex())) {
        desktop_.showMessage(this, messages::DecimalsOutOfRange);
        return false;
    }
    if (f.CheckBox2->isChecked()) {
        s.*fields_.majorUnit = 0;
    } else {
        const QString text = f.Edit2->text();
        const std::optional<std::int32_t> unit = ReadInteger(text);
        if (!unit) {
            desktop_.showMessage(this, messages::NotAValidInteger(kDivisionCaption, text));
            return false;
        }
        s.*fields_.majorUnit = *unit;
    }

    if (f.CheckBox4->isChecked()) {
        // The limits keep their values for the next fixed scale.
        s.*fields_.scaleAuto = QStringLiteral("OK");
        return true;
    }
    const QString minimumText = f.Edit4->text();
    const QString maximumText = f.Edit3->text();
    if (minimumText.isEmpty() || maximumText.isEmpty()) {
        desktop_.showMessage(this, messages::AxisScaleFieldEmpty);
        return true;
    }
    const std::optional<std::int32_t> minimum = ReadInteger(minimumText);
    if (!minimum) {
        desktop_.showMessage(this, messages::NotAValidInteger(kMinimumCaption, minimumText));
        return false;
    }
    const std::optional<std::int32_t> maximum = ReadInteger(maximumText);
    if (!maximum) {
        desktop_.showMessage(this, messages::NotAValidInteger(kMaximumCaption, maximumText));
        return false;
    }
    if (*minimum < *maximum) {
        s.*fields_.scaleAuto = QStringLiteral("NO");
        s.*fields_.scaleMin = *minimum;
        s.*fields_.scaleMax = *maximum;
    } else {
        // Equal limits are refused too: the axis needs a range.
        desktop_.showMessage(this, messages::AxisMaximumBelowMinimum);
    }
    return true;
}

// A typed text that names a list item selects that item (and so stores its index); any other
// text leaves the selection, and the stored decimals, as they were.
void ChartAppearanceDialog::selectTypedDecimals(const QString& text) {
    const int index = ui_->ComboBox1->findText(text, Qt::MatchExactly);
    if (index >= 0 && index != ui_->ComboBox1->currentIndex()) {
        ui_->ComboBox1->setCurrentIndex(index);
    }
}

// The colour dialog starts with the series' colour as the swatch shows it; a cancelled dialog
// changes nothing.
void ChartAppearanceDialog::chooseColor() {
    const std::optional<QColor> chosen =
        desktop_.chooseColor(this, UnpackColor(settings_.*fields_.color));
    if (!chosen) {
        return;
    }
    const std::int32_t packed = PackColor(*chosen);
    settings_.*fields_.color = packed;
    showSwatch(packed);
}

void ChartAppearanceDialog::showSwatch(std::int32_t packedColor) {
    QPalette palette = ui_->Edit1->palette();
    palette.setColor(QPalette::Base, UnpackColor(packedColor));
    ui_->Edit1->setPalette(palette);
}

bool ChartAppearanceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Edit1 && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        chooseColor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

TForm2::TForm2(ChartSettings& settings, Desktop& desktop, QWidget* parent)
    : ChartAppearanceDialog(settings,
                            {&ChartSettings::TempDecimals, &ChartSettings::TempColor,
                             &ChartSettings::TempMarker, &ChartSettings::TempMajorUnit,
                             &ChartSettings::TempScaleAuto, &ChartSettings::TempScaleMin,
                             &ChartSettings::TempScaleMax, &ChartSettings::TempLimitLines},
                            desktop, QStringLiteral("График температуры"), kClientHeightTForm2,
                            parent) {}

TForm3::TForm3(ChartSettings& settings, const LogData& data, Desktop& desktop, QWidget* parent)
    : ChartAppearanceDialog(settings,
                            {&ChartSettings::DataDecimals, &ChartSettings::DataColor,
                             &ChartSettings::DataMarker, &ChartSettings::DataMajorUnit,
                             &ChartSettings::DataScaleAuto, &ChartSettings::DataScaleMin,
                             &ChartSettings::DataScaleMax, &ChartSettings::DataLimitLines},
                            desktop, QStringLiteral("График данных"), kClientHeightTForm3, parent),
      data_(data) {
    // Until the first show picks the layout the division group is hidden. Its caption is drawn
    // in the system's dark shadow colour; the boxes inside keep the usual text colours.
    QGroupBox* division = form().GroupBox1;
    const QPalette inherited = division->palette();
    QPalette caption = inherited;
    caption.setColor(QPalette::WindowText, inherited.color(QPalette::Shadow));
    division->setPalette(caption);
    QPalette text = inherited;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        text.setColor(group, QPalette::WindowText, inherited.color(group, QPalette::WindowText));
    }
    for (QWidget* control : division->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        control->setPalette(text);
    }
    division->hide();
}

// Channel 2 recording on/off events has no decimals and no value scale; the layout is chosen
// anew at every opening, since a load may have changed the channel.
void TForm3::arrangeForShow() {
    useEventsLayout(data_.hasEvents());
}

}  // namespace qorv::ui
