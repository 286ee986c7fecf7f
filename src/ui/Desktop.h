#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace qorv::ui {

// What the windows ask of the desktop: message boxes, the common dialogs and the default
// handler of a file. The program uses SystemDesktop; tests put a scripted one in its place, so
// that no dialog waits for a click and nothing is opened.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // A plain message box with the text and an "OK" button (the validation messages).
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The error box of a failed load or report run.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // The file-open dialog of logger files; several may be chosen. Empty when cancelled.
    virtual QStringList chooseLoggerFiles(QWidget* parent, const QString& startDirectory) = 0;
    // The folder dialog "Выбор директории" starting at `startDirectory`; nothing when cancelled.
    virtual std::optional<QString> chooseDirectory(QWidget* parent,
                                                   const QString& startDirectory) = 0;
    // The colour dialog starting at `initial`; nothing when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // Opens a file or folder with the desktop's default handler (the saved report, the save
    // directory after a batch, the user guide).
    virtual void openWithDefaultHandler(const QString& path) = 0;
};

}  // namespace qorv::ui
