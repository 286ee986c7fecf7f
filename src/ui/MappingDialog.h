#pragma once

#include "report/MappingStudy.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QTreeWidgetItem;

namespace Ui {
class MappingDialog;
}

namespace qorv::ui {

class Desktop;

// The mapping study "Картирование": the user gathers the loggers' files (each row shows the
// file, its place and when it recorded; a file that cannot be read says so), may narrow the
// common period and give the acceptance range, and "Построить" makes the study's workbook in
// the main window's save directory, off the window's thread, and opens it. The dialog keeps
// its files and fields between openings; a failure is shown and everything stays as it was.
//
//     MappingDialog dialog(desktop, mainWindow);
//     dialog.prepare(saveDirectory, pdfChecked);
//     dialog.exec();
class MappingDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit MappingDialog(Desktop& desktop, QWidget* parent = nullptr);
    ~MappingDialog() override;

    // Before each opening: the folder the study is saved into and the PDF box's state.
    void prepare(const QString& folder, bool pdf);

    // Adds the files at the end of the list, each once; every file is read now for its place.
    void addFiles(const QStringList& files);

    // The study the fields ask for: the listed files in their order, the period only when it
    // is narrowed, the range only with both bounds. A refusal is shown and gives nothing.
    std::optional<MappingRequest> request();

    // "Построить": the study built and saved, and the workbook opened.
    void build();

    // Whether a study is being built.
    bool running() const { return running_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Closing waits for a running study.
    void reject() override;

  private:
    QTreeWidgetItem* rowOfFile(const QString& path) const;
    void removeSelected();
    void showCommonPeriod();
    void enablePeriod();
    void setRunning(bool running);

    std::unique_ptr<Ui::MappingDialog> ui_;
    Desktop& desktop_;
    QString folder_;
    bool running_ = false;
};

}  // namespace qorv::ui
