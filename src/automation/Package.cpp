#include "automation/Package.h"

#include "automation/AutomationError.h"
#include "automation/PartDeflater.h"
#include "automation/Workbook.h"
#include "automation/parts/Parts.h"

#include "files/FileKind.h"
#include "files/FileName.h"
#include "files/Interruption.h"
#include "files/SafeSave.h"

#include <zip.h>
#include <cerrno>
#include <cstring>
#include <functional>

namespace qorv::automation {

namespace {

// One entry of the archive, produced on demand while the archive is written: `fill`
// appends the next slice of the part and returns false when there is no more. A large part is
// compressed ahead by the deflater instead, and the archive copies its compressed bytes.
struct Entry {
    std::string name;
    std::function<bool(std::string&)> fill;
    std::string buffer;
    std::size_t position = 0;
    bool done = false;
    time_t mtime = 0;
    std::int64_t size = -1;  // known length of the part, or -1
    PartDeflater* deflater = nullptr;
    std::size_t deflatedIndex = 0;
    const DeflatedPart* deflated = nullptr;
    std::size_t piece = 0;  // the piece being read
    zip_error_t error{};

    Entry() { zip_error_init(&error); }
    ~Entry() { zip_error_fini(&error); }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
};

// The general-purpose flag bits of a deflated entry (bits 1 and 2: the compression option),
// as the archive writes them when it compresses at `level` itself.
zip_uint16_t deflateOptionBits(int level) {
    if (level < 3) {
        return 2 << 1;  // fast
    }
    return level > 7 ? 1 << 1 : 0;  // maximum, or normal
}

// The compressed part as the archive asks for it, waiting for the deflater where needed.
bool awaitDeflated(Entry& entry) {
    if (!entry.deflated) {
        try {
            entry.deflated = &entry.deflater->part(entry.deflatedIndex);
        } catch (const std::bad_alloc&) {
            zip_error_set(&entry.error, ZIP_ER_MEMORY, 0);
            return false;
        } catch (...) {
            zip_error_set(&entry.error, ZIP_ER_INTERNAL, 0);
            return false;
        }
    }
    return true;
}

// Gives the compressed bytes piece by piece; a piece's memory goes once it is given.
zip_int64_t readDeflated(Entry& entry, void* data, zip_uint64_t length) {
    if (!awaitDeflated(entry)) {
        return -1;
    }
    const auto& pieces = entry.deflated->pieces;
    while (entry.piece < pieces.size() && entry.position == pieces[entry.piece].size()) {
        entry.deflater->release(entry.deflatedIndex, entry.piece);
        ++entry.piece;
        entry.position = 0;
    }
    if (entry.piece == pieces.size()) {
        return 0;
    }
    const std::string& bytes = pieces[entry.piece];
    const std::size_t count = std::min<std::size_t>(length, bytes.size() - entry.position);
    std::memcpy(data, bytes.data() + entry.position, count);
    entry.position += count;
    return zip_int64_t(count);
}

zip_int64_t statDeflated(Entry& entry, zip_stat_t* st) {
    if (!awaitDeflated(entry)) {
        return -1;
    }
    st->size = entry.deflated->size;
    st->comp_size = entry.deflated->compressedSize;
    st->crc = entry.deflated->crc;
    st->comp_method = ZIP_CM_DEFLATE;
    st->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD;
    return sizeof(zip_stat_t);
}

zip_int64_t entryCallback(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    auto* entry = static_cast<Entry*>(userdata);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            return 0;
        case ZIP_SOURCE_READ: {
            if (entry->deflater) {
                return readDeflated(*entry, data, length);
            }
            while (entry->buffer.size() - entry->position < length && !entry->done) {
                if (entry->position > 0) {
                    entry->buffer.erase(0, entry->position);
                    entry->position = 0;
                }
                entry->done = !entry->fill(entry->buffer);
            }
            const std::size_t count =
                std::min<std::size_t>(length, entry->buffer.size() - entry->position);
            std::memcpy(data, entry->buffer.data() + entry->position, count);
            entry->position += count;
            if (entry->position == entry->buffer.size()) {
                entry->buffer.clear();
                entry->position = 0;
            }
            return zip_int64_t(count);
        }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(data);
            zip_stat_init(st);
            st->mtime = entry->mtime;
            st->valid |= ZIP_STAT_MTIME;
            if (entry->deflater) {
                return statDeflated(*entry, st);
            }
            if (entry->size >= 0) {
                st->size = zip_uint64_t(entry->size);
                st->valid |= ZIP_STAT_SIZE;
            }
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
            if (length < sizeof(zip_file_attributes_t)) {
                return -1;
            }
            auto* attributes = static_cast<zip_file_attributes_t*>(data);
            if (entry->deflater) {
                attributes->valid |= ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS;
                attributes->general_purpose_bit_flags = deflateOptionBits(entry->deflater->level());
                attributes->general_purpose_bit_mask = 0x0006;
            }
            return sizeof(zip_file_attributes_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&entry->error, data, length);
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
        default:
            return -1;
    }
}

std::function<bool(std::string&)> once(std::string text) {
    auto shared = std::make_shared<std::string>(std::move(text));
    return [shared](std::string& out) {
        if (shared->empty()) {
            return false;
        }
        out.append(*shared);
        shared->clear();
        shared->shrink_to_fit();
        return true;
    };
}

// The failure of a libzip call as the component reports it: the system's error number where
// libzip has one, else libzip's own reason.
[[noreturn]] void throwZipError(const QString& path, zip_error_t* error) {
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0) {
        throw errors::cannotWrite(path, zip_error_code_system(error));
    }
    if (zip_error_code_zip(error) == ZIP_ER_MEMORY) {
        throw errors::cannotWrite(path, ENOMEM);
    }
    throw errors::cannotWrite(files::DisplayFileName(path),
                              QString::fromLocal8Bit(zip_error_strerror(error)));
}

