#include "automation/print/PdfDocument.h"

#include "automation/print/PdfContent.h"

#include "automation/FastDeflate.h"

#include <QDateTime>
#include <QFont>
#include <QIODevice>
#include <QImage>

#include <algorithm>
#include <new>

namespace qorv::automation {

namespace pdf {

Deflater::Deflater() : stream_(std::make_unique<FastDeflate>(1)) {}

Deflater::~Deflater() = default;

std::string Deflater::deflate(std::string_view content) {
    std::string stored;
    stream_->compress(content, FastDeflate::Ending::Zlib, stored);
    return stored;
}

}  // namespace pdf

namespace {

// Big-endian fields of a font table; outside the table they read as zero.
unsigned U16(const QByteArray& table, qsizetype at) {
    if (at < 0 || at + 2 > table.size()) {
        return 0;
    }
    return (unsigned(std::uint8_t(table[at])) << 8) | std::uint8_t(table[at + 1]);
}

int I16(const QByteArray& table, qsizetype at) {
    return std::int16_t(std::uint16_t(U16(table, at)));
}

std::uint32_t U32(const QByteArray& table, qsizetype at) {
    return (std::uint32_t(U16(table, at)) << 16) | U16(table, at + 2);
}

void PutU16(QByteArray& out, unsigned value) {
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void PutU32(QByteArray& out, std::uint32_t value) {
    PutU16(out, value >> 16);
    PutU16(out, value & 0xFFFF);
}

void SetU16(QByteArray& out, qsizetype at, unsigned value) {
    out[at] = char((value >> 8) & 0xFF);
    out[at + 1] = char(value & 0xFF);
}

void SetU32(QByteArray& out, qsizetype at, std::uint32_t value) {
    SetU16(out, at, value >> 16);
    SetU16(out, at + 2, value & 0xFFFF);
}

std::uint32_t TableChecksum(const QByteArray& data, qsizetype from, qsizetype length) {
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (int b = 0; b < 4; ++b) {
            word =
                (word << 8) | (from + i + b < data.size() ? std::uint8_t(data[from + i + b]) : 0);
        }
        sum += word;
    }
    return sum;
}

// A PDF name's characters: letters, digits and hyphens of the typeface's name.
QByteArray NamePart(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            c == u'-') {
            out.append(char(c.unicode()));
        }
    }
    return out.isEmpty() ? QByteArray("Font") : out;
}

// The font's PostScript name from its naming table (name 6, in Windows' UTF-16 or the Mac's
// ASCII), empty when it has none.
QString PostScriptName(const QByteArray& names) {
    const unsigned count = U16(names, 2);
    const qsizetype strings = U16(names, 4);
    QString mac;
    for (unsigned i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        const unsigned platform = U16(names, record);
        const qsizetype length = U16(names, record + 8);
        const qsizetype at = strings + U16(names, record + 10);
        if (U16(names, record + 6) != 6 || at + length > names.size()) {
            continue;
        }
        if (platform == 3 || platform == 0) {
            QString name;
            for (qsizetype c = 0; c + 1 < length; c += 2) {
                name += QChar(char16_t(U16(names, at + c)));
            }
            return name;
        }
        if (platform == 1) {
            mac = QString::fromLatin1(names.mid(at, length));
        }
    }
    return mac;
}

// A text string of the document's information: UTF-16 with its byte order mark, in hex.
std::string TextString(const QString& text) {
    std::string out = "<FEFF";
    for (QChar c : text) {
        pdf::AppendGlyph(out, c.unicode());
    }
    return out + '>';
}

std::string Reference(int object) {
    return std::to_string(object) + " 0 R";
}

std::string Number(double value) {
    std::string out;
    pdf::AppendNumber(out, value);
    out.pop_back();
    return out;
}

}  // namespace

// A TrueType font the pages use: the tables its subset is made of, and its glyphs in use.
struct PdfDocument::FontFile {
    QByteArray postScriptName;
    QByteArray head, hhea, maxp, hmtx, loca, glyf, cvt, fpgm, prep, os2, cmap;
    int unitsPerEm = 1000;
    int glyphCount = 0;
    int horizontalMetrics = 0;
    bool longOffsets = false;
    QByteArray baseName;  // with its subset's tag
    int descriptor = 0;   // the descriptor's number, the embedded subset's and the text map's
    int file = 0;
    int toUnicode = 0;
    std::vector<bool> used;
    std::map<std::uint32_t, QString> texts;

