#include "automation/Workbook.h"

#include "automation/AutomationError.h"
#include "automation/Package.h"

namespace qorv::automation {

Workbook::Workbook() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    timestamp_ = QDateTime(
        now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()), Qt::UTC);
    sheets_.push_back(std::make_unique<Worksheet>(*this, QStringLiteral("Лист1")));
    worksheetsAdded_ = 1;
    activeSheet_ = sheets_.front().get();
}

Workbook::~Workbook() = default;

Sheet& Workbook::Sheets::item(int index) {
    if (index < 1 || index > count()) {
        throw errors::sheetIndexOutOfRange(index, count());
    }
    return *book_.sheets_[std::size_t(index - 1)];
}

Worksheet& Workbook::Sheets::add(Sheet* after) {
    QString name;
    do {
        name = QStringLiteral("Лист%1").arg(++book_.worksheetsAdded_);
    } while (book_.findSheet(name));
    const int position = after ? book_.indexOf(*after) : count();
    auto sheet = std::make_unique<Worksheet>(book_, name);
    Worksheet& added = *sheet;
    book_.sheets_.insert(book_.sheets_.begin() + position, std::move(sheet));
    book_.activeSheet_ = &added;
    return added;
}

Worksheet& Workbook::worksheet(int index) {
    Sheet& sheet = sheets().item(index);
    if (sheet.kind() != Sheet::Kind::Worksheet) {
        throw errors::notAWorksheet(sheet.name());
    }
    return static_cast<Worksheet&>(sheet);
}

Worksheet& Workbook::worksheet(const QString& name) {
    Sheet* sheet = findSheet(name);
    if (!sheet) {
        throw errors::sheetNotFound(name);
    }
    if (sheet->kind() != Sheet::Kind::Worksheet) {
        throw errors::notAWorksheet(sheet->name());
    }
    return static_cast<Worksheet&>(*sheet);
}

Sheet* Workbook::findSheet(const QString& name) const {
    for (const auto& sheet : sheets_) {
        if (sheet->name().compare(name, Qt::CaseInsensitive) == 0) {
            return sheet.get();
        }
    }
    return nullptr;
}

int Workbook::indexOf(const Sheet& sheet) const {
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        if (sheets_[i].get() == &sheet) {
            return int(i) + 1;
        }
    }
    return 0;
}

Chart& Workbook::Charts::add(Sheet* after) {
    QString name;
    do {
        name = QStringLiteral("Диаграмма%1").arg(++book_.chartsAdded_);
    } while (book_.findSheet(name));
    const int position = after ? book_.indexOf(*after) : book_.indexOf(*book_.activeSheet_) - 1;
    auto sheet = std::make_unique<ChartSheet>(book_, name);
    ChartSheet& added = *sheet;
    book_.sheets_.insert(book_.sheets_.begin() + position, std::move(sheet));
    book_.activeSheet_ = &added;
    return added.chart();
}

void Workbook::checkNewName(const Sheet* sheet, const QString& name) const {
    static const QString kForbidden = QStringLiteral(":\\/?*[]");
    bool valid =
        !name.isEmpty() && name.size() <= 31 && !name.startsWith(u'\'') && !name.endsWith(u'\'');
    for (QChar ch : name) {
        valid = valid && !kForbidden.contains(ch) && ch.unicode() >= 0x20;
    }
    if (!valid) {
        throw errors::badSheetName(name);
    }
    const Sheet* other = findSheet(name);
    if (other && other != sheet) {
        throw errors::sheetNameTaken(name);
    }
}

Chart& Workbook::moveChartToWorksheet(Chart& chart, const QString& sheetName) {
    Sheet* target = findSheet(sheetName);
    if (!target || target->kind() != Sheet::Kind::Worksheet) {
        throw errors::sheetNotFound(sheetName);
    }
    std::unique_ptr<Chart> owned;
    for (auto it = sheets_.begin(); it != sheets_.end() && !owned; ++it) {
        if ((*it)->kind() == Sheet::Kind::ChartSheet &&
            &static_cast<ChartSheet&>(**it).chart() == &chart) {
            owned = static_cast<ChartSheet&>(**it).takeChart();
            if (activeSheet_ == it->get()) {
                activeSheet_ = target;
            }
            sheets_.erase(it);
            break;
        }
    }
    if (!owned) {
        // Already embedded: Location places an embedded chart anew, as a fresh object.
        throw errors::badValue(QStringLiteral("Chart.Location"), sheetName);
    }
    Chart& moved = *owned;
    static_cast<Worksheet*>(target)->embedChart(std::move(owned));
    return moved;
}

QString Workbook::saveAs(const QString& fileName) {
    path_ = writeFile(targetFileName(fileName, u".xlsx"), true);
    return path_;
}

void Workbook::save() {
    if (path_.isEmpty()) {
        throw errors::notSavedYet();
    }
    writeFile(path_, false);
}

QString Workbook::writeFile(const QString& path, bool mustBeNew) {
    for (const auto& sheet : sheets_) {
        if (sheet->kind() == Sheet::Kind::ChartSheet) {
            throw errors::chartSheetNotSaved(sheet->name());
        }
    }
    return writePackage(*this, path, mustBeNew, compressionLevel_);
}

Application::Application() = default;
Application::Application(Application&&) noexcept = default;
Application& Application::operator=(Application&&) noexcept = default;
Application::~Application() = default;

Workbook& Application::Workbooks::add() {
    app_.workbooks_.push_back(std::make_unique<Workbook>());
    return *app_.workbooks_.back();
}

Workbook& Application::Workbooks::item(int index) {
    if (index < 1 || index > count()) {
        throw errors::noWorkbook();
    }
    return *app_.workbooks_[std::size_t(index - 1)];
}

Workbook& Application::activeWorkbook() {
    if (workbooks_.empty()) {
        throw errors::noWorkbook();
    }
    return *workbooks_.back();
}

}  // namespace qorv::automation
