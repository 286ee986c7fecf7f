#pragma once
// A plain ZIP writer for the floors of the save benchmarks: each entry's text is deflated with
// zlib at level 1 as it grows, a slice at a time, into a file whose local headers, central
// directory and end record are written here. No ZIP64: every entry stays below 4 GB.

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace qorv::bench {

class FloorZip {
  public:
    // Text held before it is deflated.
    static constexpr std::size_t kSlice = 1 << 20;

    explicit FloorZip(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (!file_ || deflateInit2(&stream_, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::runtime_error("cannot write " + path);
        }
        text_.reserve(kSlice + 65536);
        deflated_.resize(kSlice / 4);
    }
    ~FloorZip() {
        deflateEnd(&stream_);
        if (file_) {
            std::fclose(file_);
        }
    }
    FloorZip(const FloorZip&) = delete;
    FloorZip& operator=(const FloorZip&) = delete;

    // Starts the next entry; its text is appended to text(), with sliceDone() after each piece.
    void begin(const std::string& name) {
        entries_.push_back(Entry{name, 0, 0, 0, offset_});
        deflateReset(&stream_);
        std::string header;
        putHeader(header, 0x04034b50, entries_.back());
        write(header.data(), header.size());
    }
    std::string& text() { return text_; }
    void sliceDone() {
        if (text_.size() >= kSlice) {
            deflateText(Z_NO_FLUSH);
        }
    }
    // Ends the entry: the rest deflated, its sizes and CRC put into its local header.
    void end() {
        deflateText(Z_FINISH);
        const Entry& entry = entries_.back();
        std::string sizes;
        put(sizes, entry.crc, 4);
        put(sizes, entry.compressed, 4);
        put(sizes, entry.size, 4);
        std::fseek(file_, long(entry.offset + 14), SEEK_SET);
        std::fwrite(sizes.data(), 1, sizes.size(), file_);
        std::fseek(file_, 0, SEEK_END);
    }
    // Writes the central directory and the end record and closes the file.
    void close() {
        std::string directory;
        for (const Entry& entry : entries_) {
            putHeader(directory, 0x02014b50, entry);
        }
        std::string record;
        put(record, 0x06054b50, 4);
        put(record, 0, 4);
        put(record, std::uint32_t(entries_.size()), 2);
        put(record, std::uint32_t(entries_.size()), 2);
        put(record, std::uint32_t(directory.size()), 4);
        put(record, offset_, 4);
        put(record, 0, 2);
        write(directory.data(), directory.size());
        write(record.data(), record.size());
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!closed) {
            throw std::runtime_error("cannot close the floor's file");
        }
    }

  private:
    struct Entry {
        std::string name;
        std::uint32_t crc, compressed, size, offset;
    };

    static void put(std::string& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.push_back(char((value >> (8 * i)) & 0xFF));
        }
    }

    // A local header (its sizes still 0 while the entry is written) or a central one.
    static void putHeader(std::string& out, std::uint32_t signature, const Entry& entry) {
        const bool central = signature == 0x02014b50;
        put(out, signature, 4);
        if (central) {
            put(out, 20, 2);  // made by: ZIP 2.0
        }
        put(out, 20, 2);      // needed: ZIP 2.0
        put(out, 0, 2);       // flags
        put(out, 8, 2);       // deflate
        put(out, 0, 2);       // 00:00:00
        put(out, 0x5D8A, 2);  // 10 Dec 2026
        put(out, entry.crc, 4);
        put(out, entry.compressed, 4);
        put(out, entry.size, 4);
        put(out, std::uint32_t(entry.name.size()), 2);
        put(out, 0, 2);  // no extra field
        if (central) {
            put(out, 0, 4);  // no comment, disk 0
            put(out, 0, 6);  // attributes
            put(out, entry.offset, 4);
        }
        out.append(entry.name);
    }

    void write(const void* data, std::size_t size) {
        if (std::fwrite(data, 1, size, file_) != size) {
            throw std::runtime_error("cannot write the floor's file");
        }
        offset_ += std::uint32_t(size);
    }

    // Deflates the text held so far and writes what comes out.
    void deflateText(int flush) {
        Entry& entry = entries_.back();
        const auto* in = reinterpret_cast<const Bytef*>(text_.data());
        entry.crc = std::uint32_t(crc32(entry.crc, in, uInt(text_.size())));
        entry.size += std::uint32_t(text_.size());
        stream_.next_in = const_cast<Bytef*>(in);
        stream_.avail_in = uInt(text_.size());
        int status = Z_OK;
        do {
            stream_.next_out = deflated_.data();
            stream_.avail_out = uInt(deflated_.size());
            status = deflate(&stream_, flush);
            const std::size_t produced = deflated_.size() - stream_.avail_out;
            write(deflated_.data(), produced);
            entry.compressed += std::uint32_t(produced);
        } while (stream_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
        text_.clear();
    }

    std::FILE* file_;
    z_stream stream_{};
    std::string text_;
    std::vector<Bytef> deflated_;
    std::vector<Entry> entries_;
    std::uint32_t offset_ = 0;
};

}  // namespace qorv::bench