    std::uint32_t glyphOffset(std::uint32_t glyph) const {
        return longOffsets ? U32(loca, qsizetype(glyph) * 4) : U16(loca, qsizetype(glyph) * 2) * 2;
    }

    // The glyph's outline in the font's glyph table; empty for a blank glyph or a bad entry.
    QByteArray outline(std::uint32_t glyph) const {
        const std::uint32_t from = glyphOffset(glyph);
        const std::uint32_t to = glyphOffset(glyph + 1);
        if (to <= from || to > std::uint32_t(glyf.size())) {
            return QByteArray();
        }
        return glyf.mid(qsizetype(from), qsizetype(to - from));
    }

    // The glyphs in use and the parts of the composite ones among them.
    std::vector<bool> closure() const {
        std::vector<bool> keep = used;
        keep[0] = true;  // .notdef
        std::vector<std::uint32_t> pending;
        for (std::size_t g = 0; g < keep.size(); ++g) {
            if (keep[g]) {
                pending.push_back(std::uint32_t(g));
            }
        }
        while (!pending.empty()) {
            const QByteArray data = outline(pending.back());
            pending.pop_back();
            if (data.size() < 10 || I16(data, 0) >= 0) {
                continue;
            }
            qsizetype at = 10;
            for (;;) {
                const unsigned flags = U16(data, at);
                const unsigned part = U16(data, at + 2);
                if (at + 4 > data.size()) {
                    break;
                }
                if (part < keep.size() && !keep[part]) {
                    keep[part] = true;
                    pending.push_back(part);
                }
                at += 4 + ((flags & 0x1) ? 4 : 2);
                if (flags & 0x8) {
                    at += 2;
                } else if (flags & 0x40) {
                    at += 4;
                } else if (flags & 0x80) {
                    at += 8;
                }
                if (!(flags & 0x20)) {
                    break;
                }
            }
        }
        return keep;
    }

    // The font file of the subset: every glyph number kept, the outlines of unused glyphs
    // left out.
    QByteArray subset() const {
        const std::vector<bool> keep = closure();
        QByteArray outlines;
        QByteArray offsets;
        for (int g = 0; g < glyphCount; ++g) {
            PutU32(offsets, std::uint32_t(outlines.size()));
            if (keep[std::size_t(g)]) {
                outlines += outline(std::uint32_t(g));
                while (outlines.size() % 4 != 0) {
                    outlines.append('\0');
                }
            }
        }
        PutU32(offsets, std::uint32_t(outlines.size()));
        QByteArray header = head;
        SetU32(header, 8, 0);   // checkSumAdjustment, set below
        SetU16(header, 50, 1);  // long offsets
        std::vector<std::pair<QByteArray, QByteArray>> tables = {
            {"OS/2", os2},      {"cmap", cmap},   {"cvt ", cvt},  {"fpgm", fpgm},
            {"glyf", outlines}, {"head", header}, {"hhea", hhea}, {"hmtx", hmtx},
            {"loca", offsets},  {"maxp", maxp},   {"prep", prep}};
        tables.erase(std::remove_if(tables.begin(), tables.end(),
                                    [](const auto& t) { return t.second.isEmpty(); }),
                     tables.end());
        const unsigned count = unsigned(tables.size());
        unsigned power = 1;
        unsigned selector = 0;
        while (power * 2 <= count) {
            power *= 2;
            ++selector;
        }
        QByteArray file;
        PutU32(file, 0x00010000);
        PutU16(file, count);
        PutU16(file, power * 16);
        PutU16(file, selector);
        PutU16(file, count * 16 - power * 16);
        qsizetype offset = 12 + 16 * qsizetype(count);
        qsizetype headAt = 0;
        for (const auto& [tag, data] : tables) {
            file += tag;
            PutU32(file, TableChecksum(data, 0, data.size()));
            PutU32(file, std::uint32_t(offset));
            PutU32(file, std::uint32_t(data.size()));
            if (tag == "head") {
                headAt = offset;
            }
            offset += (data.size() + 3) / 4 * 4;
        }
        for (const auto& [tag, data] : tables) {
            file += data;
            while (file.size() % 4 != 0) {
                file.append('\0');
            }
        }
        if (headAt > 0) {
            SetU32(file, headAt + 8, 0xB1B0AFBAu - TableChecksum(file, 0, file.size()));
        }
        return file;
    }
};

