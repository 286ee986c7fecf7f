#include "files/FileName.h"

#include <QCoreApplication>

#ifdef _WIN32
#include "files/WindowsSystem.h"

#include <QDir>
#include <QFileInfo>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <vector>

namespace qorv::files {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) is held as U+DC00 + b

// The length of the valid UTF-8 sequence at the start of `bytes` and its code point; 0 when
// the bytes there are not valid UTF-8 (overlong forms, encoded surrogates and code points above
// U+10FFFF included).
int ValidSequence(QByteArrayView bytes, char32_t& codePoint) {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    int length = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        codePoint = b0 & 0x1F;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        codePoint = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        codePoint = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (b & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool IsEscapedByte(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

}  // namespace

QString DecodeFileName(QByteArrayView bytes) {
    QString name;
    name.reserve(bytes.size());
    while (!bytes.isEmpty()) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        if (b0 < 0x80) {
            name += QChar(b0);
            bytes = bytes.sliced(1);
            continue;
        }
        char32_t codePoint = 0;
        const int length = ValidSequence(bytes, codePoint);
        if (length == 0) {
            name += QChar(char16_t(kEscapeBase + b0));
            bytes = bytes.sliced(1);
            continue;
        }
        const char32_t text[] = {codePoint};
        name += QString::fromUcs4(text, 1);
        bytes = bytes.sliced(length);
    }
    return name;
}

QByteArray EncodeFileName(QStringView name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart) {
            bytes += name.sliced(runStart, end - runStart).toUtf8();
        }
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (IsEscapedByte(unit)) {
            flushRun(i);
            bytes += char(unit - kEscapeBase);
            runStart = i + 1;
        }
    }
    flushRun(name.size());
    return bytes;
}

QString DisplayFileName(QStringView name) {
    QString shown = name.toString();
    for (QChar& ch : shown) {
        if (IsEscapedByte(ch.unicode())) {
            ch = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

#ifdef _WIN32

QByteArray LibraryFileName(const QString& name) {
    return QString::fromStdWString(windows::ApiName(name)).toUtf8();
}

// Windows takes both "\\" and "/" between the parts of a name; the program writes "/".

QString CurrentDirectory() {
    return QDir::fromNativeSeparators(QDir::currentPath());
}

QString AbsoluteFileName(const QString& name) {
    // Drive letters, "\\server\share" and names relative to the current drive's root included.
    return QDir::fromNativeSeparators(QFileInfo(name).absoluteFilePath());
}

QString DirectoryOf(const QString& name) {
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash < 0) {
        // "C:name" is in the current folder of drive C:.
        return name.size() >= 2 && name[1] == u':' ? name.left(2) : QStringLiteral(".");
    }
    if (slash == 0 || (slash == 2 && name[1] == u':')) {
        return name.left(slash + 1);  // "/" or "C:/"
    }
    return name.left(slash);
}

QString LastNameOf(const QString& name) {
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash < 0 && name.size() >= 2 && name[1] == u':') {
        return name.mid(2);
    }
    return name.mid(slash + 1);
}

#else

QByteArray LibraryFileName(const QString& name) {
    return EncodeFileName(name);
}

QString CurrentDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) {
            return DecodeFileName(QByteArrayView(buffer.data()));
        }
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            return QString();
        }
        buffer.resize(buffer.size() * 2);
    }
}

QString AbsoluteFileName(const QString& name) {
    if (name.startsWith(u'/')) {
        return name;
    }
    QString directory = CurrentDirectory();
    if (!directory.endsWith(u'/')) {
        directory += u'/';
    }
    return name.startsWith(QLatin1String("./")) ? directory + name.mid(2) : directory + name;
}

QString DirectoryOf(const QString& name) {
    const qsizetype slash = name.lastIndexOf(u'/');
    if (slash < 0) {
        return QStringLiteral(".");
    }
    return slash == 0 ? QStringLiteral("/") : name.left(slash);
}

QString LastNameOf(const QString& name) {
    return name.mid(name.lastIndexOf(u'/') + 1);
}

#endif

QString ProgramPath() {
#ifdef Q_OS_LINUX
    static const QString kSelf = QStringLiteral("/proc/self/exe");
    if (::access("/proc/self/exe", X_OK) == 0) {
        return kSelf;
    }
#endif
    return QCoreApplication::applicationFilePath();
}

}  // namespace qorv::files
