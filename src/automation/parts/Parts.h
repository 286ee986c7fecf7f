#pragma once

// The parts of the .xlsx package, one source file each. Every function returns the part's
// XML text; the worksheet, the only part that grows with the data, is produced piecewise.

#include <QDateTime>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qorv::automation {
class Chart;
class Styles;
class TextTable;
class Workbook;
class Worksheet;
}  // namespace qorv::automation

namespace qorv::automation::parts {

inline constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kRelTypeBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

struct Relationship {
    std::string id;
    std::string type;  // last segment under kRelTypeBase, or a full URI
    std::string target;
};
std::string relationships(const std::vector<Relationship>& items);

std::string contentTypes(int worksheetCount, int drawingCount, int chartCount);
std::string coreProperties(const QDateTime& created);
std::string workbook(const Workbook& book);
std::string styles(const Styles& styles);

// Shared strings: the texts the cells use, in order of first use, each written once.
struct SharedStrings {
    std::vector<std::uint32_t> order;     // text table indexes in file order
    std::vector<std::uint32_t> position;  // text table index -> file position
    std::uint64_t references = 0;
};
SharedStrings collectSharedStrings(const Workbook& book);
std::string sharedStrings(const TextTable& texts, const SharedStrings& strings);

// Writes a worksheet part a slice at a time, so that a million-row sheet never sits in
// memory as one text.
class WorksheetWriter {
  public:
    WorksheetWriter(const Worksheet& sheet, const SharedStrings& strings, bool selected,
                    bool hasDrawing);
    // Appends the next slice; returns false once the whole part has been given.
    bool fill(std::string& out);
    // The part as runs of rows that can be written independently and side by side, each
    // appending its whole text; the first begins the part and the last ends it. Together they
    // are exactly what `fill` gives.
    std::vector<std::function<void(std::string&)>> segments() const;
    // An upper bound of the part's length while it stays below 4 GiB (the archive then
    // needs no 64-bit extensions), else -1.
    std::int64_t sizeBound() const;

  private:
    void header(std::string& out) const;
    void rows(std::string& out, int firstRow, int lastRow) const;
    void footer(std::string& out) const;

    const Worksheet& sheet_;
    const SharedStrings& strings_;
    bool selected_;
    bool hasDrawing_;
    int lastRow_ = 0;
    int nextRow_ = 0;  // 0: header not yet written
    bool finished_ = false;
};

// The column width as the file stores it: characters plus padding, in 1/256 steps.
double fileColumnWidth(double characters);

// The drawing of a worksheet's charts; chart k of the sheet is relationship "rId<k>".
std::string drawing(const Worksheet& sheet);
std::string chart(const Chart& chart);

}  // namespace qorv::automation::parts