// A typeface at one size: its glyphs' advances as Qt lays them out at that size.
struct PdfDocument::Font {
    FontFile* file = nullptr;
    QRawFont raw;
    int object = 0;  // the Type0 font's number, once it is written
    std::vector<bool> used;

    double advance(std::uint32_t glyph) const {
        QPointF step;
        raw.advancesForGlyphIndexes(&glyph, &step, 1, QRawFont::UseDesignMetrics);
        return step.x() * 1000 / raw.pixelSize();
    }
};

PdfDocument::PdfDocument(QIODevice& out, const QString& title, const QString& creator)
    : out_(out), title_(title), creator_(creator), offsets_(1, 0) {
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    catalog_ = reserveObject();
    pageTree_ = reserveObject();
    resources_ = reserveObject();
}

PdfDocument::~PdfDocument() = default;

int PdfDocument::reserveObject() {
    offsets_.push_back(0);
    return int(offsets_.size() - 1);
}

void PdfDocument::beginObject(int number) {
    offsets_[std::size_t(number)] = written_;
    write(std::to_string(number) + " 0 obj\n");
}

void PdfDocument::write(std::string_view bytes) {
    if (failed_ || bytes.empty()) {
        return;
    }
    if (out_.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        failed_ = true;
        return;
    }
    written_ += std::int64_t(bytes.size());
}

void PdfDocument::writeStream(int number, const std::string& dictionary,
                              const std::string& deflated, const std::string& extraEntries) {
    beginObject(number);
    write("<<" + dictionary + extraEntries + " /Filter /FlateDecode /Length " +
          std::to_string(deflated.size()) + " >>\nstream\n");
    write(deflated);
    write("\nendstream\nendobj\n");
}

int PdfDocument::font(const QRawFont& raw) {
    // A typeface is known by its font file's header (its checksum and dates) and by the
    // weight and slant asked of it (Qt thickens or slants a file that lacks them); not by its
    // family name, which Qt's engines do not always have.
    const QString typeface = QString::fromLatin1(raw.fontTable("head").toHex()) + u'\n' +
                             QString::number(raw.weight()) + u'\n' + QString::number(raw.style());
    const QString key = typeface + u'\n' + QString::number(raw.pixelSize(), 'g', 17);
    if (const auto known = fontByName_.find(key); known != fontByName_.end()) {
        return known->second;
    }
    auto knownFile = fileByName_.find(typeface);
    if (knownFile == fileByName_.end()) {
        knownFile = fileByName_.emplace(typeface, embed(raw)).first;
    }
    if (knownFile->second < 0 || !(raw.pixelSize() > 0)) {
        fontByName_.emplace(key, -1);
        return -1;
    }
    auto f = std::make_unique<Font>();
    f->file = files_[std::size_t(knownFile->second)].get();
    f->raw = raw;
    f->used.assign(f->file->used.size(), false);
    fonts_.push_back(std::move(f));
    const int number = int(fonts_.size() - 1);
    fontByName_.emplace(key, number);
    return number;
}

int PdfDocument::embed(const QRawFont& raw) {
    auto f = std::make_unique<FontFile>();
    f->head = raw.fontTable("head");
    f->hhea = raw.fontTable("hhea");
    f->maxp = raw.fontTable("maxp");
    f->hmtx = raw.fontTable("hmtx");
    f->loca = raw.fontTable("loca");
    f->glyf = raw.fontTable("glyf");
    f->unitsPerEm = int(U16(f->head, 18));
    f->glyphCount = int(U16(f->maxp, 4));
    f->horizontalMetrics = int(U16(f->hhea, 34));
    f->longOffsets = I16(f->head, 50) == 1;
    const qsizetype offsetsNeeded = qsizetype(f->glyphCount + 1) * (f->longOffsets ? 4 : 2);
    if (f->head.size() < 54 || f->hhea.size() < 36 || f->glyf.isEmpty() ||
        f->loca.size() < offsetsNeeded || f->unitsPerEm <= 0 || f->glyphCount <= 0 ||
        f->horizontalMetrics <= 0 || f->hmtx.size() < qsizetype(f->horizontalMetrics) * 4) {
        return -1;
    }
    f->cvt = raw.fontTable("cvt ");
    f->fpgm = raw.fontTable("fpgm");
    f->prep = raw.fontTable("prep");
    f->os2 = raw.fontTable("OS/2");
    f->cmap = raw.fontTable("cmap");
    f->postScriptName = NamePart(PostScriptName(raw.fontTable("name")));
    f->used.assign(std::size_t(f->glyphCount), false);
    files_.push_back(std::move(f));
    return int(files_.size() - 1);
}

