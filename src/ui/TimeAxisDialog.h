#pragma once

#include "report/ChartSettings.h"
#include "ui/Desktop.h"

#include <QDialog>

#include <memory>

class QButtonGroup;

namespace Ui {
class TimeAxisDialog;
}

namespace qorv::ui {

// The time axis of the report's chart: vertical grid lines, and a major unit chosen
// automatically or fixed to a number of minutes, hours or days. The dialog never loads its
// controls from ChartSettings: they keep whatever the user left in them, across openings and
// across file loads, and every close writes them into the record again.
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
    void enableUnitList(int item);
    bool closeStep();

    std::unique_ptr<Ui::TimeAxisDialog> ui_;
    ChartSettings& settings_;
    Desktop& desktop_;
    // RadioGroup1's items by index: 0 automatic, 1 minutes, 2 hours, 3 days.
    QButtonGroup* unitItems_;
};

}  // namespace qorv::ui
