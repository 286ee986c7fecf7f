#include "automation/AutomationError.h"

#include "automation/CellRef.h"
#include "files/FileName.h"

#include <QLocale>

#include <cstring>

namespace qorv::automation {

AutomationError::AutomationError(ErrorKind kind, const QString& message, const QString& path,
                                 int systemError)
    : std::runtime_error(message.toStdString()),
      kind_(kind),
      path_(path),
      systemError_(systemError) {}

namespace errors {

namespace {
QString quoted(const QString& text) {
    return QStringLiteral("«") + text + QStringLiteral("»");
}
QString number(double value) {
    return QString::number(value, 'g', 17);
}
}  // namespace

AutomationError badReference(const QString& reference) {
    return {ErrorKind::BadReference,
            QStringLiteral("Неверная ссылка на ячейки: %1").arg(quoted(reference))};
}

AutomationError beyondSheet(const QString& reference) {
    return {ErrorKind::BeyondSheet,
            QStringLiteral("Ячейки %1 лежат за последней строкой листа: в листе не больше %2 строк")
                .arg(quoted(reference), QLocale(QLocale::Russian).toString(kMaxRows))};
}

AutomationError sheetIndexOutOfRange(int index, int count) {
    return {ErrorKind::SheetIndexOutOfRange,
            QStringLiteral("Лист с номером %1 не существует (листов в книге: %2)")
                .arg(index)
                .arg(count)};
}

AutomationError sheetNotFound(const QString& name) {
    return {ErrorKind::SheetNotFound,
            QStringLiteral("Лист с именем %1 не найден в книге").arg(quoted(name))};
}

AutomationError notAWorksheet(const QString& name) {
    return {ErrorKind::NotAWorksheet,
            QStringLiteral("Лист %1 — лист диаграммы, а не лист с ячейками").arg(quoted(name))};
}

AutomationError badSheetName(const QString& name) {
    return {ErrorKind::BadSheetName,
            QStringLiteral("Недопустимое имя листа: %1 (от 1 до 31 знака, без : \\ / ? * [ ])")
                .arg(quoted(name))};
}

AutomationError sheetNameTaken(const QString& name) {
    return {ErrorKind::SheetNameTaken,
            QStringLiteral("Лист с именем %1 уже есть в книге").arg(quoted(name))};
}

AutomationError lastSheet() {
    return {ErrorKind::LastSheet,
            QStringLiteral("Нельзя убрать последний лист с ячейками из книги")};
}

AutomationError seriesOutOfRange(int index, int count) {
    return {ErrorKind::SeriesOutOfRange,
            QStringLiteral("Ряд данных %1 не существует (рядов в диаграмме: %2)")
                .arg(index)
                .arg(count)};
}

AutomationError axisNotFound(int type, int group) {
    return {ErrorKind::AxisNotFound,
            QStringLiteral("Ось (тип %1, группа %2) отсутствует в диаграмме").arg(type).arg(group)};
}

AutomationError shapeOutOfRange(int index, int count, const QString& sheet) {
    return {ErrorKind::ShapeOutOfRange,
            QStringLiteral("Фигура с номером %1 не существует на листе %2 (фигур: %3)")
                .arg(index)
                .arg(quoted(sheet))
                .arg(count)};
}

AutomationError badValue(const QString& property, const QString& value) {
    return {
        ErrorKind::BadValue,
        QStringLiteral("Недопустимое значение %1 для свойства %2").arg(quoted(value), property)};
}

AutomationError badValue(const QString& property, double value) {
    return badValue(property, number(value));
}

AutomationError noSourceData(const QString& reason) {
    return {ErrorKind::NoSourceData,
            QStringLiteral("Неверный диапазон данных диаграммы: %1").arg(reason)};
}

AutomationError chartSheetNotSaved(const QString& name) {
    return {ErrorKind::ChartSheetNotSaved,
            QStringLiteral("Книгу с отдельным листом диаграммы %1 сохранить нельзя: перенесите "
                           "диаграмму на лист с ячейками")
                .arg(quoted(name))};
}

AutomationError notSavedYet() {
    return {ErrorKind::NotSavedYet,
            QStringLiteral("Книга ещё не сохранялась: сначала нужно сохранить её под именем")};
}

AutomationError directoryMissing(const QString& directory) {
    return {
        ErrorKind::DirectoryMissing,
        QStringLiteral("Папка %1 не существует").arg(quoted(files::DisplayFileName(directory)))};
}

AutomationError cannotWrite(const QString& path, const QString& reason) {
    return {ErrorKind::CannotWrite, QStringLiteral("Не удалось записать файл %1: %2")
                                        .arg(quoted(files::DisplayFileName(path)), reason)};
}

AutomationError cannotWrite(const QString& path, int systemError) {
    return {ErrorKind::CannotWrite,
            cannotWrite(path, QString::fromLocal8Bit(std::strerror(systemError))).message(), path,
            systemError};
}

AutomationError nothingToPrint(const QString& sheet) {
    return {ErrorKind::NothingToPrint,
            QStringLiteral("На листе %1 нечего печатать: он пуст").arg(quoted(sheet))};
}

AutomationError noWorkbook() {
    return {ErrorKind::NoWorkbook, QStringLiteral("В приложении нет открытой книги")};
}

}  // namespace errors
}  // namespace qorv::automation