bool PdfDocument::emboldened(int font) const {
    const Font& f = *fonts_[std::size_t(font)];
    return f.raw.weight() >= QFont::DemiBold && U16(f.file->os2, 4) < QFont::DemiBold &&
           f.file->os2.size() >= 6;
}

double PdfDocument::advance(int font, std::uint32_t glyph) const {
    return fonts_[std::size_t(font)]->advance(glyph);
}

void PdfDocument::useGlyph(int font, std::uint32_t glyph, QStringView text) {
    Font& f = *fonts_[std::size_t(font)];
    if (glyph >= f.used.size()) {
        return;
    }
    f.used[glyph] = true;
    f.file->used[glyph] = true;
    if (!text.isEmpty()) {
        f.file->texts.try_emplace(glyph, text.toString());
    }
}

int PdfDocument::image(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::string pixels;
    pixels.reserve(std::size_t(rgb.width()) * std::size_t(rgb.height()) * 3);
    for (int y = 0; y < rgb.height(); ++y) {
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                      std::size_t(rgb.width()) * 3);
    }
    const int number = reserveObject();
    writeStream(number,
                " /Type /XObject /Subtype /Image /Width " + std::to_string(rgb.width()) +
                    " /Height " + std::to_string(rgb.height()) +
                    " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                deflater_.deflate(pixels));
    images_.push_back(number);
    return int(images_.size() - 1);
}

std::string PdfDocument::PageStart(const QSizeF& size) {
    std::string out = "1 0 0 -1 0 ";
    pdf::AppendNumber(out, size.height());
    out += "cm\n";
    return out;
}

void PdfDocument::addPage(const QSizeF& size, const std::string& deflated) {
    const int content = reserveObject();
    writeStream(content, "", deflated);
    const int page = reserveObject();
    beginObject(page);
    write("<< /Type /Page /Parent " + Reference(pageTree_) + " /MediaBox [0 0 " +
          Number(size.width()) + ' ' + Number(size.height()) + "] /Resources " +
          Reference(resources_) + " /Contents " + Reference(content) + " >>\nendobj\n");
    pages_.push_back(page);
}

