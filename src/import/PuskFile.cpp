#include "import/PuskFile.h"

#include "files/SafeSave.h"
#include "import/LineSplitter.h"
#include "import/LogLineReader.h"
#include "import/TextDecoding.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qorv {

FileReadError::FileReadError(const QString& path, const QString& reason, int systemError,
                             files::FileKind kind)
    : std::runtime_error((path + ": " + reason).toStdString()),
      path_(path),
      reason_(reason),
      systemError_(systemError),
      kind_(kind) {}

namespace {

// Files are read in pieces of this size rather than whole: the loaded lines of a large file
// take about three and a half times its size already, and holding all its bytes as well would
// add another.
constexpr qsizetype kPieceSize = qsizetype(1) << 20;
// Bytes decoded at a time, in whole lines.
constexpr qsizetype kDecodeSize = qsizetype(1) << 16;

// Decodes the file's bytes piece by piece and hands each complete line to the reader. Each
// piece is decoded only up to its last line end byte and the rest waits for the next piece: a
// multi-byte sequence is then never left open at the end of a decode, where Qt's UTF-8 decoder
// would swallow a CR or LF that starts the next piece after an invalid sequence, merging lines.
class LineFeed {
  public:
    LineFeed(TextEncoding encoding, LogLineReader& reader) : decoder_(encoding), reader_(reader) {}

    void feed(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            const QByteArrayView piece = bytes.first(std::min(bytes.size(), kPieceSize));
            bytes = bytes.sliced(piece.size());
            const qsizetype cut = EndOfLastLine(piece);
            if (cut == 0) {
                waiting_.append(piece);  // no line ends here: a long line goes on
                continue;
            }
            if (waiting_.isEmpty()) {
                decodeLines(piece.first(cut));
            } else {
                waiting_.append(piece.first(cut));
                decodeLines(waiting_);
                waiting_.clear();
            }
            waiting_.append(piece.sliced(cut));
        }
    }

    // The last line, when the file does not end with a line end.
    void finish() {
        decodeLines(waiting_);
        waiting_.clear();
        splitter_.finish([this](QStringView line) { reader_.readLine(line); });
    }

  private:
    // Offset just after the first CR or LF of `bytes`; 0 when there is none.
    static qsizetype EndOfFirstLine(QByteArrayView bytes) {
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' || bytes[i] == '\r') {
                return i + 1;
            }
        }
        return 0;
    }

    // Offset just after the last CR or LF of `bytes`; 0 when there is none.
    static qsizetype EndOfLastLine(QByteArrayView bytes) {
        for (qsizetype i = bytes.size(); i > 0; --i) {
            if (bytes[i - 1] == '\n' || bytes[i - 1] == '\r') {
                return i;
            }
        }
        return 0;
    }

    // Decodes whole lines a stretch of at most about kDecodeSize bytes at a time, so that the
    // decoded text stays small enough to be read again from the processor's cache.
    void decodeLines(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
            qsizetype cut = bytes.size();
            if (cut > kDecodeSize) {
                cut = EndOfLastLine(bytes.first(kDecodeSize));
                if (cut == 0) {  // a line longer than the stretch: up to its end
                    const qsizetype end = EndOfFirstLine(bytes.sliced(kDecodeSize));
                    cut = end == 0 ? bytes.size() : kDecodeSize + end;
                }
            }
            splitter_.feed(decoder_.decode(bytes.first(cut)),
                           [this](QStringView line) { reader_.readLine(line); });
            bytes = bytes.sliced(cut);
        }
    }

    TextDecoder decoder_;
    LineSplitter splitter_;
    LogLineReader& reader_;
    QByteArray waiting_;  // bytes after the last line end seen so far
};

// A failed read or seek; the system's error number is taken at once, before anything else
// can change it (a device that is not a file has none).
[[noreturn]] void ThrowReadError(const QString& fileName, const QIODevice& device) {
    const int error = qobject_cast<const QFile*>(&device) ? errno : 0;
    throw FileReadError(fileName, device.errorString(), error);
}

// Reads `device` in pieces of piece.size() bytes and hands each to `take`, until the end of the
// data or until `take` returns false. A failed read raises FileReadError.
template <typename Take>
void ReadPieces(QIODevice& device, const QString& fileName, QByteArray& piece, Take take) {
    for (;;) {
        const qint64 got = device.read(piece.data(), piece.size());
        if (got < 0) {
            ThrowReadError(fileName, device);
        }
        if (got == 0 || !take(QByteArrayView(piece.constData(), got))) {
            return;
        }
    }
}

