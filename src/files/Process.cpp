#include "files/Process.h"

#include "files/FileName.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h before it
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdlib>
#else
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#endif

namespace qorv::files {

#ifdef _WIN32

QStringList ProgramArguments(int, char**) {
    QStringList arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments << QString::fromWCharArray(wide[i]);
    }
    ::LocalFree(wide);
    return arguments;
}

bool TakeClosedStandardStreams() {
    // The program writes its own line ends and reads its workers' bytes as they are: no text
    // mode turning "\n" into "\r\n" (and a worker's "\r\n" into "\r\r\n").
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        ::_setmode(::_fileno(stream), _O_BINARY);
    }
    auto closed = [](int fd) { return ::_get_osfhandle(fd) < 0; };
    const bool outputClosed = closed(1);
    for (int fd = 0; fd <= 2; ++fd) {
        if (closed(fd)) {
            const int opened = ::_open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
            if (opened >= 0 && opened != fd) {
                ::_dup2(opened, fd);
                ::_close(opened);
            }
        }
    }
    return outputClosed;
}

void IgnoreBrokenPipes() {}

bool IsTerminal(std::FILE* stream) {
    DWORD mode = 0;
    return ::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))), &mode) !=
           0;
}

namespace {

UINT consoleCodePage = 0;

void RestoreConsoleCodePage() {
    if (consoleCodePage != 0) {
        ::SetConsoleOutputCP(consoleCodePage);
    }
}

}  // namespace

void ShowUtf8OnConsole() {
    if (!IsTerminal(stdout) && !IsTerminal(stderr)) {
        return;
    }
    const UINT current = ::GetConsoleOutputCP();
    if (current != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePage = current;
        std::atexit(RestoreConsoleCodePage);
    }
}

#else

QStringList ProgramArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << DecodeFileName(argv[i]);
    }
    return arguments;
}

bool TakeClosedStandardStreams() {
    const bool outputClosed = ::fcntl(STDOUT_FILENO, F_GETFD) == -1;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1) {
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        }
    }
    return outputClosed;
}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) != 0;
}

void ShowUtf8OnConsole() {}

#endif

}  // namespace qorv::files
