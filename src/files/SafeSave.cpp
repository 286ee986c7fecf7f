#include "files/SafeSave.h"

#include "files/FileName.h"
#include "files/Interruption.h"
#include "files/SystemSave.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

namespace qorv::files {

namespace {

// More numbered names than anyone keeps in one folder; past it the save gives up.
constexpr int kMaxNumber = 1000000;

}  // namespace

FileSystemError::FileSystemError(const QString& name, int error)
    : std::runtime_error(EncodeFileName(name).toStdString() + ": " + std::strerror(error)),
      name_(name),
      error_(error) {}

QString TemporaryNameIn(const QString& folder) {
    const quint64 random = QRandomGenerator::system()->generate64();
    QString name = folder;
    if (!name.endsWith(u'/')) {
        name += u'/';
    }
    return name + QStringLiteral(".qorv-pr-%1.tmp").arg(random, 16, 16, QChar(u'0'));
}

QString NumberedName(const QString& wanted, int n) {
    const qsizetype slash = wanted.lastIndexOf(u'/');
    const qsizetype dot = wanted.lastIndexOf(u'.');
    const qsizetype cut = dot > slash + 1 ? dot : wanted.size();
    return wanted.left(cut) + QStringLiteral("_%1").arg(n) + wanted.mid(cut);
}

QString PublishNewFile(const QString& temporary, const QString& wanted) {
    for (int n = 1; n <= kMaxNumber; ++n) {
        const QString candidate = n == 1 ? wanted : NumberedName(wanted, n);
        const int error = system::RenameWithoutReplacing(temporary, candidate);
        if (error == 0) {
            ForgetTemporaryFile(temporary);
            system::SyncFolderOf(candidate);
            return candidate;
        }
        if (error != EEXIST) {
            throw FileSystemError(candidate, error);
        }
    }
    throw FileSystemError(wanted, EEXIST);
}

}  // namespace qorv::files