void PdfDocument::writeFontFile(FontFile& f, int index) {
    std::string tag(6, 'A');
    for (int i = 5, n = index; i >= 0 && n > 0; --i, n /= 26) {
        tag[std::size_t(i)] = char('A' + n % 26);
    }
    f.baseName = QByteArray::fromStdString(tag) + '+' + f.postScriptName;
    f.descriptor = reserveObject();
    f.file = reserveObject();
    f.toUnicode = reserveObject();

    const double unit = 1000.0 / f.unitsPerEm;
    const int ascent = I16(f.hhea, 4);
    const int descent = I16(f.hhea, 6);
    const int capHeight = U16(f.os2, 0) >= 2 && f.os2.size() >= 90 ? I16(f.os2, 88) : ascent;
    const bool italic = (U16(f.head, 44) & 0x2) != 0;
    beginObject(f.descriptor);
    write("<< /Type /FontDescriptor /FontName /" + f.baseName.toStdString() + " /Flags " +
          std::string(italic ? "68" : "4") + " /FontBBox [" + Number(I16(f.head, 36) * unit) + ' ' +
          Number(I16(f.head, 38) * unit) + ' ' + Number(I16(f.head, 40) * unit) + ' ' +
          Number(I16(f.head, 42) * unit) + "] /ItalicAngle " + (italic ? "-12" : "0") +
          " /Ascent " + Number(ascent * unit) + " /Descent " + Number(descent * unit) +
          " /CapHeight " + Number(capHeight * unit) + " /StemV 80 /FontFile2 " + Reference(f.file) +
          " >>\nendobj\n");

    const QByteArray subset = f.subset();
    writeStream(f.file, "", deflater_.deflate(std::string_view(subset.constData(), subset.size())),
                " /Length1 " + std::to_string(subset.size()));

    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::pair<std::uint32_t, QString>> entries(f.texts.begin(), f.texts.end());
    for (std::size_t from = 0; from < entries.size(); from += 100) {
        const std::size_t to = std::min(entries.size(), from + 100);
        cmap += std::to_string(to - from) + " beginbfchar\n";
        for (std::size_t i = from; i < to; ++i) {
            cmap += '<';
            pdf::AppendGlyph(cmap, entries[i].first);
            cmap += "> <";
            for (QChar c : entries[i].second) {
                pdf::AppendGlyph(cmap, c.unicode());
            }
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    writeStream(f.toUnicode, "", deflater_.deflate(cmap));
}

void PdfDocument::writeFont(const Font& f) {
    const std::string baseName = f.file->baseName.toStdString();
    const int descendant = reserveObject();
    beginObject(f.object);
    write("<< /Type /Font /Subtype /Type0 /BaseFont /" + baseName +
          " /Encoding /Identity-H /DescendantFonts [" + Reference(descendant) + "] /ToUnicode " +
          Reference(f.file->toUnicode) + " >>\nendobj\n");
    std::vector<quint32> glyphs;
    for (std::size_t g = 0; g < f.used.size(); ++g) {
        if (f.used[g]) {
            glyphs.push_back(quint32(g));
        }
    }
    std::vector<QPointF> steps(glyphs.size());
    f.raw.advancesForGlyphIndexes(glyphs.data(), steps.data(), int(glyphs.size()),
                                  QRawFont::UseDesignMetrics);
    std::string widths;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (i == 0 || glyphs[i] != glyphs[i - 1] + 1) {
            widths += (i == 0 ? "" : "] ") + std::to_string(glyphs[i]) + " [";
        }
        pdf::AppendNumber(widths, steps[i].x() * 1000 / f.raw.pixelSize());
    }
    if (!glyphs.empty()) {
        widths += ']';
    }
    beginObject(descendant);
    write("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + baseName +
          " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
          " /FontDescriptor " +
          Reference(f.file->descriptor) + " /DW 0 /W [" + widths +
          "] /CIDToGIDMap /Identity >>\nendobj\n");
}

bool PdfDocument::finish() {
    // Only what the pages drew goes into the file.
    int tag = 0;
    for (const auto& file : files_) {
        if (std::find(file->used.begin(), file->used.end(), true) != file->used.end()) {
            writeFontFile(*file, tag++);
        }
    }
    std::string fonts;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        Font& f = *fonts_[i];
        if (std::find(f.used.begin(), f.used.end(), true) != f.used.end()) {
            f.object = reserveObject();
            writeFont(f);
            fonts += " /F" + std::to_string(i) + ' ' + Reference(f.object);
        }
    }
    std::string pictures;
    for (std::size_t i = 0; i < images_.size(); ++i) {
        pictures += " /Im" + std::to_string(i) + ' ' + Reference(images_[i]);
    }
    beginObject(resources_);
    write("<< /ProcSet [/PDF /Text /ImageC] /Font <<" + fonts + " >> /XObject <<" + pictures +
          " >> >>\nendobj\n");

    std::string kids;
    for (const int page : pages_) {
        kids += Reference(page) + ' ';
    }
    beginObject(pageTree_);
    write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) +
          " >>\nendobj\n");
    beginObject(catalog_);
    write("<< /Type /Catalog /Pages " + Reference(pageTree_) + " >>\nendobj\n");

    const int info = reserveObject();
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60;
    const QString zone = offset == 0 ? QStringLiteral("Z")
                                     : QStringLiteral("%1%2'%3'")
                                           .arg(offset < 0 ? u'-' : u'+')
                                           .arg(std::abs(offset) / 60, 2, 10, QChar(u'0'))
                                           .arg(std::abs(offset) % 60, 2, 10, QChar(u'0'));
    beginObject(info);
    write("<< /Title " + TextString(title_) + " /Creator " + TextString(creator_) + " /Producer " +
          TextString(creator_) +
          " /CreationDate (D:" + now.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() +
          zone.toStdString() + ") >>\nendobj\n");

    const std::int64_t xref = written_;
    std::string table = "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n";
    char line[32];
    for (std::size_t i = 1; i < offsets_.size(); ++i) {
        std::snprintf(line, sizeof line, "%010lld 00000 n \n", static_cast<long long>(offsets_[i]));
        table += line;
    }
    write(table);
    write("trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " + Reference(catalog_) +
          " /Info " + Reference(info) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
    return !failed_;
}

}  // namespace qorv::automation
