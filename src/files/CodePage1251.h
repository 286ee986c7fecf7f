#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#ifndef _WIN32
#include <QStringDecoder>
#endif

#include <optional>
#include <stdexcept>

// Windows-1251, the Cyrillic code page the logger's read-out program and older settings files
// write, through the system's own converter: Qt's ICU-backed codec on Linux, the code-page API
// (code page 1251 itself, never the user's ANSI code page) on Windows. The code page maps each
// byte to one character, so a text may be converted piece by piece.
namespace qorv::files {

// The system has no Windows-1251 converter (a Qt built without ICU): decoding anyway would turn
// every Cyrillic keyword into something else and empty the file without a word.
class MissingCodePage : public std::runtime_error {
  public:
    MissingCodePage();
};

class CodePage1251 {
  public:
    // Throws MissingCodePage when the system cannot convert.
    CodePage1251();

    // Writes the characters of `bytes` to `out`, which has room for bytes.size() characters;
    // returns how many were written.
    qsizetype decode(QByteArrayView bytes, QChar* out);

    // `text` in the code page when every character of it has a place there, else nothing.
    std::optional<QByteArray> encode(QStringView text) const;

#ifndef _WIN32
  private:
    QStringDecoder decoder_;  // stateless for a single-byte code page: kept for its set-up
#endif
};

}  // namespace qorv::files
