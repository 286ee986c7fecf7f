#pragma once

#include "automation/print/PdfContent.h"

#include <QByteArray>
#include <QRawFont>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QIODevice;
class QImage;

namespace qorv::automation {

// A PDF file written as its pages come: each page's compressed content goes to the file at
// once, so a report of thousands of pages never sits in memory; the fonts (subsets of the
// TrueType fonts the pages use, with their widths and the characters their glyphs stand for),
// the pictures and the page tree follow the last page.
//
// Pages draw in points with the origin at the paper's top-left corner and y growing down, as
// a QPainter measures them: each page's content starts by turning PDF's own space that way
// (PageStart). Texts are glyph strings of a font registered here: font() gives the name the
// content's "Tf" uses, useGlyph() records what the subset and the text extraction need.
//
//     PdfDocument pdf(file, "Протокол", "Qorv_Pr");
//     const int f = pdf.font(raw);            // "/F0" in the content
//     std::string ops = PdfDocument::PageStart(size);
//     ...; pdf.useGlyph(f, glyph, u"7");
//     pdf.addPage(size, deflater.deflate(ops));
//     pdf.finish();
class PdfDocument {
  public:
    PdfDocument(QIODevice& out, const QString& title, const QString& creator);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // The number of the font a raw font draws in ("/F<number>" in the content), one for each
    // typeface and size: the glyphs advance as Qt lays them out at that size (to a 64th of a
    // point), and the sizes of a typeface share one embedded subset. -1 when the font cannot
    // be embedded (its outlines are not TrueType ones): its glyphs are then drawn as outlines.
    int font(const QRawFont& raw);
    // The advance of a glyph of a registered font, in thousandths of its size.
    double advance(int font, std::uint32_t glyph) const;
    // Whether the font is a bold one that Qt makes from a regular file (by thickening its
    // outlines), as fallback fonts for a bold text are.
    bool emboldened(int font) const;
    // The glyph is drawn somewhere: it goes into the subset, and text taken from the file
    // reads it as `text` (the first text given for a glyph stays).
    void useGlyph(int font, std::uint32_t glyph, QStringView text);

    // A picture for the pages ("/Im<number>" in the content), drawn in a unit square.
    int image(const QImage& picture);

    // The operators every page's content begins with: y turned downwards from the top.
    static std::string PageStart(const QSizeF& size);
    // Adds a page of `size` points whose content `deflated` is compressed (pdf::Deflater).
    void addPage(const QSizeF& size, const std::string& deflated);

    // Whether a write has failed: nothing more reaches the file, and finish() says so.
    bool failed() const { return failed_; }

    // Writes the fonts, the pictures, the page tree and the file's trailer. Returns false when
    // anything could not be written (the device's error says what).
    bool finish();

  private:
    struct FontFile;
    struct Font;

    // The typeface's tables, when it can be embedded: its number among the files, else -1.
    int embed(const QRawFont& raw);
    int reserveObject();
    void beginObject(int number);
    void write(std::string_view bytes);
    void writeStream(int number, const std::string& dictionary, const std::string& deflated,
                     const std::string& extraEntries = std::string());
    void writeFontFile(FontFile& file, int index);
    void writeFont(const Font& font);

    QIODevice& out_;
    pdf::Deflater deflater_;
    QString title_;
    QString creator_;
    bool failed_ = false;
    std::int64_t written_ = 0;
    std::vector<std::int64_t> offsets_;  // by object number; 0: not written yet
    int catalog_ = 0;
    int pageTree_ = 0;
    int resources_ = 0;
    std::vector<int> pages_;
    std::vector<std::unique_ptr<FontFile>> files_;
    std::map<QString, int> fileByName_;  // -1: cannot be embedded
    std::vector<std::unique_ptr<Font>> fonts_;
    std::map<QString, int> fontByName_;
    std::vector<int> images_;  // object numbers
};

}  // namespace qorv::automation