// Opens a new archive under a fresh temporary name in `folder`.
zip_t* openTemporaryArchive(const QString& folder, const QString& target, QString& temporary) {
    for (int attempt = 0;; ++attempt) {
        temporary = files::TemporaryNameIn(folder);
        int errorCode = 0;
        zip_t* archive = zip_open(files::LibraryFileName(temporary).constData(),
                                  ZIP_CREATE | ZIP_EXCL, &errorCode);
        if (archive) {
            // Removed with what libzip writes for it when the program is interrupted.
            files::RememberTemporaryFile(temporary);
            return archive;
        }
        zip_error_t error;
        zip_error_init_with_code(&error, errorCode);
        if (errorCode == ZIP_ER_EXISTS && attempt < 10) {
            zip_error_fini(&error);
            continue;
        }
        try {
            throwZipError(target, &error);
        } catch (...) {
            zip_error_fini(&error);
            throw;
        }
    }
}

// Writes the entries into a complete archive under a temporary name beside `path`, flushes it
// to disk and only then gives it its name: a new name taken exclusively (`_2`, `_3`, ... when
// it is taken), or the run's own file replaced. Returns the name the file got.
QString writeArchive(std::vector<std::unique_ptr<Entry>>& entries, const QString& path,
                     bool mustBeNew, int level, time_t mtime) {
    QString temporary;
    zip_t* archive = openTemporaryArchive(files::DirectoryOf(path), path, temporary);
    auto fail = [&](zip_error_t* error) {
        zip_error_t copy;
        zip_error_init(&copy);
        zip_error_set(&copy, zip_error_code_zip(error), zip_error_code_system(error));
        zip_discard(archive);
        files::RemoveQuietly(temporary);
        try {
            throwZipError(path, &copy);
        } catch (...) {
            zip_error_fini(&copy);
            throw;
        }
    };
    for (const auto& entry : entries) {
        zip_source_t* source = zip_source_function(archive, entryCallback, entry.get());
        if (!source) {
            fail(zip_get_error(archive));
        }
        const zip_int64_t index =
            zip_file_add(archive, entry->name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail(zip_get_error(archive));
        }
        // A part compressed ahead keeps the default method: the archive copies its bytes.
        if (!entry->deflater) {
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE,
                                     zip_uint32_t(std::clamp(level, 1, 9)));
        }
        zip_file_set_mtime(archive, zip_uint64_t(index), mtime, 0);
    }
    if (zip_close(archive) != 0) {
        fail(zip_get_error(archive));
    }
    try {
        files::SyncToDisk(temporary);
        if (mustBeNew) {
            return files::PublishNewFile(temporary, path);
        }
        files::ReplaceFile(temporary, path);
        return path;
    } catch (const files::FileSystemError& e) {
        files::RemoveQuietly(temporary);
        throw errors::cannotWrite(e.name(), e.error());
    }
}

