#include "automation/Styles.h"

#include "automation/CellStore.h"

#include <stdexcept>

namespace qorv::automation {

Styles::Styles() {
    fontIndex(Font{});
    borderIndex(Border{});
    numberFormatIndex(QStringLiteral("General"));
    formatIndex(CellFormat{});
}

namespace {
template <typename Key, typename Map, typename Vector>
std::uint32_t intern(const Key& key, Map& index, Vector& values) {
    const auto found = index.find(key);
    if (found != index.end()) {
        return found->second;
    }
    const auto position = std::uint32_t(values.size());
    values.push_back(key);
    index.emplace(key, position);
    return position;
}
}  // namespace

std::uint32_t Styles::fontIndex(const Font& font) {
    return intern(font, fontIndex_, fonts_);
}

std::uint32_t Styles::borderIndex(const Border& border) {
    return intern(border, borderIndex_, borders_);
}

std::uint32_t Styles::formatIndex(const CellFormat& format) {
    if (formats_.size() >= CellStore::kFormats && !formatIndex_.contains(format)) {
        throw std::length_error("more distinct cell formats than a cell can name");
    }
    return intern(format, formatIndex_, formats_);
}

std::uint32_t TextTable::add(const QString& text) {
    const auto found = index_.constFind(text);
    if (found != index_.constEnd()) {
        return *found;
    }
    const auto position = std::uint32_t(texts_.size());
    texts_.push_back(text);
    index_.insert(text, position);
    return position;
}

const char* borderStyleName(const BorderLine& line) {
    const bool medium = line.weight == -4138 || line.weight == 4;
    switch (line.lineStyle) {
        case 1:  // continuous
            switch (line.weight) {
                case 1:
                    return "hair";
                case -4138:
                    return "medium";
                case 4:
                    return "thick";
                default:
                    return "thin";
            }
        case -4115:  // dash
            return medium ? "mediumDashed" : "dashed";
        case -4118:  // dot
            return "dotted";
        case -4119:  // double
            return "double";
        case 4:  // dash dot
            return medium ? "mediumDashDot" : "dashDot";
        case 5:  // dash dot dot
            return medium ? "mediumDashDotDot" : "dashDotDot";
        case 13:  // slanted dash dot
            return "slantDashDot";
        default:
            return "";
    }
}

}  // namespace qorv::automation
