#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

SharedStrings collectSharedStrings(const Workbook& book) {
    SharedStrings strings;
    strings.position.assign(book.texts().size(), UINT32_MAX);
    for (int i = 1; i <= book.sheetCount(); ++i) {
        const Sheet& sheet = book.sheetAt(i);
        if (sheet.kind() != Sheet::Kind::Worksheet) {
            continue;
        }
        const CellStore& cells = static_cast<const Worksheet&>(sheet).cellStore();
        for (int column = 1; column <= cells.columnCount(); ++column) {
            const CellMeta* meta = cells.metaData(column);
            const double* values = cells.valueData(column);
            const int rows = cells.rowCount(column);
            for (int r = 0; r < rows; ++r) {
                if (CellStore::typeOf(meta[r]) != CellType::Text) {
                    continue;
                }
                const auto index = std::uint32_t(values[r]);
                if (strings.position[index] == UINT32_MAX) {
                    strings.position[index] = std::uint32_t(strings.order.size());
                    strings.order.push_back(index);
                }
                ++strings.references;
            }
        }
    }
    return strings;
}

std::string sharedStrings(const TextTable& texts, const SharedStrings& strings) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("sst")
        .attr("xmlns", kMainNs)
        .attr("count", (long long)strings.references)
        .attr("uniqueCount", (long long)strings.order.size())
        .close();
    for (std::uint32_t index : strings.order) {
        const QString& text = texts.at(index);
        w.start("si").close();
        w.start("t");
        if (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace())) {
            w.attr("xml:space", "preserve");
        }
        w.close();
        w.text(text);
        w.close("t");
        w.close("si");
    }
    w.close("sst");
    return out;
}

}  // namespace qorv::automation::parts
