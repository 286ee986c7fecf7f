#pragma once

#include "import/LogData.h"
#include "report/ChartSettings.h"
#include "ui/Desktop.h"
#include "ui/SettingsDialog.h"

#include <QColor>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

class QCheckBox;

namespace Ui {
class ChartAppearanceDialog;
}

namespace qorv::ui {

// The shared design of the two chart appearance dialogs: decimals, colour, markers, the limit
// lines, the major unit and the scale of one channel's value axis. Each dialog edits its own half
// of the program-wide ChartSettings record, which it reads when it opens and writes while open and
// when it closes. Their controls keep their state between openings except for what the show
// step reloads; the close step keeps the dialog open when a text does not read as an integer.
class ChartAppearanceDialog : public SettingsDialog {
    Q_OBJECT

  public:
    ~ChartAppearanceDialog() override;

  protected:
    // The ChartSettings fields one dialog edits.
    struct ChannelFields {
        int ChartSettings::*decimals;
        std::int32_t ChartSettings::*color;
        QString ChartSettings::*marker;
        std::int32_t ChartSettings::*majorUnit;
        QString ChartSettings::*scaleAuto;
        std::int32_t ChartSettings::*scaleMin;
        std::int32_t ChartSettings::*scaleMax;
        bool ChartSettings::*limitLines;
    };

    ChartAppearanceDialog(ChartSettings& settings, const ChannelFields& fields, Desktop& desktop,
                          const QString& caption, int clientHeight, QWidget* parent);

    // The first thing the show step does; the data channel's dialog picks its layout here.
    virtual void arrangeForShow() {}

    // The full layout, or the short one of an events channel (colour and marker only).
    void useEventsLayout(bool events);

    Ui::ChartAppearanceDialog& form() { return *ui_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showStep() override;
    bool closeStep() override;
    void loadControls();
    void chooseColor();
    void showSwatch(std::int32_t packedColor);
    void selectTypedDecimals(const QString& text);
    void couplePair(QCheckBox* automatic, QCheckBox* fixed, const QList<QWidget*>& fixedControls);

    std::unique_ptr<Ui::ChartAppearanceDialog> ui_;
    ChartSettings& settings_;
    const ChannelFields fields_;
    Desktop& desktop_;
    int clientHeight_;
};

// Channel 1, the temperature channel: the Temp fields of ChartSettings.
class TForm2 final : public ChartAppearanceDialog {
    Q_OBJECT

  public:
    TForm2(ChartSettings& settings, Desktop& desktop, QWidget* parent = nullptr);
};

// Channel 2, the data channel: the Data fields of ChartSettings. For a channel that records
// on/off events the dialog shrinks to the colour and the marker.
class TForm3 final : public ChartAppearanceDialog {
    Q_OBJECT

  public:
    TForm3(ChartSettings& settings, const LogData& data, Desktop& desktop,
           QWidget* parent = nullptr);

  protected:
    void arrangeForShow() override;

  private:
    const LogData& data_;
};

}  // namespace qorv::ui
