#pragma once

#include "automation/Styles.h"
#include "automation/Worksheet.h"
#include "automation/print/DisplayLocale.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

namespace qorv::automation {

// An in-memory workbook and its saving as an .xlsx file. A new workbook holds one
// worksheet, "Лист1", with Arial 10 as its default font.
//
//   Workbook& book = app.workbooks().add();
//   QString path = book.saveAs("/out/1234-081215_140309");   // ".xlsx" added; "_2" if taken
//   ...
//   book.save();
class Workbook {
  public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Sheets by 1-based position; Sheets.Add inserts a worksheet after the given sheet (at
    // the end when none) and makes it active.
    class Sheets {
      public:
        explicit Sheets(Workbook& book) : book_(book) {}
        int count() const { return int(book_.sheets_.size()); }
        Sheet& item(int index);
        Worksheet& add(Sheet* after = nullptr);

      private:
        Workbook& book_;
    };
    Sheets sheets() { return Sheets(*this); }
    // The worksheet at a position; throws when the position holds a chart sheet.
    Worksheet& worksheet(int index);
    Worksheet& worksheet(const QString& name);
    Sheet* findSheet(const QString& name) const;
    int sheetCount() const { return int(sheets_.size()); }
    Sheet& sheetAt(int index) const { return *sheets_[std::size_t(index - 1)]; }
    int indexOf(const Sheet& sheet) const;

    // Charts.Add: a new chart on its own sheet, after the given sheet (before the active
    // sheet when none), made active.
    class Charts {
      public:
        explicit Charts(Workbook& book) : book_(book) {}
        Chart& add(Sheet* after = nullptr);

      private:
        Workbook& book_;
    };
    Charts charts() { return Charts(*this); }

    Sheet& activeSheet() const { return *activeSheet_; }
    void activate(Sheet& sheet) { activeSheet_ = &sheet; }

    // Saving. saveAs adds ".xlsx" unless the name ends in it and never replaces an existing
    // file, also when other processes save the same name at the same moment: the name is taken
    // exclusively, and a taken name gets "_2", "_3", ... before the extension. It returns the
    // path used, which save() replaces afterwards. Both write a complete temporary file beside
    // the target and flush it to disk before it gets the name, so a failed save or a crash
    // leaves no partial file.
    QString saveAs(const QString& fileName);
    void save();
    QString fullName() const { return path_; }
    // Creation time written into the file's properties and ZIP entries; fixed for
    // reproducible files.
    void setTimestamp(const QDateTime& time) { timestamp_ = time; }
    QDateTime timestamp() const { return timestamp_; }
    // Deflate level of the saved package (1 fastest .. 9 smallest).
    void setCompressionLevel(int level) { compressionLevel_ = level; }

    // The separators numbers and dates show with when the workbook is printed: the system's,
    // as a spreadsheet program on it would show them.
    const DisplayLocale& displayLocale() const { return displayLocale_; }
    void setDisplayLocale(const DisplayLocale& locale) { displayLocale_ = locale; }

    Styles& styles() { return styles_; }
    const Styles& styles() const { return styles_; }
    TextTable& texts() { return texts_; }
    const TextTable& texts() const { return texts_; }

    // Used by Chart::location.
    Chart& moveChartToWorksheet(Chart& chart, const QString& sheetName);
    void checkNewName(const Sheet* sheet, const QString& name) const;

  private:
    QString writeFile(const QString& path, bool mustBeNew);

    std::vector<std::unique_ptr<Sheet>> sheets_;
    Sheet* activeSheet_ = nullptr;
    Styles styles_;
    TextTable texts_;
    QString path_;
    QDateTime timestamp_;
    int compressionLevel_ = 1;
    DisplayLocale displayLocale_;
    int worksheetsAdded_ = 0;
    int chartsAdded_ = 0;
};

// The spreadsheet application: the root of the object model. It runs in this process, so
// "connect" always succeeds.
//
//   Application app = Application::connect();
//   Workbook& book = app.workbooks().add();
//   Worksheet& report = book.worksheet(1);
class Application {
  public:
    static Application connect() { return Application(); }
    Application();
    Application(Application&&) noexcept;
    Application& operator=(Application&&) noexcept;
    ~Application();

    class Workbooks {
      public:
        explicit Workbooks(Application& app) : app_(app) {}
        Workbook& add();
        int count() const { return int(app_.workbooks_.size()); }
        Workbook& item(int index);

      private:
        Application& app_;
    };
    Workbooks workbooks() { return Workbooks(*this); }
    // The workbook added last; throws when there is none.
    Workbook& activeWorkbook();
    Sheet& activeSheet() { return activeWorkbook().activeSheet(); }

  private:
    std::vector<std::unique_ptr<Workbook>> workbooks_;
};

}  // namespace qorv::automation
