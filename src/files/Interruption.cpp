#include "files/Interruption.h"

#include "files/FileName.h"

#include <array>
#include <atomic>
#include <cstring>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

namespace qorv::files {

namespace {

// A list slot: free, being filled or emptied by the program, or holding a name.
enum SlotState : int { Free, Busy, Held };

struct FileSlot {
    std::atomic<int> state{Free};
    char name[4096] = {};
};

// Saves in progress at once: a report's workbook and its PDF copy, in each of a few threads.
std::array<FileSlot, 32> temporaryFiles;
std::array<std::atomic<qint64>, 256> childProcesses{};

#ifdef Q_OS_LINUX
// Removes the files in the folder of `name` whose names begin with its name and a '.': the
// temporary files a library made of it (libzip writes "NAME.XXXXXX" and renames it to NAME).
// Only system calls, so that a signal handler may call it.
void RemoveOffspringOf(const char* name) {
    const char* slash = std::strrchr(name, '/');
    if (!slash) {
        return;
    }
    char folder[sizeof FileSlot::name];
    const std::size_t folderLength = slash == name ? 1 : std::size_t(slash - name);  // "/" kept
    std::memcpy(folder, name, folderLength);
    folder[folderLength] = '\0';
    const char* base = slash + 1;
    const std::size_t baseLength = std::strlen(base);
    const int directory = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        return;
    }
    alignas(8) char buffer[8192];
    for (;;) {
        const long read = ::syscall(SYS_getdents64, directory, buffer, sizeof buffer);
        if (read <= 0) {
            break;
        }
        for (long at = 0; at < read;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
            if (std::strncmp(entry->d_name, base, baseLength) == 0 &&
                entry->d_name[baseLength] == '.') {
                ::unlinkat(directory, entry->d_name, 0);
            }
            at += entry->d_reclen;
        }
    }
    ::close(directory);
}
#endif

#ifdef Q_OS_UNIX
// Async-signal-safe: reads the lists, unlink() and kill(), then the signal's own end.
void OnInterruption(int signal) {
    for (std::atomic<qint64>& child : childProcesses) {
        if (const qint64 id = child.load(); id > 0) {
            ::kill(static_cast<pid_t>(id), SIGTERM);
        }
    }
    for (FileSlot& slot : temporaryFiles) {
        if (slot.state.load() == Held) {
            ::unlink(slot.name);
#ifdef Q_OS_LINUX
            RemoveOffspringOf(slot.name);
#endif
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);  // delivered with its default action once the handler returns
}
#endif

}  // namespace

void CleanUpOnInterruption() {
#ifdef Q_OS_UNIX
    struct sigaction action = {};
    action.sa_handler = OnInterruption;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
#endif
}

void RememberTemporaryFile(const QString& name) {
    const QByteArray bytes = EncodeFileName(name);
    for (FileSlot& slot : temporaryFiles) {
        if (bytes.size() >= qsizetype(sizeof slot.name)) {
            return;
        }
        int expected = Free;
        if (slot.state.compare_exchange_strong(expected, Busy)) {
            std::memcpy(slot.name, bytes.constData(), std::size_t(bytes.size()) + 1);
            slot.state.store(Held);
            return;
        }
    }
}

void ForgetTemporaryFile(const QString& name) {
    const QByteArray bytes = EncodeFileName(name);
    for (FileSlot& slot : temporaryFiles) {
        int expected = Held;
        if (slot.state.load() == Held && std::strcmp(slot.name, bytes.constData()) == 0 &&
            slot.state.compare_exchange_strong(expected, Busy)) {
            slot.state.store(Free);
            return;
        }
    }
}

void RememberChildProcess(qint64 processId) {
    for (std::atomic<qint64>& child : childProcesses) {
        qint64 expected = 0;
        if (child.compare_exchange_strong(expected, processId)) {
            return;
        }
    }
}

void ForgetChildProcess(qint64 processId) {
    for (std::atomic<qint64>& child : childProcesses) {
        qint64 expected = processId;
        if (processId > 0 && child.compare_exchange_strong(expected, 0)) {
            return;
        }
    }
}

qint64 CurrentProcessId() {
#ifdef Q_OS_UNIX
    return ::getpid();
#else
    return 0;
#endif
}

void EndWithParent(qint64 parentId) {
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The parent may have ended between the fork and the line above.
    if (::getppid() != static_cast<pid_t>(parentId)) {
        ::_exit(128 + SIGTERM);  // not raise(): the handlers copied from the parent still hold
    }
#else
    Q_UNUSED(parentId);
#endif
}

}  // namespace qorv::files
