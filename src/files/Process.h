#pragma once

#include <QStringList>

#include <cstdio>

// The running program's arguments and standard streams, as each system gives them.
namespace qorv::files {

// The arguments after the program's name. On Linux each is decoded as a file name (a name that
// is not UTF-8 still names its file); on Windows they are the UTF-16 command line as Windows
// splits it (the char** argv there is lossy, in the ANSI code page).
QStringList ProgramArguments(int argc, char** argv);

// Standard input, output and error that the program was started without (`>&-`) are taken by
// the null device at once: otherwise the first file the program opens would get the descriptor
// and receive what is meant for the terminal. On Windows the three are put into binary mode.
// Returns whether standard output was closed.
bool TakeClosedStandardStreams();

// A standard output closed by its reader makes writes fail (reported as such) instead of ending
// the process in the middle of a save. Windows has no such signal: the write fails there anyway.
void IgnoreBrokenPipes();

// Whether `stream` is a terminal (a console on Windows).
bool IsTerminal(std::FILE* stream);

// Text written to a Windows console is shown as UTF-8 (the program writes UTF-8 everywhere)
// until the program ends, when the console gets its code page back; output to a file or a
// pipe is UTF-8 anyway. Nothing to do elsewhere.
void ShowUtf8OnConsole();

}  // namespace qorv::files
