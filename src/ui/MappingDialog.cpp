#include "ui/MappingDialog.h"

#include "report/DateTimeText.h"
#include "report/LoadLogFile.h"
#include "report/MappingWorkbook.h"
#include "report/NumberText.h"
#include "report/UserMessage.h"
#include "ui/Desktop.h"
#include "ui/DialogPlacement.h"
#include "ui/DroppedFiles.h"
#include "ui/NumericKeyFilter.h"
#include "ui/PixelFonts.h"
#include "ui/ReportRunner.h"
#include "ui/UiMessages.h"
#include "ui_MappingDialog.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTimer>

namespace qorv::ui {

namespace {

// The list's columns and what a row keeps besides its texts.
enum Column { kFile = 0, kPlace = 1, kRecorded = 2 };
constexpr int kPathRole = Qt::UserRole;
constexpr int kFirstRole = Qt::UserRole + 1;  // the first and the last sample's time, when read
constexpr int kLastRole = Qt::UserRole + 2;

const QString kShownTime = QStringLiteral("dd.MM.yyyy HH:mm");

// A logger file as the list shows it: read as a load reads it, for its place and its time.
struct FileRow {
    QString place;
    std::optional<QDateTime> first, last;
    std::optional<QString> failure;
};

FileRow ReadFileRow(const QString& path) {
    FileRow row;
    row.place = QFileInfo(path).fileName();  // until the file is read
    ProgramState state;
    try {
        LoadLogFile(state, path);
    } catch (const std::exception& e) {
        row.failure = UserMessage(e);
        return row;
    }
    row.place = LoggerPlace(state.data, path);
    const auto time = [](const QString& date, const std::array<QString, 3>& hms) {
        return date.isEmpty()
                   ? std::nullopt
                   : TryReadDateTime(date + u' ' + QStringList(hms.begin(), hms.end()).join(u':'));
    };
    row.first = time(state.data.FirstDate, state.summary.FirstTime);
    row.last = time(state.data.LastDate, state.summary.LastTime);
    return row;
}

// The edits show a logged time as it reads, whatever the system's time zone.
QDateTime Shown(const QDateTime& logged) {
    return QDateTime(logged.date(), logged.time());
}
QDateTime Logged(const QDateTime& shown) {
    return QDateTime(shown.date(), shown.time(), Qt::UTC);
}

}  // namespace

MappingDialog::MappingDialog(Desktop& desktop, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MappingDialog>()), desktop_(desktop) {
    ui_->setupUi(this);
    UseScreenPixelFonts(this);
    GrowToFitCaptions(this);
    setFixedSize(size());
    ui_->ProgressBar1->hide();
    ui_->ProgressBar2->hide();
    QHeaderView* header = ui_->FileList->header();
    header->resizeSection(kFile, 190);
    header->resizeSection(kPlace, 230);
    header->setStretchLastSection(true);
    for (QLineEdit* edit : {ui_->EditLow, ui_->EditHigh}) {
        edit->installEventFilter(new NumericKeyFilter(edit, NumericKeyFilter::LeadingMinus));
    }
    enablePeriod();

    connect(ui_->ButtonAdd, &QPushButton::clicked, this, [this] {
        const QTreeWidgetItem* last =
            ui_->FileList->topLevelItem(ui_->FileList->topLevelItemCount() - 1);
        const QString start =
            last ? QFileInfo(last->data(kFile, kPathRole).toString()).absolutePath() : QString();
        addFiles(desktop_.chooseLoggerFiles(this, start));
    });
    connect(ui_->ButtonRemove, &QPushButton::clicked, this, &MappingDialog::removeSelected);
    connect(ui_->CheckBoxPeriod, &QCheckBox::toggled, this, &MappingDialog::enablePeriod);
    connect(ui_->ButtonBuild, &QPushButton::clicked, this, &MappingDialog::build);
    connect(ui_->ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
}

MappingDialog::~MappingDialog() = default;

void MappingDialog::prepare(const QString& folder, bool pdf) {
    folder_ = folder;
    ui_->EditFolder->setText(folder);
    ui_->EditFolder->setCursorPosition(0);
    ui_->CheckBoxPdf->setChecked(pdf);
    CentreOverParent(*this);
}

QTreeWidgetItem* MappingDialog::rowOfFile(const QString& path) const {
    for (int i = 0; i < ui_->FileList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ui_->FileList->topLevelItem(i);
        if (item->data(kFile, kPathRole).toString() == path) {
            return item;
        }
    }
    return nullptr;
}

void MappingDialog::addFiles(const QStringList& files) {
    if (files.isEmpty() || running_) {
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (const QString& path : files) {
        if (rowOfFile(path)) {
            continue;  // one place per logger
        }
        const FileRow row = ReadFileRow(path);
        auto* item = new QTreeWidgetItem(ui_->FileList);
        item->setText(kFile, QFileInfo(path).fileName());
        item->setData(kFile, kPathRole, path);
        item->setToolTip(kFile, QDir::toNativeSeparators(path));
        if (row.failure) {
            item->setText(kPlace, messages::MappingFileUnreadable(*row.failure));
            item->setToolTip(kPlace, *row.failure);
            item->setForeground(kPlace, Qt::red);
            continue;
        }
        item->setText(kPlace, row.place);
        item->setToolTip(kPlace, row.place);
        if (row.first && row.last) {
            item->setData(kFile, kFirstRole, *row.first);
            item->setData(kFile, kLastRole, *row.last);
            item->setText(kRecorded, messages::MappingRecorded(row.first->toString(kShownTime),
                                                               row.last->toString(kShownTime)));
        }
    }
    QGuiApplication::restoreOverrideCursor();
    showCommonPeriod();
}

void MappingDialog::removeSelected() {
    qDeleteAll(ui_->FileList->selectedItems());
    showCommonPeriod();
}

// While the period is not narrowed, its edits show the time every listed logger recorded, as
// far as the list knows it.
void MappingDialog::showCommonPeriod() {
    if (ui_->CheckBoxPeriod->isChecked()) {
        return;
    }
    std::optional<QDateTime> start, end;
    for (int i = 0; i < ui_->FileList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui_->FileList->topLevelItem(i);
        const QDateTime first = item->data(kFile, kFirstRole).toDateTime();
        const QDateTime last = item->data(kFile, kLastRole).toDateTime();
        if (first.isValid() && last.isValid()) {
            start = start ? std::max(*start, first) : first;
            end = end ? std::min(*end, last) : last;
        }
    }
    if (start && end && *start <= *end) {
        ui_->DateTimeFrom->setDateTime(Shown(*start));
        ui_->DateTimeTo->setDateTime(Shown(*end));
    }
}

void MappingDialog::enablePeriod() {
    const bool narrowed = ui_->CheckBoxPeriod->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->LabelFrom, ui_->DateTimeFrom,
                                                            ui_->LabelTo, ui_->DateTimeTo}) {
        control->setEnabled(narrowed && !running_);
    }
    showCommonPeriod();
}

std::optional<MappingRequest> MappingDialog::request() {
    MappingRequest request;
    for (int i = 0; i < ui_->FileList->topLevelItemCount(); ++i) {
        request.files << ui_->FileList->topLevelItem(i)->data(kFile, kPathRole).toString();
    }
    if (request.files.isEmpty()) {
        desktop_.showMessage(this, messages::MappingNoFiles);
        return std::nullopt;
    }
    const QString lowText = ui_->EditLow->text().trimmed();
    const QString highText = ui_->EditHigh->text().trimmed();
    if (lowText.isEmpty() != highText.isEmpty()) {
        desktop_.showMessage(this, messages::MappingOneSidedRange);
        return std::nullopt;
    }
    if (!lowText.isEmpty()) {
        // Both separators read, whatever the system's, as in the main window's fields.
        const std::optional<long double> low = TryReadNumber(lowText);
        const std::optional<long double> high = TryReadNumber(highText);
        if (!low || !high) {
            desktop_.showMessage(
                this, low ? messages::NotAValidFloat(messages::MappingRangeHigh, highText)
                          : messages::NotAValidFloat(messages::MappingRangeLow, lowText));
            return std::nullopt;
        }
        request.low = static_cast<double>(*low);
        request.high = static_cast<double>(*high);
    }
    if (request.low && *request.low >= *request.high) {
        desktop_.showMessage(this, messages::MappingRangeReversed);
        return std::nullopt;
    }
    if (ui_->CheckBoxPeriod->isChecked()) {
        request.from = Logged(ui_->DateTimeFrom->dateTime());
        request.to = Logged(ui_->DateTimeTo->dateTime());
        if (*request.from > *request.to) {
            desktop_.showMessage(this, messages::MappingPeriodReversed);
            return std::nullopt;
        }
    }
    return request;
}

void MappingDialog::build() {
    if (running_) {
        return;
    }
    const std::optional<MappingRequest> asked = request();
    if (!asked) {
        return;
    }
    const QString folder = QDir::cleanPath(folder_);
    const bool pdf = ui_->CheckBoxPdf->isChecked();
    setRunning(true);
    ReportRunner runner(*ui_->ProgressBar1, *ui_->ProgressBar2);
    std::optional<MappingFiles> saved;
    std::optional<QString> failure;
    try {
        runner.runWork([&](ProgressListener& progress) {
            progress.runStarted(0);  // a busy bar while the files are read
            const MappingStudy study = ComputeMappingStudy(*asked);
            saved = BuildMappingWorkbook(study, folder, pdf, progress);
        });
    } catch (const std::exception& e) {
        failure = UserMessage(e);
    }
    // The dialog stays disabled while the message is shown.
    if (failure) {
        desktop_.showError(this, *failure);
    } else if (runner.pdfFailure()) {
        desktop_.showMessage(this, *runner.pdfFailure());
    }
    setRunning(false);
    if (saved) {
        desktop_.openWithDefaultHandler(saved->workbook);
    }
}

void MappingDialog::setRunning(bool running) {
    running_ = running;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != ui_->ProgressBar1 && child != ui_->ProgressBar2) {
            child->setEnabled(!running);
        }
    }
    enablePeriod();
    setAcceptDrops(!running);
}

void MappingDialog::reject() {
    if (!running_) {
        QDialog::reject();
    }
}

void MappingDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && AreFileAddresses(event->mimeData()->urls())) {
        event->acceptProposedAction();
    }
}

void MappingDialog::dropEvent(QDropEvent* event) {
    if (const std::optional<QStringList> files = TakeDroppedFiles(*event, desktop_, this)) {
        // After the drop has finished: reading the files takes a moment.
        QTimer::singleShot(0, this, [this, files = *files] { addFiles(files); });
    }
}

}  // namespace qorv::ui
