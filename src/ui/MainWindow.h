#pragma once

#include "report/BuildReport.h"
#include "report/LoadLogFile.h"
#include "ui/SettingsFile.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace Ui {
class TForm1;
}

namespace qorv::ui {

class Desktop;
class MappingDialog;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

// Where the window finds the program's own folder and its settings file; tests give their own.
struct ProgramPlace {
    QString directory;  // the program's folder, without a trailing '/'
    SettingsFileLocations settings;
    // The save directory at start, without a trailing '/', when not the program's folder: the
    // user's home folder for an installed program, whose folder users cannot write to.
    QString startSaveDirectory;
};

// The program's place as the running executable has it.
ProgramPlace RunningProgramPlace();

// The main window: it shows and edits the report options of the program-wide state, loads
// logger files, starts report runs (one, or a batch of files), and opens the chart appearance
// dialogs, the time axis dialog, the about box and the mapping study dialog, which it creates
// after itself in that order and keeps for the whole program run. It restores the settings file
// when first shown and writes it when it closes.
//
//     ProgramState state;
//     SystemDesktop desktop;
//     TForm1 window(state, desktop, RunningProgramPlace());
//     window.show();   // the start-up steps run once the event loop starts
class TForm1 final : public QWidget {
    Q_OBJECT
  public:
    TForm1(ProgramState& state, Desktop& desktop, ProgramPlace place, QWidget* parent = nullptr);
    ~TForm1() override;

    // The window's height while a report runs, which uncovers the progress bars below the
    // normal client area, and after it: whole-window heights on a frame of 38 pixels.
    static constexpr int kWidth = 793;
    static constexpr int kClientHeight = 572;
    static constexpr int kFrameHeight = 38;
    static constexpr int kRunWindowHeight = 658;
    static constexpr int kIdleWindowHeight = 610;

    // Start-up, once, when the window is first shown: the save directory := the program's
    // folder, the chart settings reset, then the settings file and the file it names.
    void FormShow();
    // Closing: the settings file is written; a failure to write it is shown (a file the user
    // made read-only is left as it is, and said so) and does not keep the program open.
    void FormClose();

    // One file is loaded; several are loaded, checked as the "Excel" button checks and built
    // one after the other with the options each load leaves (the batch), and one message at the
    // end names each file that was not built. The open dialog, dropped files and the program's
    // arguments all come here.
    void openFiles(const QStringList& files);

    // The handlers of the window's buttons and lists.
    void Button1Click();   // "Excel": check the options, then build the report
    void Button3Click();   // "..." beside the file: the open dialog
    void Button6Click();   // "Весь диапазон"
    void Button8Click();   // "..." beside the save directory
    void Button9Click();   // "X": empty the heading lines
    void Button11Click();  // "Картирование...": the mapping study dialog
    void ComboBox1Change();
    void ComboBox2Change();

    // Whether a report run (or a batch) is in progress.
    bool running() const { return running_; }

    TForm2& temperatureChartDialog() const { return *form2_; }
    TForm3& dataChartDialog() const { return *form3_; }
    TForm4& timeAxisDialog() const { return *form4_; }
    TForm5& aboutBox() const { return *form5_; }
    MappingDialog& mappingDialog() const { return *mapping_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The "Excel" button takes one press per run: the second press of a double click is not
    // a second report.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectHandlers();
    void checkBoxClicked(QCheckBox* box, ReportOptions::CheckBox which);
    // Loads one file; returns the failure's message, nothing when it loaded.
    std::optional<QString> loadFile(const QString& path);
    // One report run with the options as they stand: the saved files, or the failure's message
    // in `failure`. A PDF copy that could not be made goes to `pdfFailure`.
    std::optional<ReportFiles> runReport(std::optional<QString>& failure,
                                         std::optional<QString>& pdfFailure);
    // The batch's step for one file: load, check, build; the message when it was not built.
    std::optional<QString> buildInBatch(const QString& file, std::optional<QString>& pdfFailure);
    void setRunning(bool running);

    // The controls that show fields of the record, with the field each shows; the range lists
    // by number (index 0 unused).
    std::vector<std::pair<QLineEdit*, QString ReportOptions::*>> textFields() const;
    std::vector<std::pair<QCheckBox*, ReportOptions::CheckBox>> checkBoxes() const;
    std::array<QComboBox*, 9> rangeLists() const;

    // The record onto the controls, and the typed texts back into the record.
    void showOptions();
    void storeTexts();

    std::unique_ptr<Ui::TForm1> ui_;
    ProgramState& state_;
    Desktop& desktop_;
    ProgramPlace place_;
    // The dialogs, children of the window, created once and hidden when closed.
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
    MappingDialog* mapping_ = nullptr;
    bool shown_ = false;
    bool running_ = false;
    // The file whose load the window shows; empty when none loaded.
    QString loadedFile_;
    // Window-system times (ms) of the last press of "Excel" and of the press that started the
    // last run.
    std::optional<quint64> lastExcelPress_;
    std::optional<quint64> runExcelPress_;
};

}  // namespace qorv::ui
