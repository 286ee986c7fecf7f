#pragma once

#include "report/ChartSettings.h"
#include "ui/Desktop.h"

#include <QDialog>

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
// the next report uses (a load resets them); every close writes the controls into the record.
class TForm4 final : public QDialog {
    Q_OBJECT

  public:
    TForm4(ChartSettings& settings, Desktop& desktop, QWidget* parent = nullptr);
    ~TForm4() override;

    void setVisible(bool visible) override;
    // Every way of closing ends here: Button1, the window's close box (closeEvent -> reject)
    // and Escape (reject). When the chosen list's text is not a number the dialog stays open.
    void done(int result) override;

  private:
    void showSettingsInEffect();
    QComboBox* listOf(int item) const;
    std::optional<double> unitOfControls(int item) const;
    void enableUnitList(int item);
    bool closeStep();

    std::unique_ptr<Ui::TimeAxisDialog> ui_;
    ChartSettings& settings_;
    Desktop& desktop_;
    // RadioGroup1's items by index: 0 automatic, 1 minutes, 2 hours, 3 days.
    QButtonGroup* unitItems_;
};

}  // namespace qorv::ui
