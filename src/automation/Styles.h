#pragma once

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace qorv::automation {

struct Font {
    QString name = QStringLiteral("Arial");
    double size = 10;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
    friend bool operator<(const Font& a, const Font& b) {
        return std::tie(a.name, a.size, a.bold) < std::tie(b.name, b.size, b.bold);
    }
};

// One edge of a cell as the object model sets it: a line style and a weight, each an
// enumeration value (LineStyle 1 continuous, -4142 none; Weight 1 hairline, 2 thin,
// -4138 medium, 4 thick).
struct BorderLine {
    int lineStyle = -4142;
    int weight = 2;
    friend bool operator==(const BorderLine&, const BorderLine&) = default;
    friend auto operator<=>(const BorderLine&, const BorderLine&) = default;
};

enum Edge { EdgeLeft = 0, EdgeRight = 1, EdgeTop = 2, EdgeBottom = 3 };

struct Border {
    std::array<BorderLine, 4> edges;
    friend bool operator==(const Border&, const Border&) = default;
    friend auto operator<=>(const Border&, const Border&) = default;
};

enum class HAlign : std::uint8_t {
    General,
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcross,
    Distributed
};
enum class VAlign : std::uint8_t { Bottom, Top, Center, Justify, Distributed };

// One cell format: the record every cell points to by index.
struct CellFormat {
    std::uint32_t font = 0;
    std::uint32_t border = 0;
    std::uint32_t numberFormat = 0;  // index into the number format table; 0 is "General"
    HAlign horizontal = HAlign::General;
    VAlign vertical = VAlign::Bottom;
    friend bool operator==(const CellFormat&, const CellFormat&) = default;
    friend auto operator<=>(const CellFormat&, const CellFormat&) = default;
};

// Texts, each stored once and known by its index: the workbook's cell texts (text cells hold
// an index into its table) and the number format codes of its styles.
class TextTable {
  public:
    std::uint32_t add(const QString& text);
    const QString& at(std::uint32_t index) const { return texts_[index]; }
    std::uint32_t size() const { return std::uint32_t(texts_.size()); }

  private:
    std::vector<QString> texts_;
    QHash<QString, std::uint32_t> index_;
};

// The workbook's formatting tables, each deduplicated: fonts, borders, number formats and
// the cell formats combining them. Index 0 of each is the default (Arial 10, no border,
// General, no alignment).
class Styles {
  public:
    Styles();

    std::uint32_t fontIndex(const Font& font);
    std::uint32_t borderIndex(const Border& border);
    std::uint32_t numberFormatIndex(const QString& code) { return numberFormats_.add(code); }
    std::uint32_t formatIndex(const CellFormat& format);

    const Font& font(std::uint32_t index) const { return fonts_[index]; }
    const Border& border(std::uint32_t index) const { return borders_[index]; }
    const QString& numberFormat(std::uint32_t index) const { return numberFormats_.at(index); }
    const CellFormat& format(std::uint32_t index) const { return formats_[index]; }

    std::uint32_t fontCount() const { return std::uint32_t(fonts_.size()); }
    std::uint32_t borderCount() const { return std::uint32_t(borders_.size()); }
    std::uint32_t numberFormatCount() const { return numberFormats_.size(); }
    std::uint32_t formatCount() const { return std::uint32_t(formats_.size()); }

    // The id a number format has in the saved file: 0 for General, 164 on for the others.
    static std::uint32_t numberFormatId(std::uint32_t index) {
        return index == 0 ? 0 : 163 + index;
    }

  private:
    std::vector<Font> fonts_;
    std::map<Font, std::uint32_t> fontIndex_;
    std::vector<Border> borders_;
    std::map<Border, std::uint32_t> borderIndex_;
    TextTable numberFormats_;
    std::vector<CellFormat> formats_;
    std::map<CellFormat, std::uint32_t> formatIndex_;
};

// File notation of a border edge ("thin", "medium", ...), empty for none.
const char* borderStyleName(const BorderLine& line);

}  // namespace qorv::automation
