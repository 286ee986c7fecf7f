#include "ui/MainWindow.h"

#include "files/FileContent.h"
#include "files/FileKind.h"
#include "files/FileName.h"
#include "report/Messages.h"
#include "report/ReportValidation.h"
#include "report/UserMessage.h"
#include "ui/AboutBox.h"
#include "ui/ChartAppearanceDialog.h"
#include "ui/Desktop.h"
#include "ui/DroppedFiles.h"
#include "ui/MappingDialog.h"
#include "ui/NumericKeyFilter.h"
#include "ui/PixelFonts.h"
#include "ui/ReportRunner.h"
#include "ui/TimeAxisDialog.h"
#include "ui/UiMessages.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTimer>
#include <QUrl>

#include <cerrno>

namespace qorv::ui {

namespace {

// A list's entries and text as the record holds them; its change rule does not run.
void ShowList(QComboBox* list, const QStringList& items, const QString& text) {
    bool same = list->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) {
        same = list->itemText(i) == items[i];
    }
    if (!same) {
        list->clear();
        list->addItems(items);
    }
    const int index = items.indexOf(text);
    if (list->currentIndex() != index) {
        list->setCurrentIndex(index);
    }
    if (list->currentText() != text) {
        list->setEditText(text);
    }
}

void ShowText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(0);
    }
}

void ShowRows(QPlainTextEdit* memo, const QStringList& rows) {
    const QString text = rows.join('\n');
    if (memo->toPlainText() != text) {
        memo->setPlainText(text);
        memo->verticalScrollBar()->setValue(0);
    }
}

// Whether two texts name the same path (relative to the current folder, "." and ".." taken
// out), without asking the file system.
bool SameFileName(const QString& a, const QString& b) {
    return QDir::cleanPath(files::AbsoluteFileName(a)) ==
           QDir::cleanPath(files::AbsoluteFileName(b));
}

// The message for a last file at start that cannot be loaded: the load's own message for a
// folder, FIFO or device; nothing when it is a regular file.
std::optional<QString> StartFileRefusal(const QString& path) {
    int error = 0;
    const files::FileKind kind = files::KindOf(path, &error);
    if (kind == files::FileKind::Regular) {
        return std::nullopt;
    }
    if (kind == files::FileKind::Missing) {
        return qorv::messages::FileMissing(path);
    }
    return qorv::messages::NotARegularFile(path, kind);
}

}  // namespace

ProgramPlace RunningProgramPlace() {
    const QString directory = QCoreApplication::applicationDirPath();
    ProgramPlace place{directory, DefaultSettingsFileLocations(), QString()};
    if (IsInstalledProgramFolder(directory) || !QFileInfo(directory).isWritable()) {
#ifdef Q_OS_WIN
        // Where Windows users keep their papers; the home folder holds only system folders.
        place.startSaveDirectory =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#else
        place.startSaveDirectory = QDir::homePath();
#endif
    }
    return place;
}

TForm1::TForm1(ProgramState& state, Desktop& desktop, ProgramPlace place, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TForm1>()),
      state_(state),
      desktop_(desktop),
      place_(std::move(place)) {
    ui_->setupUi(this);
    UseScreenPixelFonts(this);
    for (QLabel* label : findChildren<QLabel*>()) {
        label->adjustSize();
    }
    GrowToFitCaptions(this);
    // The check box that titles the chart group lies on the group's top edge, over it.
    ui_->CheckBox9->raise();
    ui_->CheckBox9->setAutoFillBackground(true);
    ui_->Memo2->raise();
    ui_->ProgressBar1->hide();
    ui_->ProgressBar2->hide();
    setFixedSize(kWidth, kClientHeight);
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(), QSize(kWidth, kIdleWindowHeight));
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    for (QLineEdit* edit : {ui_->Edit5, ui_->Edit6, ui_->Edit10}) {
        edit->installEventFilter(new NumericKeyFilter(edit));
    }
    // The corrections a, b, c, d may be negative (a logger that reads high).
    for (QLineEdit* edit : {ui_->Edit7, ui_->Edit8, ui_->Edit9, ui_->Edit11}) {
        edit->installEventFilter(new NumericKeyFilter(edit, NumericKeyFilter::LeadingMinus));
    }
    ui_->Button1->installEventFilter(this);
    setAcceptDrops(true);

    // The other four windows, in their order, hidden until opened.
    form2_ = new TForm2(state_.chart, desktop_, this);
    form3_ = new TForm3(state_.chart, state_.data, desktop_, this);
    form4_ = new TForm4(state_.chart, desktop_, this);
    form5_ = new TForm5(desktop_, this);
    mapping_ = new MappingDialog(desktop_, this);

    connectHandlers();
    showOptions();
}

