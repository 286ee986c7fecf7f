#include "ui/SettingsFile.h"

#include "files/CodePage1251.h"
#include "files/FileName.h"
#include "files/SafeSave.h"
#include "import/TextDecoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace qorv::ui {

namespace {

const QString kSaveDirectoryKey = QStringLiteral("Директория сохранения");
const QString kSourceFileKey = QStringLiteral("Исходный файл");

// A line holds at most this many characters; the rest of a longer line is skipped.
constexpr int kMaxLineCharacters = 180;

// Code units of the first `count` characters of `text` (all of it when shorter). A character
// outside the Basic Multilingual Plane is one character of two code units.
qsizetype UnitsOfCharacters(QStringView text, qsizetype count) {
    qsizetype i = 0;
    for (; count > 0 && i < text.size(); --count) {
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
    }
    return i;
}

// The entry of one line (already without its line end), if it is one.
std::optional<SettingsEntry> EntryOf(QStringView line) {
    line = line.first(UnitsOfCharacters(line, kMaxLineCharacters));
    for (const auto& [key, name] : {std::pair{SettingsEntry::SaveDirectory, &kSaveDirectoryKey},
                                    std::pair{SettingsEntry::SourceFile, &kSourceFileKey}}) {
        if (line.startsWith(*name)) {
            // The value starts after the key and the one character where "=" belongs, whatever
            // stands there.
            const QStringView value = line.sliced(UnitsOfCharacters(line, name->size() + 1));
            return SettingsEntry{key, value.toString()};
        }
    }
    return std::nullopt;
}

// `text` in Windows-1251 when every character of it has a place there, else nothing.
// Without a converter the file is written as UTF-8, which reads back the same.
std::optional<QByteArray> InWindows1251(const QString& text) {
    try {
        return files::CodePage1251().encode(text);
    } catch (const files::MissingCodePage&) {
        return std::nullopt;
    }
}

// The whole content of a regular file, or nothing when it cannot be opened or read.
std::optional<QByteArray> ReadWholeFile(const QString& path) {
    const int fd = ::open(files::EncodeFileName(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray content;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            return std::nullopt;
        }
        content.append(buffer, got);
    }
    ::close(fd);
    return content;
}

// Creates `folder` and the folders above it that are missing.
void MakeFolders(const QString& folder) {
    const QByteArray path = files::EncodeFileName(folder);
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end == path.size() || path[end] == '/') {
            const QByteArray part = path.first(end);
            if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
                throw files::FileSystemError(files::DecodeFileName(part), errno);
            }
        }
    }
}

// Writes all of `bytes` to `fd` and closes it; 0 or the first error.
int WriteAndClose(int fd, const QByteArray& bytes) {
    int error = 0;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        done += put;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    return error;
}

// Puts `bytes` in the file `target` through a synced temporary file beside it.
void WriteAtomically(const QString& target, const QByteArray& bytes) {
    QString temporary;
    const int fd = files::CreateTemporaryFile(files::DirectoryOf(target), temporary);
    if (fd < 0) {
        throw files::FileSystemError(temporary, errno);
    }
    try {
        if (const int error = WriteAndClose(fd, bytes)) {
            throw files::FileSystemError(temporary, error);
        }
        files::SyncToDisk(temporary);
        files::ReplaceFile(temporary, target);
    } catch (...) {
        files::RemoveQuietly(temporary);
        throw;
    }
}

}  // namespace

bool IsInstalledProgramFolder(const QString& folder) {
#ifdef Q_OS_WIN
    // Program Files (and its 32-bit twin), where the installer puts the program.
    const QString path = QDir::fromNativeSeparators(folder) + u'/';
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString root = QDir::fromNativeSeparators(qEnvironmentVariable(variable));
        if (!root.isEmpty() && path.startsWith(root + u'/', Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
#else
    return folder.startsWith(QStringLiteral("/usr/"));
#endif
}

SettingsFileLocations DefaultSettingsFileLocations() {
    const QString name = QString::fromLatin1(kSettingsFileName);
    SettingsFileLocations locations;
    // An installed program (under /usr, the package manager's) keeps no file of its own
    // beside it, even for an administrator who could write there.
    if (const QString folder = QCoreApplication::applicationDirPath();
        !folder.isEmpty() && !IsInstalledProgramFolder(folder)) {
        locations.besideProgram = folder + u'/' + name;
    }
#ifdef Q_OS_WIN
    // %APPDATA%\Qorv_Pr: the user's own roaming settings.
    const auto userLocation = QStandardPaths::AppDataLocation;
#else
    const auto userLocation = QStandardPaths::AppConfigLocation;
#endif
    if (const QString folder = QStandardPaths::writableLocation(userLocation); !folder.isEmpty()) {
        locations.userConfig = folder + u'/' + name;
    }
    return locations;
}

QByteArray SettingsFileBytes(const QString& saveDirectory, const QString& sourceFile) {
    const QString rule(33, u'#');
    const QString crlf = QStringLiteral("\r\n");
    const QString text = rule + crlf + QStringLiteral("#Файл настроек программы Qorv_Pr#") + crlf +
                         rule + crlf + u' ' + crlf + kSaveDirectoryKey + u'=' + saveDirectory +
                         crlf + kSourceFileKey + u'=' + sourceFile + crlf;
    if (std::optional<QByteArray> bytes = InWindows1251(text)) {
        return *std::move(bytes);
    }
    return text.toUtf8();
}

std::vector<SettingsEntry> ParseSettingsFile(QByteArrayView bytes) {
    const TextEncoding encoding = DetectTextEncoding(bytes);
    TextDecoder decoder(encoding);
    const QStringView text = decoder.decode(bytes.sliced(ByteOrderMarkSize(encoding)));
    std::vector<SettingsEntry> entries;
    // Lines end in LF, normally after a CR, which is then no part of the line.
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            end = text.size();
        }
        QStringView line = text.sliced(start, end - start);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (std::optional<SettingsEntry> entry = EntryOf(line)) {
            entries.push_back(*std::move(entry));
        }
        start = end + 1;
    }
    return entries;
}

std::optional<std::vector<SettingsEntry>> ReadSettingsFile(const SettingsFileLocations& locations) {
    for (const QString* path : {&locations.besideProgram, &locations.userConfig}) {
        if (path->isEmpty()) {
            continue;
        }
        if (const std::optional<QByteArray> content = ReadWholeFile(*path)) {
            return ParseSettingsFile(*content);
        }
    }
    return std::nullopt;
}

QString WriteSettingsFile(const SettingsFileLocations& locations, const QString& saveDirectory,
                          const QString& sourceFile) {
    const QByteArray bytes = SettingsFileBytes(saveDirectory, sourceFile);
    std::optional<files::FileSystemError> besideFailure;
    if (!locations.besideProgram.isEmpty()) {
        try {
            WriteAtomically(locations.besideProgram, bytes);
            return locations.besideProgram;
        } catch (const files::FileSystemError& error) {
            // The program's folder is often not the user's to write (/usr/bin, a read-only
            // medium); the user's configuration folder takes the file then.
            besideFailure = error;
        }
    }
    if (locations.userConfig.isEmpty()) {
        throw besideFailure ? *besideFailure : files::FileSystemError(QString(), ENOENT);
    }
    MakeFolders(files::DirectoryOf(locations.userConfig));
    WriteAtomically(locations.userConfig, bytes);
    return locations.userConfig;
}

}  // namespace qorv::ui