// Reads a device that cannot seek back (a pipe) whole, then loads the bytes.
void LoadSequential(QIODevice& device, const QString& fileName, LogLineReader& reader) {
    QByteArray bytes;
    QByteArray piece(kPieceSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = device.read(piece.data(), piece.size());
        if (got < 0) {
            // Keep the complete lines that arrived before the error.
            const TextEncoding encoding = DetectTextEncoding(bytes);
            LineFeed(encoding, reader)
                .feed(QByteArrayView(bytes).sliced(
                    std::min(bytes.size(), ByteOrderMarkSize(encoding))));
            ThrowReadError(fileName, device);
        }
        if (got == 0) {
            break;
        }
        bytes.append(piece.constData(), got);
    }
    const TextEncoding encoding = DetectTextEncoding(bytes);
    LineFeed feed(encoding, reader);
    feed.feed(QByteArrayView(bytes).sliced(std::min(bytes.size(), ByteOrderMarkSize(encoding))));
    feed.finish();
}

// Reads a file in two passes: the first only as far as needed to tell the encoding (for a
// Windows-1251 file with Russian text, the first few lines), the second decodes and loads it.
void LoadSeekable(QIODevice& device, const QString& fileName, LogLineReader& reader) {
    // A small file needs no full-sized piece; a size of 0 may just mean "unknown" (/proc).
    const qint64 pieceSize = std::clamp<qint64>(device.size(), 4096, kPieceSize);
    QByteArray piece(pieceSize, Qt::Uninitialized);
    EncodingSniffer sniffer;  // undecided before its first bytes
    ReadPieces(device, fileName, piece, [&sniffer](QByteArrayView bytes) {
        sniffer.feed(bytes);
        return !sniffer.decided();
    });
    const TextEncoding encoding = sniffer.verdict();
    if (!device.seek(ByteOrderMarkSize(encoding))) {
        ThrowReadError(fileName, device);
    }

    reader.expectFileSize(device.size());
    LineFeed feed(encoding, reader);
    ReadPieces(device, fileName, piece, [&feed](QByteArrayView bytes) {
        feed.feed(bytes);
        return true;
    });
    feed.finish();
}

// Loads an open device, seekable or not, then closes it.
void LoadOpenDevice(QIODevice& device, const QString& fileName, LogLineReader& reader) {
    if (device.isSequential()) {
        LoadSequential(device, fileName, reader);
    } else {
        LoadSeekable(device, fileName, reader);
    }
    device.close();
    reader.finish();
}

}  // namespace

void PuskFile(LogData& data, LoadSummary& summary, const QString& fileName, QIODevice& device,
              LoadListener* listener) {
    LogLineReader reader(data, summary, listener);
    reader.prepare(fileName);
    if (!device.open(QIODevice::ReadOnly)) {
        ThrowReadError(fileName, device);
    }
    LoadOpenDevice(device, fileName, reader);
}

void PuskFile(LogData& data, LoadSummary& summary, const QString& fileName,
              LoadListener* listener) {
    LogLineReader reader(data, summary, listener);
    reader.prepare(fileName);
    const files::OpenedFile opened = files::OpenRegularFile(fileName);
    if (opened.descriptor < 0) {
        const QString reason = opened.error != 0
                                   ? QString::fromLocal8Bit(std::strerror(opened.error))
                                   : QStringLiteral("not a regular file");
        throw FileReadError(fileName, reason, opened.error, opened.kind);
    }
    QFile file;
    if (!file.open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        files::CloseDescriptor(opened.descriptor);
        ThrowReadError(fileName, file);
    }
    LoadOpenDevice(file, fileName, reader);
}

void PuskBytes(LogData& data, LoadSummary& summary, const QString& fileName, QByteArrayView bytes,
               LoadListener* listener) {
    LogLineReader reader(data, summary, listener);
    reader.prepare(fileName);
    const TextEncoding encoding = DetectTextEncoding(bytes);
    LineFeed feed(encoding, reader);
    feed.feed(bytes.sliced(std::min(bytes.size(), ByteOrderMarkSize(encoding))));
    feed.finish();
    reader.finish();
}

}  // namespace qorv
