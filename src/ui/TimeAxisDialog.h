#pragma once

#include "report/ChartSettings.h"
#include "ui/Desktop.h"
#include "ui/SettingsDialog.h"

#include <memory>
#include <optional>

class QButtonGroup;
class QComboBox;

namespace Ui {
class TimeAxisDialog;
}

namespace qorv::ui {

// The time axis of the report's chart: vertical grid lines, and a major unit chosen
// automatically or fixed to a number of minutes, hours or days. Opening it shows the settings
// the next report uses (a load resets them); every close writes the controls into the record,
// and when the chosen list's text is not a number the dialog stays open.
class TForm4 final : public SettingsDialog {
    Q_OBJECT

  public:
    TForm4(ChartSettings& settings, Desktop& desktop, QWidget* parent = nullptr);
    ~TForm4() override;

  private:
    void showStep() override { showSettingsInEffect(); }
    bool closeStep() override;
    void showSettingsInEffect();
    QComboBox* listOf(int item) const;
    std::optional<double> unitOfControls(int item) const;
    void enableUnitList(int item);

    std::unique_ptr<Ui::TimeAxisDialog> ui_;
    ChartSettings& settings_;
    Desktop& desktop_;
    // RadioGroup1's items by index: 0 automatic, 1 minutes, 2 hours, 3 days.
    QButtonGroup* unitItems_;
};

}  // namespace qorv::ui