// The archive's entries in the order a reader meets them, each part added by its own function:
// the package's content types and relationships, the workbook with its styles and texts, then
// each worksheet followed by its drawing and charts.
class PartList {
  public:
    PartList(const Workbook& book, int level)
        : book_(book),
          mtime_(time_t(book.timestamp().toSecsSinceEpoch())),
          strings_(parts::collectSharedStrings(book)),
          deflater_(level) {
        for (int i = 1; i <= book.sheetCount(); ++i) {
            worksheets_.push_back(static_cast<const Worksheet*>(&book.sheetAt(i)));
        }
        addContentTypes();
        addPackageRelationships();
        addCoreProperties();
        addWorkbook();
        addWorkbookRelationships();
        addStyles();
        addSharedStrings();
        for (std::size_t i = 0; i < worksheets_.size(); ++i) {
            addWorksheet(i);
        }
        deflater_.start();
    }

    time_t mtime() const { return mtime_; }
    std::vector<std::unique_ptr<Entry>>& entries() { return entries_; }

  private:
    void add(std::string name, std::function<bool(std::string&)> fill, std::int64_t size) {
        auto entry = std::make_unique<Entry>();
        entry->name = std::move(name);
        entry->fill = std::move(fill);
        entry->size = size;
        entry->mtime = mtime_;
        entries_.push_back(std::move(entry));
    }

    void addText(std::string name, std::string text) {
        const auto size = std::int64_t(text.size());
        add(std::move(name), once(std::move(text)), size);
    }

    void addContentTypes() {
        int drawingCount = 0;
        int chartCount = 0;
        for (const Worksheet* sheet : worksheets_) {
            if (!sheet->shapeList().empty()) {
                ++drawingCount;
                chartCount += int(sheet->shapeList().size());
            }
        }
        addText("[Content_Types].xml",
                parts::contentTypes(int(worksheets_.size()), drawingCount, chartCount));
    }

    void addPackageRelationships() {
        addText("_rels/.rels",
                parts::relationships(
                    {{"rId1", "officeDocument", "xl/workbook.xml"},
                     {"rId2",
                      "http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                      "core-properties",
                      "docProps/core.xml"}}));
    }

    void addCoreProperties() {
        addText("docProps/core.xml", parts::coreProperties(book_.timestamp()));
    }

    void addWorkbook() { addText("xl/workbook.xml", parts::workbook(book_)); }

    void addWorkbookRelationships() {
        std::vector<parts::Relationship> relations;
        for (std::size_t i = 0; i < worksheets_.size(); ++i) {
            relations.push_back({"rId" + std::to_string(i + 1), "worksheet",
                                 "worksheets/sheet" + std::to_string(i + 1) + ".xml"});
        }
        const std::size_t n = worksheets_.size();
        relations.push_back({"rId" + std::to_string(n + 1), "styles", "styles.xml"});
        relations.push_back({"rId" + std::to_string(n + 2), "sharedStrings", "sharedStrings.xml"});
        addText("xl/_rels/workbook.xml.rels", parts::relationships(relations));
    }

