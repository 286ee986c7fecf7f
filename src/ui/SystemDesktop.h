#pragma once

#include "ui/Desktop.h"

namespace qorv::ui {

// The desktop of the running program: Qt's message boxes, file, folder and colour dialogs, and
// the default handlers through QDesktopServices. Nothing is opened when the environment
// variable QORV_PR_NO_OPEN is set to 1 (automated runs).
class SystemDesktop final : public Desktop {
  public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    QStringList chooseLoggerFiles(QWidget* parent, const QString& startDirectory) override;
    std::optional<QString> chooseDirectory(QWidget* parent, const QString& startDirectory) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    void openWithDefaultHandler(const QString& path) override;
};

// Whether the program may open files with the desktop's default handlers (QORV_PR_NO_OPEN not 1).
bool MayOpenWithDefaultHandler();

}  // namespace qorv::ui
