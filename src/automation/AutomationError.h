#pragma once

#include <QString>
#include <stdexcept>

namespace qorv::automation {

// What went wrong in the spreadsheet component; each kind has one fixed message text.
enum class ErrorKind {
    BadReference,
    BeyondSheet,
    SheetIndexOutOfRange,
    SheetNotFound,
    NotAWorksheet,
    BadSheetName,
    SheetNameTaken,
    LastSheet,
    SeriesOutOfRange,
    AxisNotFound,
    ShapeOutOfRange,
    BadValue,
    NoSourceData,
    ChartSheetNotSaved,
    NotSavedYet,
    DirectoryMissing,
    CannotWrite,
    NothingToPrint,
    NoWorkbook,
};

// The one error type of the component. The message is the user's Russian text naming what
// failed and which reference, name or path it concerned.
class AutomationError : public std::runtime_error {
  public:
    AutomationError(ErrorKind kind, const QString& message, const QString& path = QString(),
                    int systemError = 0);

    ErrorKind kind() const { return kind_; }
    QString message() const { return QString::fromUtf8(what()); }
    // For CannotWrite: the file and the system's error number (0 when the reason is not one),
    // so that a front end can word the reason in its own terms.
    const QString& path() const { return path_; }
    int systemError() const { return systemError_; }

  private:
    ErrorKind kind_;
    QString path_;
    int systemError_ = 0;
};

// Builders of every error the component raises, so that all message texts live in one place.
namespace errors {
AutomationError badReference(const QString& reference);
AutomationError beyondSheet(const QString& reference);
AutomationError sheetIndexOutOfRange(int index, int count);
AutomationError sheetNotFound(const QString& name);
AutomationError notAWorksheet(const QString& name);
AutomationError badSheetName(const QString& name);
AutomationError sheetNameTaken(const QString& name);
AutomationError lastSheet();
AutomationError seriesOutOfRange(int index, int count);
AutomationError axisNotFound(int type, int group);
AutomationError shapeOutOfRange(int index, int count, const QString& sheet);
AutomationError badValue(const QString& property, const QString& value);
AutomationError badValue(const QString& property, double value);
AutomationError noSourceData(const QString& reason);
AutomationError chartSheetNotSaved(const QString& name);
AutomationError notSavedYet();
AutomationError directoryMissing(const QString& directory);
AutomationError cannotWrite(const QString& path, const QString& reason);
AutomationError cannotWrite(const QString& path, int systemError);
AutomationError nothingToPrint(const QString& sheet);
AutomationError noWorkbook();
}  // namespace errors

}  // namespace qorv::automation