TForm1::~TForm1() = default;

// The window's text fields, check boxes and range lists with what each holds in the record.
std::vector<std::pair<QLineEdit*, QString ReportOptions::*>> TForm1::textFields() const {
    return {{ui_->Edit1, &ReportOptions::Edit1},   {ui_->Edit2, &ReportOptions::Edit2},
            {ui_->Edit3, &ReportOptions::Edit3},   {ui_->Edit4, &ReportOptions::Edit4},
            {ui_->Edit5, &ReportOptions::Edit5},   {ui_->Edit6, &ReportOptions::Edit6},
            {ui_->Edit7, &ReportOptions::Edit7},   {ui_->Edit8, &ReportOptions::Edit8},
            {ui_->Edit9, &ReportOptions::Edit9},   {ui_->Edit10, &ReportOptions::Edit10},
            {ui_->Edit11, &ReportOptions::Edit11}, {ui_->Edit12, &ReportOptions::Edit12},
            {ui_->Edit13, &ReportOptions::Edit13}};
}

std::vector<std::pair<QCheckBox*, ReportOptions::CheckBox>> TForm1::checkBoxes() const {
    return {
        {ui_->CheckBox1, ReportOptions::CheckBox1}, {ui_->CheckBox2, ReportOptions::CheckBox2},
        {ui_->CheckBox3, ReportOptions::CheckBox3}, {ui_->CheckBox4, ReportOptions::CheckBox4},
        {ui_->CheckBox5, ReportOptions::CheckBox5}, {ui_->CheckBox6, ReportOptions::CheckBox6},
        {ui_->CheckBox7, ReportOptions::CheckBox7}, {ui_->CheckBox8, ReportOptions::CheckBox8},
        {ui_->CheckBox9, ReportOptions::CheckBox9}, {ui_->CheckBox10, ReportOptions::CheckBox10}};
}

std::array<QComboBox*, 9> TForm1::rangeLists() const {
    return {nullptr,        ui_->ComboBox1, ui_->ComboBox2, ui_->ComboBox3, ui_->ComboBox4,
            ui_->ComboBox5, ui_->ComboBox6, ui_->ComboBox7, ui_->ComboBox8};
}

