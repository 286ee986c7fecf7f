#pragma once

#include "ui/DialogPlacement.h"

#include <QDialog>

namespace qorv::ui {

// A dialog that edits part of the program's settings. It is created once and hidden, not
// destroyed, when closed. Becoming visible runs its show step, then centres it over the main
// window; every way of closing (Button1, the window's close box through closeEvent -> reject,
// Escape through reject) runs its close step, which keeps the dialog open when it refuses.
class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    using QDialog::QDialog;

    void setVisible(bool visible) override {
        if (visible && !isVisible()) {
            showStep();
            CentreOverParent(*this);
        }
        QDialog::setVisible(visible);
    }

    void done(int result) override {
        if (!closeStep()) {
            return;
        }
        QDialog::done(result);
    }

  protected:
    // Loads the controls from the settings.
    virtual void showStep() = 0;
    // Stores the controls into the settings; false keeps the dialog open.
    virtual bool closeStep() = 0;
};

}  // namespace qorv::ui