    void addStyles() { addText("xl/styles.xml", parts::styles(book_.styles())); }

    void addSharedStrings() {
        addText("xl/sharedStrings.xml", parts::sharedStrings(book_.texts(), strings_));
    }

    // Worksheet i (from 0), written a slice at a time, and its drawing when it has charts.
    void addWorksheet(std::size_t i) {
        const Worksheet& sheet = *worksheets_[i];
        const bool hasDrawing = !sheet.shapeList().empty();
        const std::string number = std::to_string(i + 1);
        writers_.push_back(std::make_unique<parts::WorksheetWriter>(
            sheet, strings_, &book_.activeSheet() == &sheet, hasDrawing));
        parts::WorksheetWriter* writer = writers_.back().get();
        auto fill = [writer](std::string& out) { return writer->fill(out); };
        if (i == 0) {
            // Streamed into the archive as it is written: never held whole.
            add("xl/worksheets/sheet" + number + ".xml", fill, writer->sizeBound());
        } else {
            // The worksheets after the first, the parts that grow with the data, are compressed
            // a run of rows at a time on the other cores while the archive compresses the
            // first, and on every core once the archive waits for them (on one core, by the
            // archive's own thread then).
            add("xl/worksheets/sheet" + number + ".xml", nullptr, -1);
            entries_.back()->deflater = &deflater_;
            entries_.back()->deflatedIndex = deflater_.add(writer->segments());
        }
        if (hasDrawing) {
            addDrawing(sheet, number);
        }
    }

    // The sheet's relationship to its drawing, the drawing with its relationships to the
    // charts, and the charts, numbered on across the workbook.
    void addDrawing(const Worksheet& sheet, const std::string& sheetNumber) {
        ++drawings_;
        const std::string drawingName = "drawing" + std::to_string(drawings_) + ".xml";
        addText("xl/worksheets/_rels/sheet" + sheetNumber + ".xml.rels",
                parts::relationships({{"rId1", "drawing", "../drawings/" + drawingName}}));
        addText("xl/drawings/" + drawingName, parts::drawing(sheet));
        const int firstChart = charts_ + 1;
        std::vector<parts::Relationship> relations;
        for (std::size_t k = 0; k < sheet.shapeList().size(); ++k) {
            relations.push_back({"rId" + std::to_string(k + 1), "chart",
                                 "../charts/chart" + std::to_string(firstChart + int(k)) + ".xml"});
        }
        addText("xl/drawings/_rels/" + drawingName + ".rels", parts::relationships(relations));
        for (const auto& shape : sheet.shapeList()) {
            addChart(shape->chart());
        }
    }

    void addChart(const Chart& chart) {
        ++charts_;
        addText("xl/charts/chart" + std::to_string(charts_) + ".xml", parts::chart(chart));
    }

    const Workbook& book_;
    const time_t mtime_;
    std::vector<const Worksheet*> worksheets_;
    const parts::SharedStrings strings_;
    // The worksheets' writers, alive while the archive is written.
    std::vector<std::unique_ptr<parts::WorksheetWriter>> writers_;
    // Declared after the writers: its threads stop before the writers go.
    PartDeflater deflater_;
    int drawings_ = 0;
    int charts_ = 0;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace

QString targetFileName(const QString& fileName, QStringView extension) {
    QString wanted = fileName;
    if (!wanted.endsWith(extension, Qt::CaseInsensitive)) {
        wanted += extension;
    }
    const QString folder = files::DirectoryOf(wanted);
    if (files::KindOf(folder) != files::FileKind::Directory) {
        throw errors::directoryMissing(folder);
    }
    return wanted;
}

QString writePackage(const Workbook& book, const QString& path, bool mustBeNew, int level) {
    PartList parts(book, level);
    return writeArchive(parts.entries(), path, mustBeNew, level, parts.mtime());
}

}  // namespace qorv::automation