void TForm1::connectHandlers() {
    connect(ui_->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui_->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(ui_->Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connect(ui_->Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(ui_->Button10, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->Button2, &QPushButton::clicked, form2_, &QDialog::exec);
    connect(ui_->Button4, &QPushButton::clicked, form3_, &QDialog::exec);
    connect(ui_->Button5, &QPushButton::clicked, form4_, &QDialog::exec);
    connect(ui_->Button7, &QPushButton::clicked, form5_, &QDialog::exec);
    connect(ui_->Button11, &QPushButton::clicked, this, &TForm1::Button11Click);

    // A click, the keyboard or an accessibility client's "Toggle" all change the box; the
    // record runs the click rule when the box then differs from it (a box set from the record
    // does not).
    for (const auto& [box, which] : checkBoxes()) {
        connect(box, &QCheckBox::toggled, this,
                [this, box = box, which = which] { checkBoxClicked(box, which); });
    }
    // The statistics section is an option of its own, without a click rule.
    connect(ui_->CheckBox11, &QCheckBox::toggled, this,
            [this](bool on) { state_.options.Statistics = on; });
    // A date picked from the list or typed runs the change rule; one set by the program
    // does not.
    connect(ui_->ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(ui_->ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TForm1::ComboBox1Change);
    connect(ui_->ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
    connect(ui_->ComboBox2->lineEdit(), &QLineEdit::textEdited, this, &TForm1::ComboBox2Change);
}

void TForm1::showOptions() {
    const ReportOptions& o = state_.options;
    setWindowTitle(o.Caption);
    for (const auto& [edit, text] : textFields()) {
        ShowText(edit, o.*text);
    }
    for (const auto& [box, which] : checkBoxes()) {
        box->setChecked(o.isChecked(which));
    }
    ui_->CheckBox11->setChecked(o.Statistics);
    // While a run or its message lasts, the whole window takes no input.
    ui_->CheckBox2->setEnabled(o.CheckBox2Enabled && !running_);
    ui_->CheckBox3->setEnabled(o.CheckBox3Enabled && !running_);
    ui_->CheckBox10->setEnabled(o.CheckBox10Enabled && !running_);
    ui_->CheckBox6->setEnabled(o.CheckBox6Enabled && !running_);
    ui_->CheckBox7->setEnabled(o.CheckBox7Enabled && !running_);

    ui_->GroupBox1->setTitle(o.GroupBox1Caption);
    ui_->GroupBox2->setTitle(o.GroupBox2Caption);
    ShowRows(ui_->Memo1, o.Memo1);
    ShowRows(ui_->Memo2, o.Memo2);
    QLabel* const limits[] = {ui_->Label9,  ui_->Label10, ui_->Label15,
                              ui_->Label19, ui_->Label20, ui_->Label21};
    for (int i = 0; i < 6; ++i) {
        if (limits[i]->text() != o.LimitLabels[i]) {
            limits[i]->setText(o.LimitLabels[i]);
            limits[i]->adjustSize();
        }
    }

    ui_->GroupBox1->setVisible(o.GroupBox1Visible);
    ui_->Edit12->setVisible(o.Edit12Visible);
    ui_->Button2->setVisible(o.Button2Visible);
    ui_->GroupBox2->setVisible(o.GroupBox2Visible);
    ui_->Edit13->setVisible(o.Edit13Visible);
    ui_->GroupBox6->setVisible(o.GroupBox6Visible);
    for (QWidget* mkt : {static_cast<QWidget*>(ui_->CheckBox5), static_cast<QWidget*>(ui_->Edit10),
                         static_cast<QWidget*>(ui_->Label16), static_cast<QWidget*>(ui_->Label17),
                         static_cast<QWidget*>(ui_->Label18)}) {
        mkt->setVisible(o.MktControlsVisible);
    }
    for (QWidget* coefficient :
         {static_cast<QWidget*>(ui_->Label3), static_cast<QWidget*>(ui_->Edit6),
          static_cast<QWidget*>(ui_->Label5), static_cast<QWidget*>(ui_->Label6),
          static_cast<QWidget*>(ui_->Label7), static_cast<QWidget*>(ui_->Edit9),
          static_cast<QWidget*>(ui_->Edit11)}) {
        coefficient->setVisible(o.Channel2CoefficientsVisible);
    }

    const std::array<QComboBox*, 9> lists = rangeLists();
    for (int i = 1; i <= 8; ++i) {
        ShowList(lists[i], o.ComboBoxItems[i], o.ComboBoxText[i]);
    }
}

void TForm1::storeTexts() {
    ReportOptions& o = state_.options;
    for (const auto& [edit, text] : textFields()) {
        o.*text = edit->text();
    }
    const std::array<QComboBox*, 9> lists = rangeLists();
    for (int i = 1; i <= 8; ++i) {
        o.ComboBoxText[i] = lists[i]->currentText();
    }
}

void TForm1::checkBoxClicked(QCheckBox* box, ReportOptions::CheckBox which) {
    if (box->isChecked() == state_.options.isChecked(which)) {
        return;  // set from the record
    }
    storeTexts();
    state_.options.setChecked(which, box->isChecked());
    showOptions();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        // After the window is on the screen, so that a message of the start-up stands over it.
        QTimer::singleShot(0, this, [this] {
            if (!shown_) {
                FormShow();
            }
        });
    }
}

void TForm1::FormShow() {
    shown_ = true;
    ReportOptions& o = state_.options;
    o.LimitLabels.fill(QString());
    o.Edit2 =
        (place_.startSaveDirectory.isEmpty() ? place_.directory : place_.startSaveDirectory) + '/';
    state_.chart.reset();
    state_.data.DeviceKind = QStringLiteral("XX");
    showOptions();

    // The settings file: a missing or unreadable one is passed over in silence.
    std::optional<std::vector<SettingsEntry>> entries;
    try {
        entries = ReadSettingsFile(place_.settings);
    } catch (const std::exception&) {
    }
    QString source;
    // At most one message: the first file that cannot be loaded, and how many more there were.
    QString refusal;
    qsizetype moreRefusals = 0;
    for (const SettingsEntry& entry : entries.value_or(std::vector<SettingsEntry>{})) {
        if (entry.key == SettingsEntry::SaveDirectory) {
            o.Edit2 = entry.value;
        } else if (entry.value.isEmpty()) {
            continue;
        } else if (const std::optional<QString> message = StartFileRefusal(entry.value)) {
            if (refusal.isEmpty()) {
                refusal = *message;
            } else {
                ++moreRefusals;
            }
        } else {
            source = entry.value;
        }
    }
    showOptions();
    if (!refusal.isEmpty()) {
        if (moreRefusals > 0) {
            refusal += u'\n' + messages::MoreFilesNotFound(moreRefusals);
        }
        desktop_.showMessage(this, refusal);
    }
    if (!source.isEmpty()) {
        const std::optional<QString> failure = loadFile(source);
        // Still one message at most: the window shows what was read either way.
        if (failure && refusal.isEmpty()) {
            desktop_.showError(this, *failure);
        }
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (running_ || mapping_->running()) {
        // A report is being built; the window closes once it is done.
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    storeTexts();
    try {
        WriteSettingsFile(place_.settings, state_.options.Edit2, state_.options.Edit1);
    } catch (const files::ReadOnlyFileError& e) {
        desktop_.showMessage(this, messages::SettingsFileReadOnly(e.name()));
    } catch (const std::exception& e) {
        desktop_.showError(this, messages::SettingsNotSaved(UserMessage(e)));
    }
}

std::optional<QString> TForm1::loadFile(const QString& path) {
    storeTexts();
    try {
        LoadLogFile(state_, path);
    } catch (const std::exception& e) {
        // The window shows the reset and what was read before the failure; no report is made
        // of that.
        loadedFile_.clear();
        showOptions();
        return UserMessage(e);
    }
    loadedFile_ = path;
    showOptions();
    return std::nullopt;
}

void TForm1::openFiles(const QStringList& files) {
    if (files.isEmpty() || running_) {
        return;
    }
    if (files.size() == 1) {
        if (const std::optional<QString> failure = loadFile(files.front())) {
            desktop_.showError(this, *failure);
        }
        return;
    }
    // The batch: each file loaded, checked and built with the options its load leaves; a file
    // that fails is named in one message at the end and the next file is built all the same.
    setRunning(true);
    int built = 0;
    QStringList notBuilt;
    QStringList withoutPdf;
    for (const QString& file : files) {
        std::optional<QString> pdfFailure;
        if (const std::optional<QString> failure = buildInBatch(file, pdfFailure)) {
            notBuilt << messages::AboutFile(file, *failure);
            continue;
        }
        ++built;
        if (pdfFailure) {
            withoutPdf << messages::AboutFile(file, *pdfFailure);
        }
    }
    if (!notBuilt.isEmpty() || !withoutPdf.isEmpty()) {
        desktop_.showError(this, messages::BatchOutcome(built, static_cast<int>(files.size()),
                                                        notBuilt, withoutPdf));
    }
    setRunning(false);
    if (built > 0) {
        desktop_.openWithDefaultHandler(state_.options.Edit2);
    }
}

std::optional<QString> TForm1::buildInBatch(const QString& file,
                                            std::optional<QString>& pdfFailure) {
    if (std::optional<QString> failure = loadFile(file)) {
        return failure;
    }
    repaint();
    storeTexts();
    if (std::optional<QString> refusal = ValidateReportOptions(state_.options, state_.data)) {
        return refusal;
    }
    std::optional<QString> failure;
    runReport(failure, pdfFailure);
    return failure;
}

void TForm1::Button1Click() {
    if (running_) {
        return;
    }
    runExcelPress_ = std::exchange(lastExcelPress_, std::nullopt);
    storeTexts();
    if (loadedFile_.isEmpty()) {
        desktop_.showMessage(this, messages::OpenAFileFirst);
        return;
    }
    if (const std::optional<QString> refusal = ValidateReportOptions(state_.options, state_.data)) {
        desktop_.showMessage(this, *refusal);
        return;
    }
    // The report is of the loaded file; a path typed since names another one.
    if (!SameFileName(state_.options.Edit1, loadedFile_)) {
        desktop_.showMessage(this, messages::OtherFileNamed(state_.options.Edit1, loadedFile_));
        return;
    }
    setRunning(true);
    std::optional<QString> failure;
    std::optional<QString> pdfFailure;
    const std::optional<ReportFiles> files = runReport(failure, pdfFailure);
    // The window stays disabled while the message is shown.
    if (failure) {
        desktop_.showError(this, *failure);
    } else if (pdfFailure) {
        desktop_.showMessage(this, *pdfFailure);
    }
    setRunning(false);
    if (files) {
        desktop_.openWithDefaultHandler(files->workbook);
    }
}

std::optional<ReportFiles> TForm1::runReport(std::optional<QString>& failure,
                                             std::optional<QString>& pdfFailure) {
    ReportRunner runner(*ui_->ProgressBar1, *ui_->ProgressBar2);
    // The window grows to uncover the progress bars below its normal client area.
    setFixedSize(kWidth, kRunWindowHeight - kFrameHeight);
    std::optional<ReportFiles> files;
    try {
        files = runner.run(state_);
    } catch (const std::exception& e) {
        failure = UserMessage(e);
    }
    setFixedSize(kWidth, kIdleWindowHeight - kFrameHeight);
    showOptions();
    pdfFailure = runner.pdfFailure();
    return files;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Button1 && (event->type() == QEvent::MouseButtonPress ||
                                    event->type() == QEvent::MouseButtonDblClick)) {
        const quint64 time = static_cast<QInputEvent*>(event)->timestamp();
        const auto interval =
            static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        // The second press of a double click on "Excel" belongs to the press that started a
        // run; it arrives as a press and a double click event once that run is over.
        if (event->type() == QEvent::MouseButtonDblClick ||
            (runExcelPress_ && time >= *runExcelPress_ && time - *runExcelPress_ < interval)) {
            return true;
        }
        lastExcelPress_ = time;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::setRunning(bool running) {
    running_ = running;
    // Every control but the progress bars takes no input while a report runs.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != ui_->ProgressBar1 && child != ui_->ProgressBar2 && !child->isWindow()) {
            child->setEnabled(!running);
        }
    }
    if (!running) {
        showOptions();
    }
    setAcceptDrops(!running);
}

void TForm1::Button3Click() {
    const QString start = QFileInfo(state_.options.Edit1).absolutePath();
    openFiles(desktop_.chooseLoggerFiles(this, state_.options.Edit1.isEmpty() ? QString() : start));
}

void TForm1::Button6Click() {
    storeTexts();
    state_.options.ComboBoxText[ReportOptions::ComboBox1] = state_.data.FirstDate;
    state_.options.ComboBoxText[ReportOptions::ComboBox2] = state_.data.LastDate;
    showOptions();
}

void TForm1::Button8Click() {
    storeTexts();
    // The dialog starts at the save directory, or at the program's folder when that is gone.
    const QString& current = state_.options.Edit2;
    const QString start =
        files::KindOf(current) == files::FileKind::Directory ? current : place_.directory;
    const std::optional<QString> chosen = desktop_.chooseDirectory(this, start);
    if (!chosen) {
        return;
    }
    storeTexts();
    // The chosen folder with one trailing separator; a root keeps a single one.
    QString directory = *chosen + '/';
    directory.replace(QStringLiteral("//"), QStringLiteral("/"));
    state_.options.Edit2 = directory;
    showOptions();
}

void TForm1::Button9Click() {
    storeTexts();
    state_.options.Edit3.clear();
    state_.options.Edit4.clear();
    showOptions();
}

void TForm1::Button11Click() {
    if (running_) {
        return;
    }
    storeTexts();
    mapping_->prepare(state_.options.Edit2, state_.options.isChecked(ReportOptions::CheckBox8));
    mapping_->exec();
}

void TForm1::ComboBox1Change() {
    storeTexts();
    ReportOptions& o = state_.options;
    // A new start date starts at the day's first second.
    for (int list :
         {ReportOptions::ComboBox3, ReportOptions::ComboBox5, ReportOptions::ComboBox6}) {
        if (!o.ComboBoxItems[list].isEmpty()) {
            o.ComboBoxText[list] = o.ComboBoxItems[list].front();
        }
    }
    showOptions();
}

void TForm1::ComboBox2Change() {
    storeTexts();
    ReportOptions& o = state_.options;
    // A new end date ends at 23:59:00.
    const std::pair<int, int> entries[] = {{ReportOptions::ComboBox4, 23},
                                           {ReportOptions::ComboBox7, 59},
                                           {ReportOptions::ComboBox8, 0}};
    for (const auto& [list, entry] : entries) {
        if (entry < o.ComboBoxItems[list].size()) {
            o.ComboBoxText[list] = o.ComboBoxItems[list][entry];
        }
    }
    showOptions();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (AreFileAddresses(event->mimeData()->urls()) && !running_) {
        event->acceptProposedAction();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    if (const std::optional<QStringList> files = TakeDroppedFiles(*event, desktop_, this)) {
        // After the drop has finished, so that the program the files came from is not held up
        // by a batch.
        QTimer::singleShot(0, this, [this, files = *files] { openFiles(files); });
    }
}

}  // namespace qorv::ui
