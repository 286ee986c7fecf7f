#include "ui/SystemDesktop.h"

#include "ui/UiMessages.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace qorv::ui {

bool MayOpenWithDefaultHandler() {
    return qgetenv("QORV_PR_NO_OPEN") != "1";
}

void SystemDesktop::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Qorv_Pr"), text, QMessageBox::Ok, parent);
    box.exec();
}

void SystemDesktop::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Qorv_Pr"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

QStringList SystemDesktop::chooseLoggerFiles(QWidget* parent, const QString& startDirectory) {
    // Several files at once, no read-only box; Qt's own dialog is resizable.
    return QFileDialog::getOpenFileNames(parent, QString(), startDirectory,
                                         messages::OpenFilesFilter, nullptr,
                                         QFileDialog::ReadOnly | QFileDialog::DontUseNativeDialog);
}

std::optional<QString> SystemDesktop::chooseDirectory(QWidget* parent,
                                                      const QString& startDirectory) {
    QFileDialog dialog(parent, messages::ChooseDirectoryTitle, startDirectory);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    // Folders of the file system only, and no button that makes new ones.
    dialog.setOption(QFileDialog::ReadOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

std::optional<QColor> SystemDesktop::chooseColor(QWidget* parent, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen;
}

void SystemDesktop::openWithDefaultHandler(const QString& path) {
    if (MayOpenWithDefaultHandler()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
}

}  // namespace qorv::ui
