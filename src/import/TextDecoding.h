#pragma once

#include <QByteArrayView>
#include "files/CodePage1251.h"

#include <QStringDecoder>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace qorv {

// How the bytes of a logger file are turned into text. The read-out program writes
// Windows-1251; users on Linux often convert the file to UTF-8, with or without a byte order
// mark.
enum class TextEncoding {
    Windows1251,
    Utf8,         // valid UTF-8 without byte order mark
    Utf8WithBom,  // starts with EF BB BF; the mark itself is not text
};

// Decides the encoding of a byte stream that may arrive in pieces:
//   - a leading UTF-8 byte order mark means UTF-8;
//   - otherwise the bytes are UTF-8 only when the whole stream is valid UTF-8 and holds at least
//     one multi-byte sequence (plain ASCII reads the same either way);
//   - everything else is Windows-1251.
// A Windows-1251 file with Cyrillic text is invalid UTF-8 within its first few letters, so the
// sniffer usually decides long before the end; `decided()` says when more bytes cannot change
// the verdict.
//
//     EncodingSniffer sniffer;
//     while (!sniffer.decided() && readChunk(chunk)) sniffer.feed(chunk);
//     TextEncoding encoding = sniffer.verdict();
class EncodingSniffer {
  public:
    void feed(QByteArrayView bytes);
    bool decided() const { return hasBom_ || invalid_; }
    // The encoding, assuming the stream has ended.
    TextEncoding verdict() const;

  private:
    void feedUtf8(const unsigned char* p, const unsigned char* end);

    unsigned char head_[3] = {};
    int headSize_ = 0;
    bool hasBom_ = false;
    bool invalid_ = false;
    bool sawMultiByte_ = false;
    // Inside a multi-byte sequence: continuation bytes still expected and the allowed range of
    // the next one (narrower than 80..BF right after some lead bytes, which rules out overlong
    // forms, surrogates and code points above U+10FFFF).
    int pending_ = 0;
    unsigned char nextLow_ = 0x80;
    unsigned char nextHigh_ = 0xBF;
};

// The encoding of a whole byte sequence held in memory.
TextEncoding DetectTextEncoding(QByteArrayView bytes);

// Length of the byte order mark at the start of a stream of this encoding (0 or 3).
qsizetype ByteOrderMarkSize(TextEncoding encoding);

// Decodes a byte stream, piece by piece, into UTF-16 text. Windows-1251 goes through the
// system's converter (files::CodePage1251; throws files::MissingCodePage where there is none);
// UTF-8 through Qt's own decoder. A multi-byte sequence split between two
// pieces is decoded whole. The byte order mark must already be skipped by the caller.
class TextDecoder {
  public:
    explicit TextDecoder(TextEncoding encoding);
    // The text of `bytes`; the view stays valid until the next call.
    QStringView decode(QByteArrayView bytes);

  private:
    std::optional<files::CodePage1251> codePage_;  // set for Windows-1251
    QStringDecoder utf8_{QStringDecoder::Utf8};
    std::vector<char16_t> buffer_;
};

}  // namespace qorv
