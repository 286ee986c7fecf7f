#include "files/CodePage1251.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QStringEncoder>
#endif

#include <algorithm>
#include <climits>

namespace qorv::files {

namespace {

constexpr char kName[] = "windows-1251";

}  // namespace

MissingCodePage::MissingCodePage()
    : std::runtime_error("the system has no converter for the Windows-1251 code page") {}

#ifdef _WIN32

constexpr UINT kCodePage = 1251;

CodePage1251::CodePage1251() {
    CPINFO info{};
    if (!::GetCPInfo(kCodePage, &info)) {
        throw MissingCodePage();
    }
}

qsizetype CodePage1251::decode(QByteArrayView bytes, QChar* out) {
    qsizetype written = 0;
    // The API counts in int: a larger piece goes in parts (a single-byte code page has no
    // sequence to split).
    while (!bytes.isEmpty()) {
        const int piece = int(std::min<qsizetype>(bytes.size(), INT_MAX / 2));
        const int got = ::MultiByteToWideChar(kCodePage, 0, bytes.data(), piece,
                                              reinterpret_cast<wchar_t*>(out + written), piece);
        if (got <= 0) {
            throw MissingCodePage();
        }
        written += got;
        bytes = bytes.sliced(piece);
    }
    return written;
}

std::optional<QByteArray> CodePage1251::encode(QStringView text) const {
    if (text.isEmpty()) {
        return QByteArray();
    }
    if (text.size() > INT_MAX / 2) {
        return std::nullopt;
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    QByteArray bytes(length, Qt::Uninitialized);
    BOOL usedDefault = FALSE;
    // No best-fit mappings: a character without its own place makes the text not fit.
    const int got = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length,
                                          bytes.data(), length, nullptr, &usedDefault);
    if (got != length || usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

#else

CodePage1251::CodePage1251() : decoder_(kName) {
    if (!decoder_.isValid()) {
        throw MissingCodePage();
    }
}

qsizetype CodePage1251::decode(QByteArrayView bytes, QChar* out) {
    return decoder_.appendToBuffer(out, bytes) - out;
}

std::optional<QByteArray> CodePage1251::encode(QStringView text) const {
    QStringEncoder encoder(kName);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

#endif

}  // namespace qorv::files
